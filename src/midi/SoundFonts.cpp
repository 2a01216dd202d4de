#include "midi/SoundFonts.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "platform/Bytes.h"
#include "platform/Files.h"
#include "platform/TextCase.h"

namespace chordella::midi {

namespace {

constexpr std::size_t PresetHeaderSize = 38;
constexpr std::uint32_t MaxInfoBytes = 64 * 1024;
constexpr std::uint32_t MaxPresetBytes = PresetHeaderSize * 65536;

// Where the chunks are read from: a whole file in memory, or a file read piece by piece.
class Source {
public:
    virtual ~Source() = default;
    virtual std::uint64_t Size() const = 0;
    // Exactly `count` bytes at `offset`, or false.
    virtual bool Read(std::uint64_t offset, std::size_t count, std::vector<std::uint8_t>& out) = 0;
};

class SpanSource final : public Source {
public:
    explicit SpanSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool Read(std::uint64_t offset, std::size_t count, std::vector<std::uint8_t>& out) override {
        if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
        out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(offset),
                   bytes_.begin() + static_cast<std::ptrdiff_t>(offset + count));
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

class FileSource final : public Source {
public:
    explicit FileSource(const std::string& path) : file_(path, std::ios::binary) {
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        size_ = error ? 0 : size;
    }
    bool IsOpen() const { return file_.is_open(); }
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, std::size_t count, std::vector<std::uint8_t>& out) override {
        if (offset > size_ || count > size_ - offset) return false;
        out.resize(count);
        file_.seekg(static_cast<std::streamoff>(offset));
        file_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(count));
        return static_cast<std::size_t>(file_.gcount()) == count;
    }

private:
    std::ifstream file_;
    std::uint64_t size_ = 0;
};

bool IsId(const std::vector<std::uint8_t>& bytes, std::size_t at, const char* id) {
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, id, 4) == 0;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::string Text(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t count) {
    std::string text;
    for (std::size_t i = at; i < at + count && i < bytes.size() && bytes[i] != 0; ++i)
        text += static_cast<char>(bytes[i] >= 0x20 && bytes[i] < 0x7F ? bytes[i] : '?');
    return text;
}

// A chunk header at `at`: an id of printable characters and a size that fits before `end`.
bool PlausibleChunk(Source& source, std::uint64_t at, std::uint64_t end) {
    std::vector<std::uint8_t> header;
    if (at + 8 > end || !source.Read(at, 8, header)) return false;
    const bool printable =
        std::all_of(header.begin(), header.begin() + 4, [](std::uint8_t b) { return b >= 0x20 && b < 0x7F; });
    return printable && U32At(header, 4) <= end - at - 8;
}

// Where the chunk after one of `size` bytes at `at` begins. RIFF pads a chunk of odd size
// with a byte, but some SoundFonts in the wild leave the pad out: the unpadded place is
// taken when only it holds a chunk.
std::uint64_t NextChunk(Source& source, std::uint64_t at, std::uint32_t size, std::uint64_t end) {
    const std::uint64_t unpadded = at + 8 + std::uint64_t{size};
    if ((size & 1) == 0 || PlausibleChunk(source, unpadded + 1, end) || !PlausibleChunk(source, unpadded, end))
        return unpadded + (size & 1);
    return unpadded;
}

// The INFO list's INAM: the SoundFont's name.
void ReadName(const std::vector<std::uint8_t>& info, SoundFontInfo& result) {
    for (std::size_t at = 0; at + 8 <= info.size();) {
        const std::uint32_t size = U32At(info, at + 4);
        if (size > info.size() - at - 8) return;
        if (IsId(info, at, "INAM")) result.Name = Text(info, at + 8, std::min<std::size_t>(size, 256));
        at += 8 + size + (size & 1);
    }
}

bool ReadPresets(const std::vector<std::uint8_t>& headers, std::uint64_t offset, SoundFontInfo& result,
                 std::string& error) {
    platform::ByteReader reader(headers);
    const std::size_t count = headers.size() / PresetHeaderSize;
    if (count < 2) {
        error = "expected at least one preset header and the closing one at offset " + std::to_string(offset) +
                ", found " + std::to_string(headers.size()) + " bytes";
        return false;
    }
    std::bitset<128> programs;
    for (std::size_t i = 0; i + 1 < count; ++i) {  // the last header only closes the list
        std::uint16_t program = 0, bank = 0;
        reader.Seek(i * PresetHeaderSize + 20, "preset number");
        if (!reader.U16(program, "preset number") || !reader.U16(bank, "preset bank")) break;
        if (bank == 0 && program < 128) programs.set(program);
        if (bank == 128) result.DrumKit = true;
    }
    result.MelodicPrograms = static_cast<int>(programs.count());
    return true;
}

// The chunks inside the pdta list from `begin` to `end`: only the preset headers are read.
bool ReadPresetData(Source& source, std::uint64_t begin, std::uint64_t end, SoundFontInfo& result,
                    std::string& error) {
    std::vector<std::uint8_t> header;
    for (std::uint64_t at = begin; at + 8 <= end;) {
        if (!source.Read(at, 8, header)) break;
        const std::uint32_t size = U32At(header, 4);
        if (IsId(header, 0, "phdr")) {
            std::vector<std::uint8_t> headers;
            if (size > MaxPresetBytes || size > end - at - 8 || !source.Read(at + 8, size, headers)) {
                error = "the preset headers at offset " + std::to_string(at) + " claim " + std::to_string(size) +
                        " bytes, more than the file holds";
                return false;
            }
            return ReadPresets(headers, at + 8, result, error);
        }
        at = NextChunk(source, at, size, end);
    }
    error = "expected the preset headers (phdr) in the pdta list at offset " + std::to_string(begin) + ", found none";
    return false;
}

bool ReadInfo(Source& source, SoundFontInfo& result, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!source.Read(0, 12, bytes) || !IsId(bytes, 0, "RIFF") || !IsId(bytes, 8, "sfbk")) {
        error = "expected a RIFF file of kind sfbk at offset 0, found " +
                (bytes.size() >= 12 ? "\"" + Text(bytes, 0, 4) + "\" of kind \"" + Text(bytes, 8, 4) + "\""
                                    : std::to_string(source.Size()) + " bytes");
        return false;
    }
    const std::uint64_t end = std::min<std::uint64_t>(source.Size(), 8 + std::uint64_t{U32At(bytes, 4)});
    for (std::uint64_t at = 12; at + 12 <= end;) {
        if (!source.Read(at, 12, bytes)) break;
        const std::uint32_t size = U32At(bytes, 4);
        const std::uint64_t next = NextChunk(source, at, size, end);
        if (IsId(bytes, 0, "LIST") && size >= 4) {
            const std::uint64_t bodyEnd = std::min(end, at + 8 + std::uint64_t{size});
            if (IsId(bytes, 8, "INFO") && size - 4 <= MaxInfoBytes) {
                std::vector<std::uint8_t> info;
                if (source.Read(at + 12, static_cast<std::size_t>(bodyEnd - at - 12), info)) ReadName(info, result);
            } else if (IsId(bytes, 8, "pdta")) {
                return ReadPresetData(source, at + 12, bodyEnd, result, error);
            }
        }
        at = next;
    }
    error = "expected a pdta list with the presets, found none up to offset " + std::to_string(end);
    return false;
}

// 0 MuseScore General, 1 FluidR3, 2 TimGM6mb, 3 any other: the order of preference.
int Rank(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    static constexpr std::array<const char*, 3> Preferred = {"MuseScore_General", "FluidR3", "TimGM6mb"};
    for (std::size_t i = 0; i < Preferred.size(); ++i)
        if (name.rfind(Preferred[i], 0) == 0) return static_cast<int>(i);
    return static_cast<int>(Preferred.size());
}

bool HasSoundFontExtension(const std::filesystem::path& path) {
    const std::string extension = platform::LowerCase(path.extension().string());
    return extension == ".sf2" || extension == ".sf3";
}

}  // namespace

bool ReadSoundFontInfo(std::span<const std::uint8_t> bytes, SoundFontInfo& info, std::string& error) {
    SpanSource source(bytes);
    info = SoundFontInfo{};
    return ReadInfo(source, info, error);
}

bool ReadSoundFontInfo(const std::string& path, SoundFontInfo& info, std::string& error) {
    FileSource source(path);
    info = SoundFontInfo{};
    if (!source.IsOpen()) {
        error = "cannot be read";
        return false;
    }
    return ReadInfo(source, info, error);
}

std::vector<std::string> SoundFontFolders() {
    std::vector<std::string> folders = {"/usr/share/sounds/sf3", "/usr/share/sounds/sf2", "/usr/share/soundfonts",
                                        "/usr/local/share/soundfonts"};
    std::string dataHome;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        dataHome = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        dataHome = std::string(home) + "/.local/share";
    if (!dataHome.empty())
        for (const char* sub : {"/soundfonts", "/sounds/sf3", "/sounds/sf2"}) folders.push_back(dataHome + sub);
    return folders;
}

std::vector<InstalledSoundFont> ListSoundFonts(const std::vector<std::string>& folders) {
    std::vector<InstalledSoundFont> found;
    std::set<std::string> seen;
    for (const std::string& folder : folders) {
        std::error_code error;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (HasSoundFontExtension(entry.path())) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            const std::filesystem::path real = std::filesystem::canonical(file, error);
            if (error || !std::filesystem::is_regular_file(real, error) || !seen.insert(real.string()).second) continue;
            InstalledSoundFont font{real.string(), {}};
            std::string why;
            if (ReadSoundFontInfo(font.Path, font.Info, why) && font.Info.GeneralMidi()) found.push_back(font);
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return Rank(a.Path) < Rank(b.Path); });
    return found;
}

std::string FindSoundFont(const std::string& chosen) {
    if (!chosen.empty() && platform::FileExists(chosen)) return chosen;
    if (const char* variable = std::getenv("CHORDELLA_SOUNDFONT"); variable && platform::FileExists(variable))
        return variable;
    const std::vector<InstalledSoundFont> fonts = ListSoundFonts();
    return fonts.empty() ? std::string() : fonts.front().Path;
}

}  // namespace chordella::midi
