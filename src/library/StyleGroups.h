#pragma once
// The fixed tree of style groups: genres with their sub-groups. A group's number is its
// place in the tree counting every node from 1 in display order; its entries live in the
// group file's section "Group" + number.

#include <span>
#include <string>
#include <string_view>

namespace chordella::library {

struct StyleGroupNode {
    std::string_view Name;
    int Depth = 0;  // 0 a genre, 1 a sub-group under the genre above it
};

// Every node in display order; node i has the number i + 1.
std::span<const StyleGroupNode> StyleGroupTree();
int StyleGroupCount();
// "Group" + number.
std::string StyleGroupSection(int number);
// "Rock / Ballad" for a sub-group, "Funk" for a genre; empty for a number outside the tree.
std::string StyleGroupTitle(int number);

}  // namespace chordella::library
