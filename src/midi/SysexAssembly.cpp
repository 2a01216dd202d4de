#include "midi/SysexAssembly.h"

#include <algorithm>

#include "midi/MidiStatus.h"

namespace chordella::midi {

namespace {

using status::SystemExclusive;
using status::EndOfExclusive;

}  // namespace

SysexAssembly::SysexAssembly() : bytes_(MaxLength) {}

void SysexAssembly::Drop() {
    if (open_) ++dropped_;
    open_ = false;
    length_ = 0;
}

void SysexAssembly::Interrupt() { Drop(); }

std::span<const std::uint8_t> SysexAssembly::Add(std::span<const std::uint8_t> piece) {
    if (piece.empty()) return {};
    if (piece.front() == SystemExclusive) {
        Drop();  // a new message begins: the one before never ended
        open_ = true;
    } else if (!open_) {
        ++dropped_;  // the rest of a message whose beginning was dropped
        return {};
    }
    if (piece.size() > bytes_.size() - length_) {
        Drop();  // longer than any output message can carry
        return {};
    }
    std::copy(piece.begin(), piece.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(length_));
    length_ += piece.size();
    if (piece.back() != EndOfExclusive) return {};
    const std::size_t whole = length_;
    open_ = false;
    length_ = 0;
    return {bytes_.data(), whole};
}

}  // namespace chordella::midi
