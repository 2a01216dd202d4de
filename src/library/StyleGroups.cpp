#include "library/StyleGroups.h"

#include <array>

namespace chordella::library {

namespace {

constexpr std::array<StyleGroupNode, 67> Tree = {{
    {"Pop", 0},      {"Ballad", 1},  {"Fox", 1},     {"3/4,6/8", 1},   {"Others", 1},
    {"Rock", 0},     {"Ballad", 1},  {"Classic", 1}, {"Blues", 1},     {"Heavy", 1},
    {"Straight", 1}, {"Shuffle", 1}, {"Others", 1},  {"Dance", 0},     {"Disco", 1},
    {"Floor", 1},    {"Techno", 1},  {"Others", 1},  {"Fusion", 0},    {"Blues", 1},
    {"Rock", 1},     {"Jazz", 1},    {"Country", 0}, {"Ballad", 1},    {"Blues", 1},
    {"Train", 1},    {"Bluegr", 1},  {"Waltz", 1},   {"Straight", 1},  {"Shuffle", 1},
    {"Latin", 0},    {"Bossa", 1},   {"Samba", 1},   {"Salsa", 1},     {"Others", 1},
    {"Jazz", 0},     {"Ballad", 1},  {"Blues", 1},   {"Swing", 1},     {"UpSwing", 1},
    {"Waltz", 1},    {"Others", 1},  {"Sessions", 0}, {"#01", 1},      {"#02", 1},
    {"#03", 1},      {"#04", 1},     {"#05", 1},     {"#06", 1},       {"#07", 1},
    {"#08", 1},      {"#09", 1},     {"#10", 1},     {"#11", 1},       {"#12", 1},
    {"#13", 1},      {"#14", 1},     {"#15", 1},     {"Favorites", 0}, {"Funk", 0},
    {"House", 0},    {"Newage", 0},  {"Reggae", 0},  {"World", 0},     {"Classic", 0},
    {"Others", 0},   {".sty Fav", 0},
}};

}  // namespace

std::span<const StyleGroupNode> StyleGroupTree() { return Tree; }

int StyleGroupCount() { return static_cast<int>(Tree.size()); }

std::string StyleGroupSection(int number) { return "Group" + std::to_string(number); }

std::string StyleGroupTitle(int number) {
    if (number < 1 || number > StyleGroupCount()) return {};
    const std::size_t index = static_cast<std::size_t>(number - 1);
    std::string title(Tree[index].Name);
    if (Tree[index].Depth == 0) return title;
    for (std::size_t genre = index; genre-- > 0;)
        if (Tree[genre].Depth == 0) return std::string(Tree[genre].Name) + " / " + title;
    return title;
}

}  // namespace chordella::library
