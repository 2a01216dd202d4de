#include "core/SongFiles.h"

#include <algorithm>
#include <vector>

#include "core/Options.h"
#include "core/Session.h"
#include "data/SongFile.h"
#include "platform/Files.h"
#include "platform/Outcome.h"
#include "platform/Paths.h"
#include "platform/TextCase.h"

namespace chordella::data {

namespace {

constexpr const char* OpenTitle = "Open arrangement ...";
constexpr const char* OpenFilter =
    "Songs (*.vxa; *.mid)|*.vxa;*.mid|Arrangements (*.vxa)|*.vxa|MIDI files (*.mid)|*.mid";
constexpr const char* SaveTitle = "Save arrangement as ...";
constexpr const char* SaveFilter = "Arrangements (*.vxa)|*.vxa";
constexpr int MinSongTempo = 25;
constexpr int MaxSongTempo = 250;

std::string Extension(const std::string& path) {
    const std::string name(platform::FileNamePart(path));
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : platform::LowerCase(name.substr(dot));
}

std::string Quoted(const std::string& path) { return "\"" + std::string(platform::FileNamePart(path)) + "\""; }

// A meter the meter list has: 6/4, 5/4, 4/4, 3/4, 2/4 and the one-beat meters.
bool KnownMeter(int measureUnits) {
    return measureUnits == 24 || measureUnits == 20 || measureUnits == 16 || measureUnits == 12 ||
           measureUnits == 8 || measureUnits == 4;
}

bool AsksBeforeReplacing(OpenSource source) {
    return source != OpenSource::SongPlayer && source != OpenSource::Shuffle && source != OpenSource::StopButton;
}

}  // namespace

OpenOutcome SongFiles::Open(const OpenRequest& request, OpenDone done) {
    return platform::OutcomeOf(OpenOutcome::Asking, std::move(done), [&](OpenDone finish) {
        const auto& song = arrangement_;
        auto& host = session_.ArrangementLink();
        if (host.ChordsRecording()) host.StopRecording();
        if (!AsksBeforeReplacing(request.Source) || song.Chords.ChordMemoryLength < 5) {
            OpenConfirmed(request, std::move(finish));
            return;
        }
        session_.Prompter().ConfirmThen("Replace current chords & melody ?",
                                        [songs = *this, request, finish](bool yes) mutable {
                                            if (!yes) {
                                                finish(OpenOutcome::Cancelled);
                                                return;
                                            }
                                            songs.OpenConfirmed(request, std::move(finish));
                                        });
    });
}

void SongFiles::OpenConfirmed(const OpenRequest& request, OpenDone finish) {
    // A recording started while the question was open ends before its song is replaced.
    auto& host = session_.ArrangementLink();
    if (host.ChordsRecording()) host.StopRecording();
    if (!request.Path.empty()) {
        finish(OpenPath(request, request.Path));
        return;
    }
    const auto& song = arrangement_;
    const std::string folder = song.SongDirectory.empty() ? session_.Paths().Songs() : song.SongDirectory;
    session_.Prompter().OpenFileThen(OpenTitle, OpenFilter, folder,
                                     [songs = *this, request, finish](std::optional<std::string> chosen) mutable {
                                         if (!chosen || chosen->empty()) {
                                             finish(OpenOutcome::Cancelled);
                                             return;
                                         }
                                         finish(songs.OpenPath(request, *chosen));
                                     });
}

OpenOutcome SongFiles::OpenPath(const OpenRequest& request, const std::string& path) {
    auto& song = arrangement_;
    auto& host = session_.ArrangementLink();
    auto& prompter = session_.Prompter();
    const std::string extension = Extension(path);
    if (extension == ".mid") {
        if (request.Source != OpenSource::SongPlayer) song.SongDirectory = platform::FolderOf(path);
        const bool imported = host.ImportMidiSong(path);
        if (imported && request.FromPlayButton) host.StartPlayback();
        return imported ? OpenOutcome::Imported : OpenOutcome::Refused;
    }
    if (extension != ".vxa") {
        prompter.Inform("Can't open " + Quoted(path) + ": songs are .vxa or .mid files !");
        return OpenOutcome::Refused;
    }
    if (request.Source != OpenSource::SongPlayer) song.SongDirectory = platform::FolderOf(path);

    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!platform::ReadFileBytes(path, MaxSongFileBytes, bytes, error)) {
        prompter.Inform("Can't open the song " + Quoted(path) + " (" + error + ") !");
        return OpenOutcome::Refused;
    }
    const SongReadResult read = ReadSongFile(bytes);
    if (!read.Ok) {
        prompter.Inform("The song " + Quoted(path) + " is damaged (" + read.Error + ") and was not opened !");
        return OpenOutcome::Refused;
    }
    const std::size_t melodyLeftOut = ApplySongFile(read.Content, song);
    if (melodyLeftOut > 0)
        prompter.Inform("The melody of " + Quoted(path) + " is longer than the melody track; " +
                        std::to_string(melodyLeftOut) + " events at its end were left out !");
    AfterOpen(request, read.Content.Form == SongFileForm::Short, read.Content.ChordMemoryBytesCut > 0, path);
    return OpenOutcome::Opened;
}

std::string SongCutNotice(int measureUnits) {
    const int held = MeasureCount(ChordMemoryPositionLimit, measureUnits);
    return "song cut at measure " + std::to_string(held) + ": the chord memory holds " + std::to_string(held) +
           " measures";
}

void SongFiles::AfterOpen(const OpenRequest& request, bool shortForm, bool cut, const std::string& path) {
    auto& song = arrangement_;
    auto& host = session_.ArrangementLink();
    song.ArrangementPath = path;
    ShowSongTitle(path);

    // An empty stored path names no style: the song keeps its own meter then.
    const bool namesStyle = song.HasStyleReference && !song.StyleReference.empty();
    if (namesStyle && options_.AutoloadStyle)
        host.OpenStyleByPath(song.StyleReference, request.Source == OpenSource::Shuffle);
    if (!shortForm) {
        const int tempo = song.Chords.SongTempo();
        if (tempo >= MinSongTempo && tempo <= MaxSongTempo) host.SetSongTempo(tempo);
        if (!namesStyle && KnownMeter(song.Chords.SongMeter())) host.SetSongMeter(song.Chords.SongMeter());
        if (song.Melody.MelodyCount > 0 && song.Chords.MelodyProgram() < 128)
            host.SendMelodyProgram(song.Chords.MelodyProgram());
    }
    song.StartMeasure = StartMeasureOf(song.Chords);
    song.EndMeasure = std::max(1, MeasureCount(song.Chords.ChordMemoryLength, host.MeasureUnits()));
    // The file holds more than the chord memory: the rest of the song is not there.
    if (cut) session_.Prompter().Inform(SongCutNotice(host.MeasureUnits()) + " (" + Quoted(path) + ")");
    song.ChordMemoryPos = ChordMemoryHeaderSize;
    MarkSongSaved(song);
    host.SongOpened();

    if (options_.SongInfoAutoPopUp && request.Source != OpenSource::SongPlayer) host.ShowEditor();
    const bool startsPlaying = request.Source == OpenSource::Dialog || request.Source == OpenSource::FirstStart;
    if (startsPlaying && host.StyleLoaded()) host.StartPlayback();
}

void SongFiles::ShowSongTitle(const std::string& path) {
    session_.Display().ShowTitle(path.empty() ? std::string() : platform::UpperCase(std::string(platform::FileNamePart(path))));
}

bool SongFiles::CanSave() {
    if (session_.ArrangementLink().ChordsRecording()) return false;
    if (arrangement_.Chords.IsEmpty()) {
        session_.Prompter().Inform("Chordmemory is empty !");
        return false;
    }
    return true;
}

bool SongFiles::Save(SongDone done) {
    const std::string path = arrangement_.ArrangementPath;
    if (path.empty()) return SaveAs(std::move(done));
    const bool saved = CanSave() && WriteSong(path, true);
    if (done) done(saved);
    return saved;
}

bool SongFiles::SaveAs(SongDone done) {
    if (!CanSave()) {
        if (done) done(false);
        return false;
    }
    const auto& song = arrangement_;
    std::string initial = song.ArrangementPath;
    if (initial.empty()) initial = (song.SongDirectory.empty() ? session_.Paths().Songs() : song.SongDirectory) + "/";
    return platform::OutcomeOf(false, std::move(done), [&](SongDone finish) {
        session_.Prompter().SaveFileThen(SaveTitle, SaveFilter, initial,
                                         [songs = *this, finish](std::optional<std::string> chosen) mutable {
                                             // The song may have been emptied or a recording started meanwhile.
                                             if (!chosen || chosen->empty() || !songs.CanSave()) {
                                                 finish(false);
                                                 return;
                                             }
                                             std::string path = *chosen;
                                             if (Extension(path).empty()) path += ".vxa";
                                             songs.arrangement_.SongDirectory = platform::FolderOf(path);
                                             finish(songs.WriteSong(path, true));
                                         });
    });
}

bool SongFiles::SaveTo(const std::string& path) {
    if (!CanSave()) return false;
    return WriteSong(path, true);
}

std::string SongFiles::StyleReferenceToSave() {
    // The loaded style is the song's style; with none loaded (say its style was not found
    // when the song was opened) the song keeps the reference it came with.
    std::string loaded = session_.ArrangementLink().LoadedStylePath();
    if (!loaded.empty()) return loaded;
    const auto& song = arrangement_;
    return song.HasStyleReference ? song.StyleReference : std::string();
}

bool SongFiles::WriteSong(const std::string& path, bool becomesSongFile) {
    auto& song = arrangement_;
    const auto bytes = WriteSongFile(SongFileContentOf(song, StyleReferenceToSave()));
    std::string error;
    if (!platform::WriteFileAtomically(path, bytes, error)) {
        session_.Prompter().Inform("Can't save the song " + Quoted(path) + " (" + error + ") !");
        return false;
    }
    MarkSongSaved(song);
    if (becomesSongFile) {
        song.ArrangementPath = path;
        ShowSongTitle(path);
    }
    return true;
}

std::string SongFiles::QuickSavePath() const { return session_.Paths().Songs() + "/" + QuickSaveFileName; }

std::string SongFiles::DemoSongPath() const { return session_.Paths().Songs() + "/" + DemoSongFileName; }

bool SongFiles::QuickSave() {
    auto& host = session_.ArrangementLink();
    if (host.StylePlaying()) host.StopPlayback();
    if (!CanSave()) return false;
    if (!platform::MakeFolders(session_.Paths().Songs())) {
        session_.Prompter().Inform("Can't create the folder " + session_.Paths().Songs() + " !");
        return false;
    }
    // The quick-save copy does not become the song's file: "Save" still goes to its own.
    if (!WriteSong(QuickSavePath(), false)) return false;
    session_.Prompter().Inform("Editor content has been saved as Chordellatemp.vxa !");
    return true;
}

OpenOutcome SongFiles::QuickLoad(OpenDone done) {
    const std::string path = QuickSavePath();
    if (!platform::FileExists(path)) {
        session_.Prompter().Inform("Button Quicksave has not been pressed previously");
        if (done) done(OpenOutcome::Refused);
        return OpenOutcome::Refused;
    }
    auto& host = session_.ArrangementLink();
    if (host.StylePlaying()) host.StopPlayback();
    return Open({OpenSource::QuickLoad, path, false}, std::move(done));
}

bool SongFiles::Clear(SongDone done) {
    auto& host = session_.ArrangementLink();
    if (host.ChordsRecording()) host.StopRecording();
    if (arrangement_.Chords.IsEmpty()) {
        ClearNow();
        if (done) done(true);
        return true;
    }
    return platform::OutcomeOf(false, std::move(done), [&](SongDone finish) {
        session_.Prompter().ConfirmThen("Clear Chordmemory ?", [songs = *this, finish](bool yes) mutable {
            if (yes) songs.ClearNow();
            finish(yes);
        });
    });
}

void SongFiles::ClearNow() {
    auto& song = arrangement_;
    auto& host = session_.ArrangementLink();
    // A recording started while the question was open ends before its song is cleared.
    if (host.ChordsRecording()) host.StopRecording();
    ClearChordMemory(song.Chords);
    ClearMelody(song.Melody);
    song.Text = SongText{};
    song.StyleReference.clear();
    song.HasStyleReference = false;
    song.CreatorRepeatFlag = 0;
    song.ChordMemoryPos = ChordMemoryHeaderSize;
    song.StartMeasure = 1;
    song.EndMeasure = 1;
    song.ArrangementPath.clear();
    ShowSongTitle({});
    host.SongCleared();
}

bool SongFiles::New(SongDone done) {
    return platform::OutcomeOf(false, std::move(done), [&](SongDone finish) {
        Clear([session = &session_, finish](bool cleared) {
            if (cleared) session->ArrangementLink().CreateMeasures();
            finish(cleared);
        });
    });
}

}  // namespace chordella::data
