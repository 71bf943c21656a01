#pragma once

// The user's files as the program keeps them: read whole, written all or nothing, the
// folder where the program keeps its own data, and today's date. Paths are UTF-8 (wide on
// Windows inside); nothing here uses iostreams. Tests install their own storage, so that no
// test touches the user's real files or depends on the day it runs.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace clearmark::platform {

// Why a file could not be read, written or moved, in the system's words ("No such file or
// directory", "Permission denied", "No space left on device").
struct FileFailure {
    std::string reason;
    bool operator==(const FileFailure&) const = default;
};

class Storage {
public:
    virtual ~Storage() = default;

    // The file's bytes, at most `limit` + 1 of them (so that a caller sees a file too large).
    virtual std::variant<std::string, FileFailure> read(const std::string& path,
                                                        std::size_t limit) = 0;
    // Puts a complete new file at the path in one step: written beside it first, then moved
    // over the old one (or into place when there is none). On failure the old file, if any,
    // is as it was, and nothing is left beside it.
    virtual std::optional<FileFailure> write(const std::string& path, std::string_view bytes) = 0;
    // Renames a file, replacing none: fails when `to` exists.
    virtual std::optional<FileFailure> moveAside(const std::string& from,
                                                 const std::string& to) = 0;
    // Whether a file (or anything else) is at the path.
    virtual bool exists(const std::string& path) = 0;
    // The folder where the program keeps its own data, made (with its parents) when missing:
    // $XDG_DATA_HOME/clearmark (else ~/.local/share/clearmark), or %APPDATA%\Clearmark on
    // Windows. No trailing separator.
    virtual std::variant<std::string, FileFailure> dataFolder() = 0;
    // Today's date on this computer, yyyy-mm-dd.
    virtual std::string today() = 0;
    // Where the program's own data may still be lost without the user deleting a file, for the
    // windows that keep data to say; "" where it is kept as any file is.
    virtual std::string dataCaveat() { return {}; }
};

// The storage in use: the system's, unless a test has installed its own.
Storage& storage();
// Installs a storage (null: the system's again) and returns the one it replaces, for a test
// to put back. The caller keeps ownership.
Storage* setStorage(Storage* next);
// The system's own storage.
std::unique_ptr<Storage> systemStorage();

// The path's file name, after the last separator ('/' or, on Windows, '\\').
std::string fileNameOf(std::string_view path);
// The path's folder, before the last separator ("" for a bare name).
std::string folderOf(std::string_view path);
// A path in a folder, with the platform's separator.
std::string pathIn(std::string_view folder, std::string_view name);

} // namespace clearmark::platform
