#pragma once

// Helpers for the tests that use the real Win32 registry, files and processes.
#include "runtime/platform/registry.h"

#include <windows.h>

#include <string>

namespace clearmark::win32_test {

inline constexpr platform::KeyRoot kHkeyCurrentUser = 0x80000001;

inline HKEY rootKey(platform::KeyRoot root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

// Writes a value with RegSetValueExA, creating the key; `data` is stored byte for byte.
inline void writeValue(platform::KeyRoot root, const std::string& key, const std::string& name,
                       DWORD type, const std::string& data) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(rootKey(root), key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + key);
    const LONG status =
        RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot write " + name);
}

inline void deleteKey(platform::KeyRoot root, const std::string& key) {
    RegDeleteTreeA(rootKey(root), key.c_str());
    RegDeleteKeyA(rootKey(root), key.c_str());
}

// Counts the keys the binding opened and closed.
class CountingRegistry final : public platform::Registry {
public:
    long openKey(platform::KeyRoot root, const std::string& keyName, std::uint32_t access,
                 platform::KeyHandle& key) override {
        const long status = real_->openKey(root, keyName, access, key);
        opened += status == ERROR_SUCCESS ? 1 : 0;
        return status;
    }
    long queryValue(platform::KeyHandle key, const std::string& valueName, std::uint32_t& type,
                    unsigned char* data, std::uint32_t& length) override {
        return real_->queryValue(key, valueName, type, data, length);
    }
    long closeKey(platform::KeyHandle key) override {
        closed += key != 0 ? 1 : 0;
        return real_->closeKey(key);
    }
    int opened = 0;
    int closed = 0;

private:
    std::unique_ptr<platform::Registry> real_ = platform::systemRegistry();
};

inline std::string directoryOfThisProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path);
    return text.substr(0, text.find_last_of('\\'));
}

inline bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Waits up to ten seconds for a file to appear.
inline bool appears(const std::string& path) {
    for (int i = 0; i < 200 && !exists(path); ++i)
        Sleep(50);
    return exists(path);
}

} // namespace clearmark::win32_test
