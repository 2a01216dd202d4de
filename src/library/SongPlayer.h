#pragma once
// The song player: plays the songlist's queue song after song. For each song it restores
// the entry's settings, opens the file (an arrangement; a MIDI file through the song host's
// import, or as it is through the media player when "Use MCI" is ticked), starts playback
// when "AutoStart" is ticked, and once the song has ended waits 750 ms and takes the next
// one. A song whose file is missing or cannot be opened is
// skipped with a message; the set goes on. In session mode every song is repeated at its
// ending mark the given number of times (the chord-memory playback does the repeating).
//
// Time comes in through Poll(now): the desktop and the command line call it from a timer
// of the control loop, a test with the times it chooses. The player holds no timer of its own
// (its media player does, to send a MIDI file's messages on time).
//
//   library::SongPlayer player(session, state, songlist);
//   player.Start();                        // the queue, or the selected entry
//   loop timer every 20 ms: player.Poll(platform::NowMillis());
//
// Control thread only.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/MidiFilePlayer.h"
#include "library/SongEntry.h"
#include "library/SongSnapshot.h"

namespace chordella::core { class Session; }

namespace chordella::library {

class Songlist;

inline constexpr std::int64_t NextSongDelayMillis = 750;
inline constexpr int MaxSessionRepeats = 20;
inline constexpr std::string_view SongNotFoundMessage = "Song not found !";
inline constexpr std::string_view WrongFileNameMessage = "Wrong filename !";
inline constexpr std::string_view SessionCaption = "Session mode ...";
inline constexpr std::string_view SessionQuestion = "How many repetitions of a song are to be played ?";
inline constexpr std::string_view OpenFilesTitle = "Open file(s) ...";
inline constexpr std::string_view OpenFilesFilter = "Files (*.mid, *.vxa)|*.mid;*.vxa";

// What the player reports as it goes (the window's display, the command line's status lines).
struct SongStart {
    int Entry = -1;          // entry number (0-based) in the list; −1 for an imported file
    std::string Title;
    std::string Path;        // the file opened
    int Repeats = 0;         // session repeats set for it (0: session mode off)
    std::int64_t GapMillis = -1;  // from the end of the song before; −1 for the first
};

class SongPlayer {
public:
    SongPlayer(core::Session& session, const SongState& state, Songlist& songlist);
    ~SongPlayer();

    // The player's boxes.
    bool AutoStart = true;   // "AutoStart"
    bool Repeat = false;     // "Repeat": the song that ended plays again

    // Called for every song that starts (after it was opened and, with AutoStart, started).
    std::function<void(const SongStart&)> SongStarted;
    // Called when a song is skipped, with the reason shown.
    std::function<void(const std::string& path, const std::string& reason)> SongSkipped;
    // Called when the queue has run out.
    std::function<void()> Finished;

    // "Play": the queue, or `selected` when the queue is empty. More than one queued entry
    // clears "Repeat". The first song is taken at once.
    void Start(std::optional<int> selected, std::int64_t now);
    // Skips to the next song at once / plays the song before the current one again.
    void Next(std::int64_t now);
    void Previous(std::int64_t now);
    // Stops playback and the set.
    void Stop();
    // The player's open dialog: the chosen files are played instead of the list.
    void ImportFiles(std::vector<std::string> files);

    // The session button: asks for the repeats (default "2").
    void AskSessionMode();
    // 1 … 20 (more counts as 20): session mode with that many plays per song, the "Loop"
    // box is cleared; 0 or less: session mode off.
    void SetSessionRepeats(int repeats);
    int SessionRepeats() const { return sessionRepeats_; }

    // Advances the player: notices the end of a song and takes the next one when due.
    void Poll(std::int64_t now);

    bool Running() const { return state_ != State::Idle; }
    // The entry playing now (−1: none), and the title of the song that comes next.
    int CurrentEntry() const { return current_; }
    std::string NextTitle() const;
    // The entries played so far in this set, in order ("Previous" steps back through them).
    const std::vector<int>& Played() const { return played_; }

private:
    enum class State { Idle, Loaded, Playing, Waiting };
    bool Playing() const;
    // Takes songs until one opens; false when none is left.
    bool TakeNext(std::int64_t now);
    std::optional<int> NextEntry();
    bool PlayEntry(int entry, std::int64_t now);
    bool PlayFile(const std::string& stored, const SongEntry* entry, int number, std::int64_t now);
    bool PlayMediaFile(const std::string& path, const SongEntry* entry, int number, std::int64_t now);
    // Stops the arrangement or the media file that plays.
    void StopSong();
    void Skip(const std::string& path, const std::string& reason);
    void Finish();
    // An entry that mutes channels keeps them muted through the song's part switches: the
    // mixer's mute lock is on while it plays, and given back afterwards.
    void HoldMutes(const SongEntry* entry);
    void ReleaseMutes();

    core::Session& session_;
    SongState songState_;
    Songlist& songlist_;
    State state_ = State::Idle;
    int current_ = -1;
    std::vector<int> played_;
    std::vector<std::string> files_;  // imported files play instead of the list
    std::size_t nextFile_ = 0;
    int sessionRepeats_ = 0;
    std::int64_t endedAt_ = -1;
    std::int64_t dueAt_ = 0;
    std::string instrumentSet_;
    std::optional<bool> userMuteLock_;
    MidiFilePlayer media_;  // "Use MCI"
};

}  // namespace chordella::library
