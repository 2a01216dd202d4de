#include "app/BatchFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "data/StyleFile.h"
#include "platform/Files.h"

namespace chordella::app {

namespace {

bool IsNoRoom(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

StyleWrite Failed(int error, const std::string& what) {
    StyleWrite result;
    result.NoRoom = IsNoRoom(error);
    result.Error = what + std::strerror(error);
    return result;
}

bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

StyleWrite ReplaceStyleFile(const std::string& given, std::span<const std::uint8_t> bytes) {
    platform::ReplaceTarget target;
    std::string error;
    if (!platform::PlanReplace(given, target, error)) return {false, false, error};
    const std::string& path = target.Path;
    std::string temp = path + ".batch-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return Failed(errno, "cannot make a temporary file: ");
    platform::MatchReplaced(fd, target);
    const bool written = WriteAll(fd, bytes.data(), bytes.size()) && fsync(fd) == 0;
    const int writeFault = written ? 0 : errno;
    if (close(fd) != 0 || !written) {
        const int fault = written ? errno : writeFault;
        unlink(temp.c_str());
        return Failed(fault, "cannot be written: ");
    }
    // Read back what landed on the disk before it replaces anything.
    std::vector<std::uint8_t> back;
    if (!platform::ReadFileBytes(temp, bytes.size() + 1, back, error)) {
        unlink(temp.c_str());
        return {false, false, "cannot be read back: " + error};
    }
    data::StyleImage image;
    if (back.size() != bytes.size() || !std::equal(back.begin(), back.end(), bytes.begin())) {
        unlink(temp.c_str());
        return {false, false, "read back different from what was written"};
    }
    if (!data::ReadStyleFile(back, image, error)) {
        unlink(temp.c_str());
        return {false, false, "the written style does not read back: " + error};
    }
    if (rename(temp.c_str(), path.c_str()) != 0) {
        const int fault = errno;
        unlink(temp.c_str());
        return Failed(fault, "cannot replace the file: ");
    }
    return {true, false, {}};
}

}  // namespace chordella::app
