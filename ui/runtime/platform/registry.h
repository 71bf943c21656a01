#pragma once

// The registry as the system-information launcher reads it: open a key, query a value,
// close the key, each answering with a Win32 status code. Standard C++ only.
#include <cstdint>
#include <memory>
#include <string>

namespace clearmark::platform {

using KeyRoot = std::uint32_t;    // a predefined root such as HKEY_LOCAL_MACHINE
using KeyHandle = std::uintptr_t; // 0 when no key is open

inline constexpr KeyRoot kHkeyLocalMachine = 0x80000002;
// Read access (KEY_READ): what reading a value needs, and what an ordinary user is granted.
inline constexpr std::uint32_t kKeyRead = 0x20019;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorMoreData = 234;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

class Registry {
public:
    virtual ~Registry() = default;
    // RegOpenKeyExA: on success sets the handle and answers 0.
    virtual long openKey(KeyRoot root, const std::string& keyName, std::uint32_t access,
                         KeyHandle& key) = 0;
    // RegQueryValueExA into a buffer of `length` bytes: on success sets the type and the
    // number of bytes written; data that does not fit answers ERROR_MORE_DATA.
    virtual long queryValue(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                            unsigned char* data, std::uint32_t& length) = 0;
    // RegCloseKey, also called with a handle of 0.
    virtual long closeKey(KeyHandle key) = 0;
};

// The machine's registry: advapi32 on Windows. Elsewhere there is no registry, and every
// key answers "not found".
std::unique_ptr<Registry> systemRegistry();

} // namespace clearmark::platform
