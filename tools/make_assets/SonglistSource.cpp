#include "make_assets/SonglistSource.h"

#include <cstdio>

#include "make_assets/Notation.h"

namespace chordella::tools {

namespace {

std::string Column(std::string_view text, std::size_t width) {
    std::string cell(text.substr(0, width));
    cell.resize(width, ' ');
    return cell;
}

// "%-3.3d" of a value 0 … 999.
std::string Number3(int value) { return Column(std::to_string(value), 3); }

}  // namespace

std::string SonglistLine(std::string_view title, std::string_view path) {
    std::string line = Column(title, 50) + " " + Column(path, 80) + " ";
    line += std::string(16, '0');  // columns 133 … 148: no channel muted
    line += "0";                   // 149: play mode "Accompaniment on"
    line += "1";                   // 150: " Chords"
    line += "0000";                // 151 … 154: instruments, harmonic pad, melody ad lib, chord codes
    line += "0";                   // 155: the option box above " Instruments ..."
    line += Number3(0) + Number3(0);  // 156 … 161: the channel list index (twice)
    line += Number3(0);            // 162 … 164: octave
    line += Number3(0);            // 165 … 167: transposition
    line += Number3(0);            // 168 … 170: instrument list index
    for (int bar = 0; bar < 8; ++bar) line += Number3(100);  // 171 … 194: the mixer bars
    return line;
}

bool CompileSonglist(std::string_view source, CompiledSonglist& list, std::string& error) {
    list = CompiledSonglist{};
    int number = 0;
    std::size_t start = 0;
    while (start < source.size()) {
        auto end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        std::string_view text = source.substr(start, end - start);
        start = end + 1;
        ++number;
        text = WithoutComment(text);
        const auto words = SplitWords(text);
        if (words.empty()) continue;
        if (words[0] == "list" && words.size() == 2) {
            list.FileName = words[1];
        } else if (words[0] == "entry" && words.size() == 3) {
            list.Text += SonglistLine(words[1], words[2]) + "\r\n";
        } else {
            error = "line " + std::to_string(number) + ": expected \"list NAME.VXL\" or \"entry \\\"TITLE\\\" PATH\"";
            return false;
        }
    }
    if (list.FileName.empty() || list.Text.empty()) {
        error = "a songlist needs a \"list NAME.VXL\" line and at least one entry";
        return false;
    }
    return true;
}

}  // namespace chordella::tools
