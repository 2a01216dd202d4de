#include "library/SongPlayer.h"

#include <algorithm>
#include <cstdlib>

#include "core/Options.h"
#include "core/Session.h"
#include "core/SongFiles.h"
#include "engine/ChannelSettings.h"
#include "engine/SongPlayState.h"
#include "engine/TransportState.h"
#include "library/SongPaths.h"
#include "library/SongSnapshot.h"
#include "library/Songlist.h"
#include "platform/Clock.h"

namespace chordella::library {

SongPlayer::SongPlayer(core::Session& session, const SongState& state, Songlist& songlist)
    : session_(session), songState_(state), songlist_(songlist), media_(session.Loop(), session.MidiBackend()) {}

SongPlayer::~SongPlayer() = default;

bool SongPlayer::Playing() const {
    return songState_.transport.ChordPlayMode != 0 || session_.Style().player.StyleActive != 0 || media_.Playing();
}

void SongPlayer::StopSong() {
    media_.Stop();
    if (Playing()) session_.ArrangementLink().StopPlayback();
}

void SongPlayer::Start(std::optional<int> selected, std::int64_t now) {
    if (songlist_.PlayQueue().size() > 1) Repeat = false;
    if (files_.empty() && songlist_.PlayQueue().empty() && selected) songlist_.Enqueue(*selected);
    endedAt_ = -1;
    StopSong();
    if (!TakeNext(now)) Finish();
}

void SongPlayer::Next(std::int64_t now) {
    StopSong();
    endedAt_ = -1;
    if (!TakeNext(now)) Finish();
}

void SongPlayer::Previous(std::int64_t now) {
    if (played_.size() < 2 || !files_.empty()) return;
    const int current = played_.back();
    played_.pop_back();
    const int before = played_.back();
    played_.pop_back();
    StopSong();
    endedAt_ = -1;
    // The song that was playing comes again after the one before it.
    std::vector<int> queue = songlist_.PlayQueue();
    queue.insert(queue.begin(), current);
    songlist_.QueueSelection({});
    for (const int entry : queue) songlist_.Enqueue(entry);
    if (!PlayEntry(before, now) && !TakeNext(now)) Finish();
}

void SongPlayer::Stop() {
    state_ = State::Idle;
    ReleaseMutes();
    engine::ReleaseHeldVolumes(songState_.engine);
    StopSong();
    songState_.songPlay.SessionRepeats = 0;
}

void SongPlayer::ImportFiles(std::vector<std::string> files) {
    Stop();
    files_ = std::move(files);
    nextFile_ = 0;
}

void SongPlayer::AskSessionMode() {
    session_.Prompter().InputThen(std::string(SessionCaption), std::string(SessionQuestion), "2",
                                  [this](std::optional<std::string> answer) {
                                      if (!answer) return;  // cancelled: nothing changes
                                      SetSessionRepeats(std::atoi(answer->c_str()));
                                  });
}

void SongPlayer::SetSessionRepeats(int repeats) {
    sessionRepeats_ = std::clamp(repeats, 0, MaxSessionRepeats);
    if (sessionRepeats_ > 0) {
        songState_.options.Loop = false;
        songState_.songPlay.LoopOn = 0;
    }
    // A song that plays now takes the new count at its ending mark.
    if (Playing()) songState_.songPlay.SessionRepeats = static_cast<std::int16_t>(sessionRepeats_);
}

void SongPlayer::Poll(std::int64_t now) {
    switch (state_) {
    case State::Idle: return;
    case State::Loaded:
        if (Playing()) state_ = State::Playing;  // started by hand (space bar)
        return;
    case State::Playing:
        if (Playing()) return;
        state_ = State::Waiting;
        endedAt_ = now;
        dueAt_ = now + NextSongDelayMillis;
        return;
    case State::Waiting:
        if (now < dueAt_) return;
        if (Repeat && current_ >= 0) {
            if (!PlayEntry(current_, now)) Finish();
            return;
        }
        if (!TakeNext(now)) Finish();
        return;
    }
}

std::optional<int> SongPlayer::NextEntry() {
    const int count = static_cast<int>(songlist_.Entries().size());
    if (count == 0) return std::nullopt;
    if (songlist_.ShufflePlayback) return session_.Random().Below(count);
    const std::optional<int> queued = songlist_.TakeQueued();
    if (!queued) return std::nullopt;
    return *queued >= 0 && *queued < count ? *queued : 0;
}

bool SongPlayer::TakeNext(std::int64_t now) {
    if (!files_.empty()) {
        // Every file once per round; a round of files that all fail ends the set.
        for (std::size_t tries = 0; tries < files_.size(); ++tries) {
            std::size_t index = nextFile_ % files_.size();
            if (songlist_.ShufflePlayback)
                index = static_cast<std::size_t>(session_.Random().Below(static_cast<int>(files_.size())));
            nextFile_ = index + 1;
            if (PlayFile(files_[index], nullptr, -1, now)) return true;
        }
        return false;
    }
    // Shuffle picks forever; a list whose songs all fail must still end.
    const std::size_t attempts = songlist_.ShufflePlayback ? songlist_.Entries().size() : PlayQueueCapacity + 1;
    for (std::size_t tries = 0; tries < attempts; ++tries) {
        const std::optional<int> entry = NextEntry();
        if (!entry) return false;
        if (PlayEntry(*entry, now)) return true;
    }
    return false;
}

bool SongPlayer::PlayEntry(int entry, std::int64_t now) {
    if (entry < 0 || static_cast<std::size_t>(entry) >= songlist_.Entries().size()) return false;
    const SongEntry parsed = ParseSongEntry(songlist_.Entries()[static_cast<std::size_t>(entry)]);
    return PlayFile(parsed.Path, &parsed, entry, now);
}

// Said once, naming the song: by whoever follows the skips, else in a message box.
void SongPlayer::Skip(const std::string& path, const std::string& reason) {
    if (SongSkipped) {
        SongSkipped(path, reason);
    } else {
        session_.Prompter().Inform(path + ": " + reason);
    }
}

bool SongPlayer::PlayFile(const std::string& stored, const SongEntry* entry, int number, std::int64_t now) {
    const std::string& list = songlist_.SonglistPath();
    const std::optional<std::string> path =
        FindSongFile(stored, session_.Paths(), list.empty() ? std::string() : platform::FolderOf(list));
    if (!path) {
        Skip(stored, std::string(SongNotFoundMessage));
        return false;
    }
    if (!IsSongFileName(*path)) {
        Skip(*path, std::string(WrongFileNameMessage));
        return false;
    }
    StopSong();
    if (songState_.options.UseMci && !IsArrangementFileName(*path)) return PlayMediaFile(*path, entry, number, now);
    data::SongFiles songs(session_, songState_.arrangement, songState_.options);
    const data::OpenOutcome outcome = songs.Open({data::OpenSource::SongPlayer, *path, false});
    if (outcome != data::OpenOutcome::Opened && outcome != data::OpenOutcome::Imported) {
        // A damaged arrangement was reported by the open; a MIDI file the import refused
        // says nothing there, so it is said here.
        const std::string reason = "The song \"" + *path + "\" could not be opened !";
        if (SongSkipped) {
            SongSkipped(*path, reason);
        } else if (outcome == data::OpenOutcome::Refused && !IsArrangementFileName(*path)) {
            session_.Prompter().Inform(reason);
        }
        return false;
    }
    // After the open: the style the song brings sends its own channel set-up first.
    HoldMutes(entry);
    engine::ReleaseHeldVolumes(songState_.engine);
    if (entry != nullptr) ApplySongEntry(session_, songState_, *entry, songlist_.LoadInstruments, instrumentSet_);
    current_ = number;
    if (number >= 0) played_.push_back(number);
    const std::string title = entry != nullptr ? entry->Title : std::string(platform::FileNamePart(*path));
    songlist_.TitleField = title;
    songState_.songPlay.SessionRepeats = static_cast<std::int16_t>(sessionRepeats_);
    state_ = State::Loaded;
    if (AutoStart) {
        session_.ArrangementLink().StartPlayback();
        if (Playing()) state_ = State::Playing;
    }
    if (SongStarted) SongStarted({number, title, *path, sessionRepeats_, endedAt_ < 0 ? -1 : now - endedAt_});
    return true;
}

// "Use MCI": a MIDI file plays as it is through the media player, on the media player's
// port (the main output when none is set), instead of being imported.
bool SongPlayer::PlayMediaFile(const std::string& path, const SongEntry* entry, int number, std::int64_t now) {
    const core::Options& options = songState_.options;
    const std::string& port = options.MediaPlayerOut.empty() ? options.MidiOut : options.MediaPlayerOut;
    std::string error;
    if (!media_.Play(path, port, platform::NowMicros(), error)) {
        Skip(path, error);
        return false;
    }
    current_ = number;
    if (number >= 0) played_.push_back(number);
    const std::string title = entry != nullptr ? entry->Title : std::string(platform::FileNamePart(path));
    songlist_.TitleField = title;
    state_ = State::Playing;
    if (SongStarted) SongStarted({number, title, path, 0, endedAt_ < 0 ? -1 : now - endedAt_});
    return true;
}

void SongPlayer::HoldMutes(const SongEntry* entry) {
    ReleaseMutes();
    if (entry == nullptr) return;
    const bool mutes = std::any_of(entry->Mutes.begin(), entry->Mutes.end(),
                                   [](const std::optional<bool>& m) { return m.value_or(false); });
    if (!mutes) return;
    bool& lock = songState_.options.MixerMuteLock;
    userMuteLock_ = lock;
    lock = true;
}

void SongPlayer::ReleaseMutes() {
    if (!userMuteLock_) return;
    songState_.options.MixerMuteLock = *userMuteLock_;
    userMuteLock_.reset();
}

void SongPlayer::Finish() {
    state_ = State::Idle;
    ReleaseMutes();
    current_ = -1;
    if (Finished) Finished();
}

std::string SongPlayer::NextTitle() const {
    if (!files_.empty()) return std::string(platform::FileNamePart(files_[nextFile_ % files_.size()]));
    if (songlist_.ShufflePlayback || songlist_.PlayQueue().empty()) return {};
    const int next = songlist_.PlayQueue().front();
    if (next < 0 || static_cast<std::size_t>(next) >= songlist_.Entries().size()) return {};
    return SongEntryTitle(songlist_.Entries()[static_cast<std::size_t>(next)]);
}

}  // namespace chordella::library
