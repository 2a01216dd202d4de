#pragma once
// Choosing a style at random: for the song creator's "Random Style", "Use another style !",
// the chord view's style label and a completely random song with "Randomly choose style".
//
// The list the style comes from belongs to the style playlist or the style manager; they
// provide it through StyleListLink. Until they exist, StylesFolderList offers the style
// files of the data home's styles folder as the style manager's file list would.

#include <string>
#include <vector>

namespace chordella::platform { class Random; }

namespace chordella::composer {

enum class StyleListKind {
    StyleManagerFiles,  // the style manager's file list ("Random" of the manager ticked)
    Playlist,           // the style playlist ("Random" of the playlist ticked)
    StyleManagerGroup,  // the entries of the style manager's current group
};

// The list a random style is drawn from. Implemented by the style playlist and the style
// manager; the choice reads it at the moment of use.
class StyleListLink {
public:
    virtual ~StyleListLink() = default;
    virtual StyleListKind Kind() const = 0;
    // Paths of the entries, in list order.
    virtual std::vector<std::string> Entries() const = 0;
    // The playlist's "Next": the entry after the selected one is taken.
    virtual bool NextTicked() const = 0;
    virtual int SelectedIndex() const = 0;
    // The playlist's "Find" with a search term: the index find-next lands on, −1 for none.
    virtual int FindNext() = 0;
    // The list shows the entry chosen.
    virtual void ShowChosen(int index) = 0;
};

// What loading a chosen style found.
struct StyleLoadOutcome {
    bool Loaded = false;
    bool HasMaterial = false;   // a .vxs with an empty stream has none
    bool HasBassTrack = false;  // the bass search found a bass track
};

// Loads a chosen style into the program (the style's channel rules run with it).
class StyleLoadLink {
public:
    virtual ~StyleLoadLink() = default;
    virtual StyleLoadOutcome LoadChosenStyle(const std::string& path) = 0;
    // Escape pressed in the main window: the repetition ends.
    virtual bool EscapePressed() = 0;
};

// The style files (.vxs) of a folder, sorted by name, as the style manager's file list.
class StylesFolderList final : public StyleListLink {
public:
    explicit StylesFolderList(std::string folder) : folder_(std::move(folder)) {}
    StyleListKind Kind() const override { return StyleListKind::StyleManagerFiles; }
    std::vector<std::string> Entries() const override;
    bool NextTicked() const override { return false; }
    int SelectedIndex() const override { return selected_; }
    int FindNext() override { return -1; }
    void ShowChosen(int index) override { selected_ = index; }

private:
    std::string folder_;
    int selected_ = -1;
};

// Draws at most this many times for one choice.
inline constexpr int MaxStyleDraws = 100;

class RandomStyleChoice {
public:
    // The options window loaded the start style: the next request only clears this mark.
    void SetSkipMark() { skip_ = true; }

    // Chooses and loads a style; the path loaded last, empty when nothing was loaded.
    // Draws again (at most 100 draws) while `withBassTrack` asks for a bass track that the
    // style lacks, or a .vxs style has no material.
    std::string Choose(StyleListLink& list, StyleLoadLink& loader, platform::Random& random, bool withBassTrack);

    bool UpperHalfNext() const { return upperHalf_; }

private:
    int DrawIndex(StyleListLink& list, int count, platform::Random& random) const;

    bool skip_ = false;
    bool upperHalf_ = true;  // the first choice after start takes the upper half
};

}  // namespace chordella::composer
