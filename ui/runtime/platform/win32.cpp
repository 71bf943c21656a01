// The registry, the file search and the program start of Windows.
#include "runtime/platform/files.h"
#include "runtime/platform/registry.h"
#include "runtime/platform/storage.h"

#include <windows.h>

namespace clearmark::platform {
namespace {

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

class Win32FileSearch final : public FileSearch {
public:
    std::string find(const std::string& path) override {
        if (isInvalidFileName(path))
            throw PlatformError("invalid file name: " + path);
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (GetLastError() == ERROR_INVALID_NAME)
                throw PlatformError("invalid file name: " + path);
            return {};
        }
        constexpr DWORD excluded =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        return (attributes & excluded) != 0 ? std::string() : fileNameOf(path);
    }
};

class Win32ProgramStarter final : public ProgramStarter {
public:
    void start(const std::string& path, int showCommand) override {
        if (path.empty())
            throw PlatformError("no program to start");
        // The path is the program file itself: CreateProcess does not search for it or split
        // it at blanks, so "C:\Program Files\x.exe" can never start "C:\Program.exe".
        std::string commandLine = "\"" + path + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process))
            throw PlatformError("cannot start " + path);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
};

} // namespace

std::unique_ptr<Registry> systemRegistry() {
    return std::make_unique<Win32Registry>();
}

std::unique_ptr<FileSearch> systemFileSearch() {
    return std::make_unique<Win32FileSearch>();
}

std::unique_ptr<ProgramStarter> systemProgramStarter() {
    return std::make_unique<Win32ProgramStarter>();
}

} // namespace clearmark::platform
