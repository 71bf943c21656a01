// The user's files on a POSIX system: open, read, write, fsync and rename.
#include "runtime/platform/storage.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace clearmark::platform {
namespace {

FileFailure lastFailure() {
    return {std::strerror(errno)};
}

// Closes the descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes it now, reporting a failure (a write the system kept back that failed).
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

std::optional<FileFailure> makeFolders(const std::string& path) {
    std::string made;
    std::size_t from = 0;
    while (from <= path.size()) {
        std::size_t slash = path.find('/', from);
        if (slash == std::string::npos)
            slash = path.size();
        made = path.substr(0, slash);
        if (!made.empty() && ::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST)
            return lastFailure();
        from = slash + 1;
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return lastFailure();
    if (!S_ISDIR(status.st_mode))
        return FileFailure{std::strerror(ENOTDIR)};
    return std::nullopt;
}

class PosixStorage final : public Storage {
public:
    std::variant<std::string, FileFailure> read(const std::string& path,
                                                std::size_t limit) override {
        Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (file.get() < 0)
            return lastFailure();
        struct stat status {};
        if (::fstat(file.get(), &status) != 0)
            return lastFailure();
        if (S_ISDIR(status.st_mode))
            return FileFailure{std::strerror(EISDIR)};
        std::string bytes;
        std::vector<char> chunk(std::size_t{64} * 1024);
        while (bytes.size() <= limit) {
            const ssize_t got = ::read(file.get(), chunk.data(), chunk.size());
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return lastFailure();
            if (got == 0)
                break;
            bytes.append(chunk.data(), std::size_t(got));
        }
        if (bytes.size() > limit + 1)
            bytes.resize(limit + 1);
        return bytes;
    }

    std::optional<FileFailure> write(const std::string& path, std::string_view bytes) override {
        std::string temporary = path + ".XXXXXX";
        Descriptor file(::mkstemp(temporary.data()));
        if (file.get() < 0)
            return lastFailure();
        // The new file is readable as a file the user saves is: 0666 less the umask.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        const bool done = ::fchmod(file.get(), 0666 & ~mask) == 0 && writeAll(file.get(), bytes) &&
                          ::fsync(file.get()) == 0 && file.close() &&
                          ::rename(temporary.c_str(), path.c_str()) == 0;
        if (!done) {
            const FileFailure failure = lastFailure();
            ::unlink(temporary.c_str());
            return failure;
        }
        // The rename itself reaches the disk with the folder.
        const std::string folder = folderOf(path);
        Descriptor directory(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC));
        if (directory.get() >= 0)
            ::fsync(directory.get());
        return std::nullopt;
    }

    std::optional<FileFailure> moveAside(const std::string& from, const std::string& to) override {
        // A hard link fails when `to` exists; then the old name goes.
        if (::link(from.c_str(), to.c_str()) != 0)
            return lastFailure();
        if (::unlink(from.c_str()) != 0) {
            const FileFailure failure = lastFailure();
            ::unlink(to.c_str());
            return failure;
        }
        return std::nullopt;
    }

    bool exists(const std::string& path) override {
        struct stat status {};
        return ::lstat(path.c_str(), &status) == 0;
    }

    std::variant<std::string, FileFailure> dataFolder() override {
        std::string folder;
        const char* data = std::getenv("XDG_DATA_HOME");
        const char* home = std::getenv("HOME");
        if (data != nullptr && data[0] == '/')
            folder = std::string(data) + "/clearmark";
        else if (home != nullptr && home[0] == '/')
            folder = std::string(home) + "/.local/share/clearmark";
        else
            return FileFailure{"Neither XDG_DATA_HOME nor HOME names a folder"};
        while (folder.size() > 1 && folder.ends_with("//"))
            folder.pop_back();
        if (auto failure = makeFolders(folder))
            return *failure;
        return folder;
    }

    std::string today() override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        ::localtime_r(&now, &local);
        char text[16];
        std::strftime(text, sizeof text, "%Y-%m-%d", &local);
        return text;
    }
};

} // namespace

std::unique_ptr<Storage> systemStorage() {
    return std::make_unique<PosixStorage>();
}

} // namespace clearmark::platform
