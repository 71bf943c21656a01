#include "registry.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace clearmark::platform {
namespace {

#ifdef _WIN32

HKEY toHkey(KeyRoot root) {
    // Predefined roots are sign-extended 32-bit values.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

class Win32Registry final : public Registry {
public:
    long openKey(KeyRoot root, const std::string& keyName, std::uint32_t access,
                 KeyHandle& key) override {
        HKEY opened = nullptr;
        const LONG status = RegOpenKeyExA(toHkey(root), keyName.c_str(), 0, access, &opened);
        if (status == ERROR_SUCCESS)
            key = reinterpret_cast<KeyHandle>(opened);
        return status;
    }

    long queryValue(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                    unsigned char* data, std::uint32_t& length) override {
        DWORD valueType = 0;
        DWORD size = length;
        const LONG status = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(),
                                             nullptr, &valueType, data, &size);
        type = valueType;
        length = size;
        return status;
    }

    long closeKey(KeyHandle key) override { return RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

#else

// No registry on this platform: every key is missing.
class AbsentRegistry final : public Registry {
public:
    long openKey(KeyRoot /*root*/, const std::string& /*keyName*/, std::uint32_t /*access*/,
                 KeyHandle& /*key*/) override {
        return kErrorFileNotFound;
    }
    long queryValue(KeyHandle /*key*/, const std::string& /*valueName*/, std::uint32_t& /*type*/,
                    unsigned char* /*data*/, std::uint32_t& /*length*/) override {
        return kErrorFileNotFound;
    }
    long closeKey(KeyHandle /*key*/) override { return kErrorSuccess; }
};

#endif

} // namespace

std::unique_ptr<Registry> systemRegistry() {
#ifdef _WIN32
    return std::make_unique<Win32Registry>();
#else
    return std::make_unique<AbsentRegistry>();
#endif
}

} // namespace clearmark::platform
