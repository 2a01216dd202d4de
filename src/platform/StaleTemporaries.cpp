#include "platform/StaleTemporaries.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <ctime>
#include <fstream>
#include <sstream>

namespace chordella::platform {

namespace {

constexpr std::string_view OwnedMark = ".tmp-";
constexpr std::string_view UnownedMarks[] = {".tmp", ".batch-"};
constexpr std::size_t RandomPart = 6;  // mkstemp's XXXXXX

bool AllAlphanumeric(std::string_view text) {
    for (const char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) return false;
    return true;
}

// NAME + mark + XXXXXX with a non-empty NAME.
bool EndsInMarkAndRandom(std::string_view name, std::string_view mark) {
    if (name.size() <= mark.size() + RandomPart) return false;
    const std::string_view random = name.substr(name.size() - RandomPart);
    return AllAlphanumeric(random) && name.substr(name.size() - RandomPart - mark.size(), mark.size()) == mark;
}

// When this process started, in seconds of the real-time clock; 0 when unknown.
std::time_t ProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');  // the command name may hold spaces
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks)) return 0;
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    if (!(uptimeFile >> uptime)) return 0;
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    if (ticksPerSecond <= 0) return 0;
    const double age = uptime - static_cast<double>(startTicks) / ticksPerSecond;
    return std::time(nullptr) - static_cast<std::time_t>(age + 1);  // a second early: never too late
}

bool ProcessGone(long pid) { return pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

}  // namespace

std::string TemporaryNameFor(const std::string& path) {
    return path + std::string(OwnedMark) + std::to_string(getpid()) + "-XXXXXX";
}

TemporaryKind KindOfTemporary(std::string_view name, long& owner, std::string_view& target) {
    owner = 0;
    target = {};
    if (name.size() > RandomPart + 1 && name[name.size() - RandomPart - 1] == '-' &&
        AllAlphanumeric(name.substr(name.size() - RandomPart))) {
        const std::string_view front = name.substr(0, name.size() - RandomPart - 1);
        std::size_t digits = 0;
        while (digits < front.size() && std::isdigit(static_cast<unsigned char>(front[front.size() - 1 - digits])) != 0)
            ++digits;
        const std::string_view head = front.substr(0, front.size() - digits);
        if (digits > 0 && digits <= 10 && head.size() > OwnedMark.size() &&
            head.substr(head.size() - OwnedMark.size()) == OwnedMark) {
            owner = std::stol(std::string(front.substr(front.size() - digits)));
            target = head.substr(0, head.size() - OwnedMark.size());
            return TemporaryKind::Owned;
        }
    }
    for (const std::string_view mark : UnownedMarks) {
        if (!EndsInMarkAndRandom(name, mark)) continue;
        target = name.substr(0, name.size() - RandomPart - mark.size());
        return TemporaryKind::Unowned;
    }
    return TemporaryKind::NotOurs;
}

int RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return 0;
    const std::time_t started = ProcessStart();
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        long owner = 0;
        std::string_view target;
        const TemporaryKind kind = KindOfTemporary(entry->d_name, owner, target);
        if (kind == TemporaryKind::NotOurs) continue;
        const std::string base = (folder.empty() ? std::string(".") : folder) + "/";
        const std::string path = base + entry->d_name;
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        struct stat replaced {};
        const bool stale = kind == TemporaryKind::Owned
                               ? ProcessGone(owner)
                               : started > 0 && info.st_mtime < started &&
                                     stat((base + std::string(target)).c_str(), &replaced) == 0;
        if (stale && unlink(path.c_str()) == 0) ++removed;
    }
    closedir(dir);
    return removed;
}

}  // namespace chordella::platform
