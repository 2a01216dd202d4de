#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/StaleTemporaries.h"

namespace chordella::platform {

namespace {

std::string SystemError() { return std::strerror(errno); }

std::string KindOfNonFile(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder, not a file";
    if (S_ISFIFO(mode)) return "is a FIFO, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a file";
    if (S_ISSOCK(mode)) return "is a socket, not a file";
    return "is not a regular file";
}

template <typename Container>
bool ReadInto(const std::string& path, std::size_t maxBytes, Container& out, std::string& error) {
    out.clear();
    // Opening a FIFO without a writer would wait for one: open without waiting, look what
    // it is, and read only regular files.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = SystemError();
        return false;
    }
    struct stat info {};
    const bool stated = fstat(fd, &info) == 0;
    if (!stated || !S_ISREG(info.st_mode)) {
        error = stated ? KindOfNonFile(info.st_mode) : SystemError();
        close(fd);
        return false;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        error = "larger than " + std::to_string(maxBytes) + " bytes";
        close(fd);
        return false;
    }
    out.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = read(fd, reinterpret_cast<char*>(out.data()) + done, out.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = SystemError();
            close(fd);
            out.clear();
            return false;
        }
        if (got == 0) break;  // the file shrank while we read it
        done += static_cast<std::size_t>(got);
    }
    out.resize(done);
    close(fd);
    return true;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = write(fd, data, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out, std::string& error) {
    return ReadInto(path, maxBytes, out, error);
}

bool ReadTextFile(const std::string& path, std::size_t maxBytes, std::string& out, std::string& error) {
    return ReadInto(path, maxBytes, out, error);
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string& error) {
    return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

bool PlanReplace(const std::string& path, ReplaceTarget& target, std::string& error) {
    target = {};
    target.Path = WriteTargetOf(path);
    struct stat old {};
    if (stat(target.Path.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return true;
    // The permission bits say read-only even to root, who could write anyway.
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target.Path.c_str(), W_OK) != 0) {
        error = "is read-only";
        return false;
    }
    target.Existed = true;
    target.Mode = old.st_mode & 07777;
    target.Owner = old.st_uid;
    target.Group = old.st_gid;
    return true;
}

void MatchReplaced(int fd, const ReplaceTarget& target) {
    fchmod(fd, static_cast<mode_t>(target.Mode));
    if (target.Existed && geteuid() == 0) {
        [[maybe_unused]] const int kept = fchown(fd, target.Owner, target.Group);  // best effort
    }
}

bool WriteFileAtomically(const std::string& given, std::string_view text, std::string& error) {
    ReplaceTarget target;
    if (!PlanReplace(given, target, error)) return false;
    const std::string& path = target.Path;
    // What a killed save left here goes now (a save is where the user looks for files).
    const std::size_t slash = path.rfind('/');
    RemoveStaleTemporaries(slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash));
    std::string temp = TemporaryNameFor(path);
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = SystemError();
        return false;
    }
    MatchReplaced(fd, target);
    const bool written = WriteAll(fd, text.data(), text.size()) && fsync(fd) == 0;
    const std::string writeError = written ? "" : SystemError();
    if (close(fd) != 0 || !written) {
        error = written ? SystemError() : writeError;
        unlink(temp.c_str());
        return false;
    }
    if (rename(temp.c_str(), path.c_str()) != 0) {
        error = SystemError();
        unlink(temp.c_str());
        return false;
    }
    return true;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string WhyNotAFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) return S_ISREG(info.st_mode) ? std::string() : KindOfNonFile(info.st_mode);
    if (errno == ENOENT && lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) return "is a link to a missing file";
    if (errno == ENOENT || errno == ENOTDIR) return "no such file";
    return SystemError();
}

std::string WriteTargetOf(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t length = readlink(current.c_str(), target.data(), target.size());
        if (length <= 0) return current;
        target.resize(static_cast<std::size_t>(length));
        if (target.front() != '/') {
            const std::size_t slash = current.rfind('/');
            if (slash != std::string::npos) target = current.substr(0, slash + 1) + target;
        }
        current = target;
    }
    return current;
}

bool FolderExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace chordella::platform
