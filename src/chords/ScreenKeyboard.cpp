#include "chords/ScreenKeyboard.h"

#include <algorithm>
#include <array>

namespace chordella::chords {

namespace {

constexpr int StepsPerOctave = 7;
constexpr std::array<int, StepsPerOctave> StepSemitone = {0, 2, 4, 5, 7, 9, 11};
// Whether a black key lies to the right of the step (C, D, F, G, A).
constexpr std::array<bool, StepsPerOctave> BlackRight = {true, true, false, true, true, true, false};
// Where that black key sits against the border, in tenths of NoteWidth (a pixel at the
// default width): C# and F# lean left, D# and A# right, G# is centred.
constexpr std::array<int, StepsPerOctave> StepOffset = {-1, 1, 0, -1, 0, 1, 0};
constexpr int BlackPercent = 60;
constexpr int MaxVelocity = 127;

int Step(int whiteIndex) { return whiteIndex % StepsPerOctave; }

}  // namespace

int ScreenKeyboard::Length() const { return Orientation == KeyboardOrientation::Horizontal ? Width : Height; }
int ScreenKeyboard::KeyLength() const { return Orientation == KeyboardOrientation::Horizontal ? Height : Width; }
int ScreenKeyboard::BlackLength() const { return KeyLength() * BlackPercent / 100; }
int ScreenKeyboard::BlackWidth() const { return std::max(1, NoteWidth * BlackPercent / 100); }

namespace {

// The start (along the keyboard) of the black key right of white key `whiteIndex`.
int BlackStart(const ScreenKeyboard& k, int whiteIndex) {
    const int border = (whiteIndex + 1) * k.NoteWidth;
    return border + StepOffset[static_cast<std::size_t>(Step(whiteIndex))] * k.NoteWidth / 10 - k.BlackWidth() / 2;
}

bool HitsBlackRightOf(const ScreenKeyboard& k, int whiteIndex, int position) {
    if (whiteIndex < 0 || !BlackRight[static_cast<std::size_t>(Step(whiteIndex))]) return false;
    const int start = BlackStart(k, whiteIndex);
    return position >= start && position < start + k.BlackWidth();
}

// The note of white key `whiteIndex` (plus `raise` semitones), or -1 outside 0 … 127.
int NoteOf(const ScreenKeyboard& k, int whiteIndex, int raise) {
    const int octave = whiteIndex / StepsPerOctave;
    const int note = (octave + k.BaseOctave) * 12 + StepSemitone[static_cast<std::size_t>(Step(whiteIndex))] + raise;
    return note >= 0 && note <= 127 ? note : -1;
}

}  // namespace

int ScreenKeyboard::NoteAt(int position, int across) const {
    if (NoteWidth <= 0 || position < 0 || position >= Length() || across < 0 || across >= KeyLength()) return -1;
    const int white = position / NoteWidth;
    if (across < BlackLength()) {
        if (HitsBlackRightOf(*this, white, position)) return NoteOf(*this, white, 1);
        if (HitsBlackRightOf(*this, white - 1, position)) return NoteOf(*this, white - 1, 1);
    }
    return NoteOf(*this, white, 0);
}

int ScreenKeyboard::NoteAtPoint(int x, int y) const {
    if (Orientation == KeyboardOrientation::Horizontal) return NoteAt(x, y);
    return NoteAt(Height - 1 - y, x);
}

int ScreenKeyboard::VelocityAt(int across) const {
    if (!VelocityMode) return MaxVelocity;
    const int length = KeyLength();
    if (length <= 0) return MaxVelocity;
    return std::clamp((across + 1) * MaxVelocity / length, 1, MaxVelocity);
}

int ScreenKeyboard::VelocityAtPoint(int x, int y) const {
    return VelocityAt(Orientation == KeyboardOrientation::Horizontal ? y : x);
}

namespace {

// A rectangle `start` … `start + size` along the keyboard and `depth` across, in widget
// pixels, cut off at the keyboard's end like the keys NoteAt finds there.
KeyRect Place(const ScreenKeyboard& k, int start, int size, int depth, int note, bool black) {
    size = std::min(size, k.Length() - start);
    if (k.Orientation == KeyboardOrientation::Horizontal) return {start, 0, size, depth, note, black};
    return {0, k.Height - start - size, depth, size, note, black};
}

}  // namespace

std::vector<KeyRect> ScreenKeyboard::Keys() const {
    std::vector<KeyRect> keys;
    if (NoteWidth <= 0) return keys;
    const int whites = (Length() + NoteWidth - 1) / NoteWidth;
    for (int w = 0; w < whites; ++w) {
        const int note = NoteOf(*this, w, 0);
        if (note >= 0) keys.push_back(Place(*this, w * NoteWidth, NoteWidth, KeyLength(), note, false));
    }
    for (int w = 0; w < whites; ++w) {
        if (!BlackRight[static_cast<std::size_t>(Step(w))]) continue;
        const int note = NoteOf(*this, w, 1);
        const int start = BlackStart(*this, w);
        if (note >= 0 && start < Length()) keys.push_back(Place(*this, start, BlackWidth(), BlackLength(), note, true));
    }
    return keys;
}

}  // namespace chordella::chords
