#include "cli/OutputGuard.h"

#include <sys/stat.h>

#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/RenderCommands.h"
#include "data/SongFile.h"
#include "data/StyleFile.h"
#include "data/WorkFile.h"
#include "platform/Files.h"

namespace chordella::cli {

namespace {

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether the file's first bytes are those of the kind: a file the command wrote before.
bool IsOfKind(const std::string& path, OutputKind kind) {
    if (kind == OutputKind::WorkFile) {
        data::WorkFile file;
        std::string ignored;
        return data::ReadWorkFile(path, file, ignored);
    }
    if (kind == OutputKind::StyleFile) {
        std::vector<std::uint8_t> bytes;
        data::StyleImage image;
        std::string ignored;
        return platform::ReadFileBytes(path, 1024 * 1024, bytes, ignored) && data::ReadStyleFile(bytes, image, ignored);
    }
    if (kind == OutputKind::SongFile) {
        std::vector<std::uint8_t> bytes;
        std::string ignored;
        return app::LowerExtensionOf(path) == ".vxa" && platform::ReadFileBytes(path, 16 * 1024 * 1024, bytes, ignored) &&
               data::ReadSongFile(bytes).Ok;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");  // a regular file: the caller looked
    if (!file) return false;
    if (kind == OutputKind::TextFile) {
        char head[4096];
        const std::size_t read = std::fread(head, 1, sizeof head, file);
        std::fclose(file);
        return std::string_view(head, read).find('\0') == std::string_view::npos;
    }
    char start[12] = {};
    const std::size_t got = std::fread(start, 1, sizeof start, file);
    std::fclose(file);
    const std::string_view text(start, got);
    if (kind == OutputKind::MidiFile) return text.starts_with("MThd");
    return text.size() >= 12 && text.starts_with("RIFF") && text.substr(8, 4) == "WAVE";
}

std::string_view KindName(OutputKind kind) {
    switch (kind) {
        case OutputKind::WorkFile: return "a work file";
        case OutputKind::MidiFile: return "a MIDI file";
        case OutputKind::WavFile: return "a WAV file";
        case OutputKind::SongFile: return "a song";
        case OutputKind::TextFile: return "a text file";
        case OutputKind::StyleFile: return "a style";
    }
    return "";
}

}  // namespace

OutputKind RenderOutputKind(const std::string& path) {
    return app::LowerExtensionOf(path) == ".wav" ? OutputKind::WavFile : OutputKind::MidiFile;
}

bool MayWriteOutput(const std::string& output, const std::vector<std::string>& inputs, OutputKind kind, bool force,
                    std::string& error) {
    struct stat target {};
    if (stat(output.c_str(), &target) != 0) return true;  // a new file (or a link to one still to be made)
    for (const std::string& input : inputs) {
        struct stat source {};
        if (!input.empty() && stat(input.c_str(), &source) == 0 && SameFile(source, target)) {
            error = "is the input file; write to another file";
            return false;
        }
    }
    if (!S_ISREG(target.st_mode)) {
        error = platform::WhyNotAFile(output);
        return false;
    }
    if (force || target.st_size == 0 || IsOfKind(output, kind)) return true;
    error = "is an existing file that is not " + std::string(KindName(kind)) + "; give --force to replace it";
    return false;
}

}  // namespace chordella::cli
