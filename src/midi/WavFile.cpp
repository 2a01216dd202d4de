#include "midi/WavFile.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <string_view>

#include "platform/Bytes.h"
#include "platform/Files.h"
#include "platform/TextCase.h"

namespace chordella::midi {

namespace {

constexpr std::string_view PartMark = ".part-";

// The temporary file of the open stream, for the interrupt handler (which may not allocate).
char openTemporary[4096] = {};

void RememberTemporary(const std::string& path) {
    const std::size_t length = path.size() < sizeof openTemporary - 1 ? path.size() : 0;
    std::memcpy(openTemporary, path.data(), length);
    openTemporary[length] = '\0';
}

extern "C" void RemoveTemporaryAndEnd(int number) {
    if (openTemporary[0] != '\0') unlink(openTemporary);
    std::signal(number, SIG_DFL);
    raise(number);
}
constexpr std::size_t HeaderBytes = 44;

void WriteHeader(platform::ByteWriter& out, std::uint32_t dataBytes, int channels, int sampleRate) {
    const auto blockAlign = static_cast<std::uint16_t>(channels * 2);
    for (char c : std::string_view("RIFF")) out.U8(static_cast<std::uint8_t>(c));
    out.U32(36 + dataBytes);
    for (char c : std::string_view("WAVEfmt ")) out.U8(static_cast<std::uint8_t>(c));
    out.U32(16);
    out.U16(1);  // PCM
    out.U16(static_cast<std::uint16_t>(channels));
    out.U32(static_cast<std::uint32_t>(sampleRate));
    out.U32(static_cast<std::uint32_t>(sampleRate) * blockAlign);
    out.U16(blockAlign);
    out.U16(16);
    for (char c : std::string_view("data")) out.U8(static_cast<std::uint8_t>(c));
    out.U32(dataBytes);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples, int channels, int sampleRate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(HeaderBytes + dataBytes);
    platform::ByteWriter out(bytes);
    WriteHeader(out, dataBytes, channels, sampleRate);
    for (std::int16_t sample : samples) out.I16(sample);
    return bytes;
}

bool WriteWavFile(const std::string& path, std::span<const std::int16_t> samples, int channels, int sampleRate,
                  std::string& error) {
    const auto bytes = EncodeWav(samples, channels, sampleRate);
    return platform::WriteFileAtomically(path, bytes, error);
}

WavStream::~WavStream() { Discard(); }

void WavStream::Discard() {
    if (!file_) return;
    RememberTemporary({});
    std::fclose(file_);
    file_ = nullptr;
    unlink(temp_.c_str());
}

bool WavStream::Open(const std::string& path, int channels, int sampleRate, std::string& error) {
    Discard();
    platform::ReplaceTarget target;
    if (!platform::PlanReplace(path, target, error)) return false;
    RemoveStaleWavTemporaries(FolderOf(target.Path));
    target_ = target.Path;
    temp_ = target_ + std::string(PartMark) + std::to_string(getpid()) + "-XXXXXX";
    const int fd = mkstemp(temp_.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    platform::MatchReplaced(fd, target);
    RememberTemporary(temp_);
    file_ = fdopen(fd, "wb");
    if (!file_) {
        error = std::strerror(errno);
        close(fd);
        unlink(temp_.c_str());
        return false;
    }
    channels_ = channels;
    dataBytes_ = 0;
    writeError_.clear();
    std::vector<std::uint8_t> header;
    platform::ByteWriter out(header);
    WriteHeader(out, 0, channels, sampleRate);  // the sizes are filled in at the end
    if (std::fwrite(header.data(), 1, header.size(), file_) != header.size()) writeError_ = std::strerror(errno);
    return true;
}

void WavStream::Append(std::span<const std::int16_t> samples) {
    if (!file_ || !writeError_.empty() || samples.empty()) return;
    // Little-endian on disk; the samples are converted a block at a time.
    std::uint8_t block[8192];
    std::size_t done = 0;
    while (done < samples.size()) {
        const std::size_t count = std::min(samples.size() - done, sizeof block / 2);
        for (std::size_t i = 0; i < count; ++i) {
            const auto value = static_cast<std::uint16_t>(samples[done + i]);
            block[2 * i] = static_cast<std::uint8_t>(value & 0xFF);
            block[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
        }
        if (std::fwrite(block, 1, count * 2, file_) != count * 2) {
            writeError_ = std::strerror(errno);
            return;
        }
        done += count;
    }
    dataBytes_ += samples.size() * 2;
}

bool WavStream::Finish(std::string& error) {
    if (!file_) {
        error = "no file open";
        return false;
    }
    if (writeError_.empty() && dataBytes_ > MaxWavDataBytes) writeError_ = "longer than a WAV file can hold";
    if (writeError_.empty()) {
        std::vector<std::uint8_t> sizes;
        platform::ByteWriter out(sizes);
        out.U32(static_cast<std::uint32_t>(36 + dataBytes_));
        std::vector<std::uint8_t> data;
        platform::ByteWriter dataOut(data);
        dataOut.U32(static_cast<std::uint32_t>(dataBytes_));
        const bool written = std::fseek(file_, 4, SEEK_SET) == 0 && std::fwrite(sizes.data(), 1, 4, file_) == 4 &&
                             std::fseek(file_, 40, SEEK_SET) == 0 && std::fwrite(data.data(), 1, 4, file_) == 4 &&
                             std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
        if (!written) writeError_ = std::strerror(errno);
    }
    if (!writeError_.empty()) {
        error = writeError_;
        Discard();
        return false;
    }
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    RememberTemporary({});
    if (!closed || rename(temp_.c_str(), target_.c_str()) != 0) {
        error = std::strerror(errno);
        unlink(temp_.c_str());
        return false;
    }
    return true;
}

void RemoveTemporaryOnInterrupt() {
    for (int number : {SIGINT, SIGTERM, SIGHUP}) std::signal(number, RemoveTemporaryAndEnd);
}

namespace {

// The process id in a temporary's name "NAME.wav.part-PID-XXXXXX" (any case of "wav"), or 0
// when the name is not one of ours.
long TemporaryOwner(std::string_view name) {
    constexpr std::string_view Marker = ".wav.part-";
    if (name.size() < Marker.size() + 9) return 0;
    const std::string_view suffix = name.substr(name.size() - 7);
    if (suffix[0] != '-') return 0;
    for (char c : suffix.substr(1)) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) return 0;
    }
    const std::string_view front = name.substr(0, name.size() - 7);
    std::size_t digits = 0;
    while (digits < front.size() && std::isdigit(static_cast<unsigned char>(front[front.size() - 1 - digits])) != 0) ++digits;
    if (digits == 0 || digits > 10) return 0;
    const std::string_view head = front.substr(0, front.size() - digits);
    if (head.size() <= Marker.size()) return 0;  // the file's own name comes first
    const std::string_view marker = head.substr(head.size() - Marker.size());
    for (std::size_t i = 0; i < Marker.size(); ++i) {
        if (platform::LowerAscii(marker[i]) != Marker[i]) return 0;
    }
    return std::strtol(std::string(front.substr(front.size() - digits)).c_str(), nullptr, 10);
}

}  // namespace

int RemoveStaleWavTemporaries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        const long pid = TemporaryOwner(entry->d_name);
        const bool gone = pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
        if (gone && unlink((folder + "/" + entry->d_name).c_str()) == 0) ++removed;
    }
    closedir(dir);
    return removed;
}

}  // namespace chordella::midi
