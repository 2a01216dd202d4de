#pragma once
// One running Chordella per data home: a second start on the same home hands its argument
// to the first one through "CurrentStyle.sty" and ends; a portable home (another folder,
// given with --home or CHORDELLA_HOME, or a marked one) runs as an instance of its own.

#include <optional>
#include <string>
#include <string_view>

namespace chordella::platform {

class Paths;

class SingleInstance {
public:
    static constexpr std::string_view HandOverFileName = "CurrentStyle.sty";

    // The lock file: $XDG_RUNTIME_DIR/chordella.lock, else /tmp/chordella-<uid>.lock.
    static std::string DefaultLockPath();
    // The lock of the instance on `paths`: the XDG home uses DefaultLockPath(); a portable
    // home a lock of its own, named after its folder's absolute path with links resolved,
    // so that one home however spelled is one instance.
    static std::string LockPathFor(const Paths& paths);

    explicit SingleInstance(std::string lockPath = DefaultLockPath());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is the only instance (it then holds the lock until it ends).
    bool Acquire();
    bool Held() const { return fd_ >= 0; }

    // The second instance: writes the argument as the single line of the hand-over file.
    static bool HandOver(const std::string& handOverPath, const std::string& argument, std::string* error = nullptr);
    // The running instance: reads and removes the hand-over file; nullopt when none is there.
    static std::optional<std::string> TakeHandOver(const std::string& handOverPath);

private:
    std::string lockPath_;
    int fd_ = -1;
};

}  // namespace chordella::platform
