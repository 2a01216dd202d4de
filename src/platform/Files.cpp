#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace chordella::platform {

namespace {

std::string SystemError() { return std::strerror(errno); }

template <typename Container>
bool ReadInto(const std::string& path, std::size_t maxBytes, Container& out, std::string& error) {
    out.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = SystemError();
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? "is a folder" : SystemError();
        close(fd);
        return false;
    }
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

bool WriteFileAtomically(const std::string& path, std::string_view text, std::string& error) {
    std::string temp = path + ".tmpXXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = SystemError();
        return false;
    }
    fchmod(fd, 0644);
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

bool FolderExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace chordella::platform
