// The user's files on Windows: wide paths throughout, CreateFileW, FlushFileBuffers and
// MoveFileExW with replace and write-through.
#include "runtime/platform/storage.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace clearmark::platform {
namespace {

std::wstring wide(std::string_view text) {
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring result(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), result.data(), length);
    return result;
}

std::string narrow(std::wstring_view text) {
    if (text.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string result(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), result.data(), length, nullptr,
                        nullptr);
    return result;
}

FileFailure failureOf(DWORD error) {
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(message, length) : std::wstring();
    LocalFree(message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        return {"Windows error " + std::to_string(error)};
    return {narrow(text)};
}

FileFailure lastFailure() {
    return failureOf(GetLastError());
}

// Closes the handle when it goes.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

std::optional<FileFailure> makeFolders(const std::wstring& path) {
    for (std::size_t at = 0; at <= path.size(); ++at) {
        if (at < path.size() && path[at] != L'\\' && path[at] != L'/')
            continue;
        const std::wstring made = path.substr(0, at);
        // Skip the drive ("C:") and the empty start of a UNC name.
        if (made.empty() || made.back() == L':' || made.back() == L'\\')
            continue;
        if (!CreateDirectoryW(made.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return lastFailure();
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastFailure();
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return failureOf(ERROR_DIRECTORY);
    return std::nullopt;
}

class Win32Storage final : public Storage {
public:
    std::variant<std::string, FileFailure> read(const std::string& path,
                                                std::size_t limit) override {
        Handle file(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE)
            return lastFailure();
        std::string bytes;
        std::vector<char> chunk(std::size_t{64} * 1024);
        while (bytes.size() <= limit) {
            DWORD got = 0;
            if (!ReadFile(file.get(), chunk.data(), DWORD(chunk.size()), &got, nullptr))
                return lastFailure();
            if (got == 0)
                break;
            bytes.append(chunk.data(), got);
        }
        if (bytes.size() > limit + 1)
            bytes.resize(limit + 1);
        return bytes;
    }

    std::optional<FileFailure> write(const std::string& path, std::string_view bytes) override {
        const std::wstring target = wide(path);
        const std::wstring temporary = target + L".new";
        Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE)
            return lastFailure();
        bool done = true;
        while (done && !bytes.empty()) {
            DWORD written = 0;
            done = WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                   written > 0;
            bytes.remove_prefix(done ? written : bytes.size());
        }
        done = done && FlushFileBuffers(file.get());
        done = file.close() && done;
        done = done && MoveFileExW(temporary.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!done) {
            const FileFailure failure = lastFailure();
            DeleteFileW(temporary.c_str());
            return failure;
        }
        return std::nullopt;
    }

    std::optional<FileFailure> moveAside(const std::string& from, const std::string& to) override {
        if (!MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH))
            return lastFailure();
        return std::nullopt;
    }

    bool exists(const std::string& path) override {
        return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::variant<std::string, FileFailure> dataFolder() override {
        const wchar_t* appData = _wgetenv(L"APPDATA");
        if (appData == nullptr || appData[0] == L'\0')
            return FileFailure{"APPDATA names no folder"};
        std::wstring folder = appData;
        while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
            folder.pop_back();
        folder += L"\\Clearmark";
        if (auto failure = makeFolders(folder))
            return *failure;
        return narrow(folder);
    }

    std::string today() override {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        char text[16];
        std::snprintf(text, sizeof text, "%04u-%02u-%02u", unsigned(now.wYear) % 10000,
                      unsigned(now.wMonth) % 100, unsigned(now.wDay) % 100);
        return text;
    }
};

} // namespace

std::unique_ptr<Storage> systemStorage() {
    return std::make_unique<Win32Storage>();
}

} // namespace clearmark::platform
