#pragma once

// A registry in memory that answers as Win32 does: typed byte data, ERROR_MORE_DATA when the
// data does not fit the caller's buffer, the byte count including a string's terminating
// zero when it was stored with one. It records every call.
#include "runtime/platform/registry.h"

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace clearmark::testing_support {

class MemoryRegistry final : public platform::Registry {
public:
    static constexpr long kErrorAccessDenied = 5;
    static constexpr long kErrorInvalidHandle = 6;

    void set(const std::string& key, const std::string& name, std::uint32_t type, std::string data,
             platform::KeyRoot root = platform::kHkeyLocalMachine) {
        keys_[{root, key}][name] = {type, std::move(data)};
    }
    void setString(const std::string& key, const std::string& name, const std::string& text,
                   bool withTerminatingZero = true) {
        set(key, name, platform::kRegSz, withTerminatingZero ? text + '\0' : text);
    }
    void setDword(const std::string& key, const std::string& name, std::uint32_t value) {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        set(key, name, platform::kRegDword, bytes);
    }
    void addKey(const std::string& key, platform::KeyRoot root = platform::kHkeyLocalMachine) {
        keys_[{root, key}];
    }
    // Opening this key is refused, as for a user without the access asked for.
    void refuse(const std::string& key) { refused_.insert(key); }

    long openKey(platform::KeyRoot root, const std::string& keyName, std::uint32_t access,
                 platform::KeyHandle& key) override {
        calls.push_back("open " + keyName);
        accesses.push_back(access);
        if (refused_.count(keyName) != 0)
            return kErrorAccessDenied;
        const auto it = keys_.find({root, keyName});
        if (it == keys_.end())
            return platform::kErrorFileNotFound;
        key = nextHandle_++;
        open_[key] = &it->second;
        return platform::kErrorSuccess;
    }

    long queryValue(platform::KeyHandle key, const std::string& valueName, std::uint32_t& type,
                    unsigned char* data, std::uint32_t& length) override {
        calls.push_back("query " + valueName);
        const auto handle = open_.find(key);
        if (handle == open_.end())
            return kErrorInvalidHandle;
        const auto value = handle->second->find(valueName);
        if (value == handle->second->end())
            return platform::kErrorFileNotFound;
        const std::string& bytes = value->second.data;
        type = value->second.type;
        if (bytes.size() > length) {
            length = static_cast<std::uint32_t>(bytes.size());
            return platform::kErrorMoreData;
        }
        std::memcpy(data, bytes.data(), bytes.size());
        length = static_cast<std::uint32_t>(bytes.size());
        return platform::kErrorSuccess;
    }

    long closeKey(platform::KeyHandle key) override {
        calls.push_back("close " + std::to_string(key));
        return open_.erase(key) == 1 ? platform::kErrorSuccess : kErrorInvalidHandle;
    }

    std::size_t openKeys() const { return open_.size(); }

    std::vector<std::string> calls;
    std::vector<std::uint32_t> accesses;

private:
    struct Value {
        std::uint32_t type;
        std::string data;
    };
    using Values = std::map<std::string, Value>;
    std::map<std::tuple<platform::KeyRoot, std::string>, Values> keys_;
    std::map<platform::KeyHandle, Values*> open_;
    std::set<std::string> refused_;
    platform::KeyHandle nextHandle_ = 0x100;
};

} // namespace clearmark::testing_support
