#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/Files.h"
#include "platform/Paths.h"

namespace chordella::platform {

std::string SingleInstance::DefaultLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::string(runtime) + "/chordella.lock";
    return "/tmp/chordella-" + std::to_string(getuid()) + ".lock";
}

std::string SingleInstance::LockPathFor(const Paths& paths) {
    const std::string standard = DefaultLockPath();
    if (!paths.Portable()) return standard;
    std::error_code error;
    std::filesystem::path home = std::filesystem::absolute(paths.ConfigDir(), error);
    if (error) home = paths.ConfigDir();
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(home, error);
    const std::string key = error ? home.lexically_normal().string() : resolved.string();
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const unsigned char c : key) hash = (hash ^ c) * 1099511628211ull;
    char name[32];
    std::snprintf(name, sizeof name, "-%016llx.lock", static_cast<unsigned long long>(hash));
    return standard.substr(0, standard.size() - std::string_view(".lock").size()) + name;
}

SingleInstance::SingleInstance(std::string lockPath) : lockPath_(std::move(lockPath)) {}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
}

bool SingleInstance::Acquire() {
    if (fd_ >= 0) return true;
    const int fd = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;  // no lock possible (read-only /tmp?): do not refuse to start
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool SingleInstance::HandOver(const std::string& handOverPath, const std::string& argument, std::string* error) {
    std::string reason;
    if (!WriteFileAtomically(handOverPath, argument + "\n", reason)) {
        if (error) *error = reason;
        return false;
    }
    return true;
}

std::optional<std::string> SingleInstance::TakeHandOver(const std::string& handOverPath) {
    std::string text;
    std::string reason;
    if (!ReadTextFile(handOverPath, 64 * 1024, text, reason)) return std::nullopt;
    unlink(handOverPath.c_str());
    const std::size_t end = text.find_first_of("\r\n");
    return text.substr(0, end);
}

}  // namespace chordella::platform
