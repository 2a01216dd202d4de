// DesktopCore::FillSnapshot: what the desktop window shows, copied from the state without
// allocating (fixed-size texts only), so it may run between any two ticks.
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "app/AppState.h"
#include "app/SnapshotView.h"
#include "chords/ChordTypes.h"
#include "chords/NoteNames.h"
#include "core/Session.h"
#include "data/ArrangementState.h"
#include "data/ChordMemory.h"
#include "desktop/ActivityOutput.h"
#include "desktop/DesktopCore.h"
#include "desktop/DesktopSonglist.h"
#include "engine/EngineState.h"
#include "midi/MidiOutput.h"
#include "platform/Priority.h"

namespace chordella::desktop {

namespace {

constexpr int DrumChannel = 9;
constexpr std::string_view DrumsName = "Drums";

template <std::size_t N>
void Copy(app::FixedText<N>& to, std::string_view text) {
    to.Set(text.data(), text.size());
}

// The file name of a path, either separator.
std::string_view FileName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

int Known(std::uint8_t value) { return value == midi::ControllerTable::Unknown ? -1 : value; }

}  // namespace

void DesktopCore::FillSnapshot(app::DisplaySnapshot& snapshot) const {
    if (view_ != nullptr) {
        const app::DisplaySnapshot& shown = view_->Shown();
        snapshot.Title = shown.Title;
        snapshot.ChordName = shown.ChordName;
        snapshot.KeyText = shown.KeyText;
        snapshot.Status = shown.Status;
        snapshot.ClockPanel = shown.ClockPanel;
    }
    if (snapshot.Title.c_str()[0] == '\0') Copy(snapshot.Title, app::ProgramTitle);
    snapshot.SonglistSerial = songlist_->Serial();
    snapshot.NextSong = songlist_->NextTitle();
    if (app_.clock.ClockState == 0) snapshot.ClockPanel = 0;
    snapshot.Tempo = app_.clock.Tempo;
    const core::Options& options = app_.options;
    snapshot.PlayBoxes = {options.ChordInput, options.InstrumentKeys, options.HarmonicPad, options.MelodyAdLib,
                          options.SendChordCodes};
    snapshot.ChordCodeChannel = options.ChordCodeChannel;
    snapshot.Accompaniment = app_.transport.AccompanimentOn != 0;
    // The button offers the other state: "K" switches the accompaniment off, "A" on.
    Copy(snapshot.AccompanimentCaption, snapshot.Accompaniment ? "K" : "A");
    snapshot.Recording = app_.transport.ChordPlayMode > 0;
    snapshot.SongLoaded = !app_.arrangement.Chords.IsEmpty();
    snapshot.Playing = session_.Style().player.StyleActive != 0 || app_.transport.ChordPlayMode < 0;
    snapshot.SyncStart = (app_.options.SlaveMode && app_.clock.TickDelay != 0) || app_.transport.SyncStartArmed;
    Copy(snapshot.SongName, FileName(app_.arrangement.ArrangementPath));
    FillSongTitle(snapshot);
    snapshot.FirstChordKey = app_.chords.FirstKey;
    snapshot.SplitKey = app_.config.Keys.LastChordKey;
    snapshot.TransposeOctave = app_.engine.KeyboardOctave;
    snapshot.TransposeSemitones = app_.keyboard.CapoShift;
    snapshot.KeyboardLayout = app_.options.ComputerKeyboardLayout;
    Copy(snapshot.GuideText, guide_);
    snapshot.MelodyRecording = app_.melody.Recording;
    snapshot.MelodyPlayback = app_.melody.PlaybackOn;
    snapshot.MelodyHumanize = app_.melody.Humanize;
    for (std::size_t row = 0; row < snapshot.PadRowTypes.size(); ++row)
        Copy(snapshot.PadRowTypes[row], chords::TypeName(app_.chords.SlotMap.TypeOf(static_cast<int>(row) + 1)));
    // Outside slave mode a chord starts the style, except where chords only sound ("Play Chords").
    snapshot.SyncStartAvailable = app_.options.SlaveMode || !app_.options.PlayChords;
    FillClock(snapshot);
    FillOutput(snapshot);
    FillStyle(snapshot);
    FillMixer(snapshot);
}

void DesktopCore::FillClock(app::DisplaySnapshot& snapshot) const {
    FillMeasureAndBeat(session_, app_, snapshot, view_ != nullptr ? &view_->StylePosition() : nullptr);
    snapshot.NextChord.Set("", 0);
    if (app_.transport.ChordPlayMode >= 0) return;
    // The first chord after the one that sounds, within the next eight measures.
    const data::ArrangementState& song = app_.arrangement;
    const int units = app_.clock.MeasureUnits > 0 ? app_.clock.MeasureUnits : 16;
    const int end = std::min<int>(song.Chords.ChordMemoryLength, song.ChordMemoryPos + 8 * units + 4);
    for (int position = song.ChordMemoryPos + 4; position < end; position += 4) {
        const data::BeatRecord record = song.Chords.RecordAt(position);
        if (record.CommandCode == data::CommandStop) return;
        if (!data::StartsChord(record)) continue;
        chords::NameText name;
        name += chords::FlatNoteNames[static_cast<std::size_t>(chords::PitchClass(record.ChordRoot))];
        name += " ";
        name += chords::TypeName(data::DisplayChordType(record));
        Copy(snapshot.NextChord, name.View());
        return;
    }
}

void DesktopCore::FillSongTitle(app::DisplaySnapshot& snapshot) const {
    const data::ArrangementState& song = app_.arrangement;
    if (song.Chords.IsEmpty()) {
        snapshot.SongTitle.Set("", 0);
        return;
    }
    if (!song.Text.SongTitle.empty()) {
        Copy(snapshot.SongTitle, song.Text.SongTitle);
        return;
    }
    // A song without a title is called by its file's name; a new one has neither.
    std::string_view name = FileName(song.ArrangementPath);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    Copy(snapshot.SongTitle, name.empty() ? std::string_view("New song") : name);
}

void DesktopCore::FillOutput(app::DisplaySnapshot& snapshot) const {
    const midi::TMidiOutput* out = session_.CurrentOutput();
    snapshot.Output = app::OutputStatus::None;
    snapshot.OutputName.Set("", 0);
    if (out != nullptr) {
        Copy(snapshot.OutputName, out->DeviceID() == -1 ? std::string_view(BuiltInSynthName)
                                                         : std::string_view(out->ProductName()));
        if (out->IsOpen())
            snapshot.Output = out->Error() == 0 ? app::OutputStatus::Ready : app::OutputStatus::PortLost;
        else if (out->Error() == midi::result::NoAudioDevice)
            snapshot.Output = app::OutputStatus::NoAudioDevice;
    }
    const bool raised = app_.transport.RealtimeRaised;
    snapshot.Priority = !raised                         ? app::PriorityStatus::Normal
                        : platform::RealtimeWasDenied() ? app::PriorityStatus::Denied
                                                        : app::PriorityStatus::Realtime;
}

void DesktopCore::FillStyle(app::DisplaySnapshot& snapshot) const {
    const core::StyleContainer& container = session_.Style();
    const data::StyleState& style = container.style;
    const bool loaded = style.StyleLength > 0;
    for (std::size_t part = 0; part < snapshot.PartPresent.size(); ++part)
        snapshot.PartPresent[part] = loaded && style.Parts[part].Present();
    const bool active = container.player.StyleActive != 0;
    snapshot.Part = active ? container.player.CurrentSection : -1;
    snapshot.QueuedPart = -1;
    snapshot.Fading = active && container.player.FadeActive != 0;
    if (active) {
        // A control key's request comes first; else what the part's end leads to.
        const int request = container.sections.SectionRequest;
        const int next = container.sections.NextSection;
        if (request >= 0 && request < 8) snapshot.QueuedPart = request;
        else if (next >= 1 && next < 8 && next != snapshot.Part) snapshot.QueuedPart = next;
    }
    if (!loaded) {
        snapshot.StyleName.Set("", 0);
        snapshot.StyleFullName.Set("", 0);
        return;
    }
    Copy(snapshot.StyleFullName, style.StyleDisplayName);
    char label[32];
    const int length = std::snprintf(label, sizeof label, "%-.10s ...", style.StyleDisplayName.c_str());
    snapshot.StyleName.Set(label, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void DesktopCore::FillMixer(app::DisplaySnapshot& snapshot) const {
    const midi::ControllerTable& table = session_.Midi().Controllers();
    const data::InstrumentSet& set = app_.config.Instruments;
    const engine::EngineState& engine = app_.engine;
    for (int channel = 0; channel < app::MixerChannels; ++channel) {
        app::MixerChannelView& view = snapshot.Channels[static_cast<std::size_t>(channel)];
        view.Program = Known(table.Value(channel, midi::ControllerTable::ProgramIndex));
        view.Volume = Known(table.Value(channel, 7));
        view.Pan = Known(table.Value(channel, 10));
        view.Reverb = Known(table.Value(channel, 91));
        view.Chorus = Known(table.Value(channel, 93));
        view.Muted = engine.ChannelMute[static_cast<std::size_t>(channel)] != 0;
        view.Soloed = engine.SoloFilter == channel + 1;
        view.NoteOns = activity_->NoteOns(channel);
        if (channel == DrumChannel) {
            Copy(view.Instrument, DrumsName);
        } else if (view.Program >= 0 && static_cast<std::size_t>(view.Program) < set.ProgramCount()) {
            Copy(view.Instrument, set.Lines[static_cast<std::size_t>(view.Program)]);
        } else {
            view.Instrument.Set("", 0);
        }
    }
}

}  // namespace chordella::desktop
