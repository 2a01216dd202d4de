#include "engine/ChordChange.h"

#include "core/Session.h"
#include "engine/ChordShift.h"
#include "engine/NativeTransposition.h"
#include "engine/Outputs.h"

namespace chordella::engine {

namespace {

constexpr int AllSoundOff = 120;
constexpr int AllNotesOff = 123;

struct ChannelRelease {
    core::Session& Session;
    EngineState& Engine;
    midi::MidiOut* Out;
    int ReleaseController;
    bool MinusOne;
    int Smartness;  // the "strong --> smart" slider, 0 … 2
};

// Minus One keeps the notes the player holds on his own channel sounding: only the
// style's other notes there are ended, one by one.
void ReleaseAroundPlayer(const ChannelRelease& r, int channel) {
    const EngineState& e = r.Engine;
    const auto c = static_cast<std::size_t>(channel);
    for (std::size_t n = 0; n < 128; ++n) {
        if (e.VelocityMap[c][n] != 0 && e.NoteMap[c][n] != e.HeldNotes[n]) {
            Send(r.Out, 0x90 + channel, e.NoteMap[c][n], 0);
        }
    }
}

void Revoice(EngineState& e, midi::MidiOut* out, int channel, int root, int type) {
    const auto c = static_cast<std::size_t>(channel);
    const TransposeSettings settings{e.OctaveShift, e.OctaveThreshold, false};
    for (std::size_t n = 0; n < 128; ++n) {
        const std::uint8_t velocity = e.VelocityMap[c][n];
        if (velocity == 0) continue;
        const std::uint8_t note = TransposeNote(static_cast<int>(n), root, type, settings);
        Send(out, 0x90 + channel, note, velocity);
        e.NoteMap[c][n] = note;
        e.ChannelSounding[c] = 1;
    }
}

// A channel played by its channel-table rules: each sounding note stops, or sounds again
// on its new key (the channel's pitch shifts are played as a new attack), or on the root.
void Retrigger(EngineState& e, midi::MidiOut* out, int channel, int root, int type,
               const data::NativeChannelRules& rules) {
    const auto c = static_cast<std::size_t>(channel);
    for (std::size_t n = 0; n < 128; ++n) {
        const std::uint8_t velocity = e.VelocityMap[c][n];
        if (velocity == 0) continue;
        const data::NoteRangeRules& range = rules.RangeFor(static_cast<int>(n));
        std::uint8_t note = 0;
        switch (range.Retrigger) {
            case data::RetriggerRule::Stop: e.VelocityMap[c][n] = 0; continue;
            case data::RetriggerRule::PitchShiftToRoot:
            case data::RetriggerRule::RetriggerToRoot: note = RootNear(e.NoteMap[c][n], root, range); break;
            default: note = NativeTranspose(static_cast<int>(n), rules, root, type, e.OctaveShift); break;
        }
        Send(out, 0x90 + channel, note, velocity);
        e.NoteMap[c][n] = note;
        e.ChannelSounding[c] = 1;
    }
}

void ChangeChannel(const ChannelRelease& r, int channel, int root, int type, bool releaseOnly,
                   bool sectionSwitch) {
    core::Session& session = r.Session;
    EngineState& e = r.Engine;
    const auto c = static_cast<std::size_t>(channel);
    const data::StyleState& style = LoadedStyle(session);
    const int part = session.Style().player.CurrentSection;
    const bool partKnown = part >= 0 && part < data::PartCount;
    const bool cutNotes = partKnown && style.Parts[static_cast<std::size_t>(part)].CutNotes[c] != 0;
    const bool notesEnd = !partKnown || style.NotesEndInPart[static_cast<std::size_t>(part)][c] != 0;

    e.ChannelSounding[c] = 0;
    const bool sustained = IsSustainedProgram(session.Controllers().Value(channel, midi::ControllerTable::ProgramIndex));
    if (r.Smartness == 2) Send(r.Out, 0xE0 + channel, 0, 64);
    if (r.ReleaseController == AllNotesOff && ((sustained && cutNotes) || (sectionSwitch && !notesEnd))) {
        Send(r.Out, 0xB0 + channel, 64, 0);
        Send(r.Out, 0xB0 + channel, 66, 0);
    }
    if (r.MinusOne && channel == e.VoiceChannel && !sustained) {
        ReleaseAroundPlayer(r, channel);
    } else {
        Send(r.Out, 0xB0 + channel, r.ReleaseController, 0);
    }
    const data::NativeChannelRules* native = partKnown ? NativeRulesOf(style.Native, part, channel) : nullptr;
    if (native != nullptr) {
        if (!releaseOnly) Retrigger(e, r.Out, channel, root, type, *native);
    } else if (!releaseOnly && sustained && !cutNotes) {
        Revoice(e, r.Out, channel, root, type);
    }
}

}  // namespace

void ChordChange(core::Session& session, EngineState& e, const core::Options& options, int channel, int root, int type,
                 bool releaseOnly, bool sectionSwitch) noexcept {
    const auto rootByte = static_cast<std::uint8_t>(root & 0xFF);
    const auto typeByte = static_cast<std::uint8_t>(type & 0xFF);
    if (!releaseOnly && rootByte == e.LastChangeRoot && typeByte == e.LastChangeType) return;

    const ChannelRelease release{session, e, session.AccompanimentOutput(),
                                 options.StyleChordChanges <= 0 ? AllSoundOff : AllNotesOff, options.MinusOne,
                                 options.StyleChordChanges};
    const data::StyleState& style = LoadedStyle(session);
    const int first = channel >= AllChannels || channel < 0 ? 0 : channel;
    const int last = channel >= AllChannels || channel < 0 ? AllChannels - 1 : channel;
    for (int c = first; c <= last; ++c) {
        const auto i = static_cast<std::size_t>(c);
        if (c == DrumChannel || e.ChannelMute[i] != 0 || style.Header.ChannelUsed[i] == 0 ||
            e.ChannelSounding[i] == 0) {
            continue;
        }
        ChangeChannel(release, c, root, type, releaseOnly, sectionSwitch);
    }
    if (releaseOnly) {
        // Drum notes are not released by a change, so their entries stay: the stream's
        // note-off or a stop still ends them.
        for (std::size_t c = 0; c < e.VelocityMap.size(); ++c) {
            if (static_cast<int>(c) != DrumChannel) e.VelocityMap[c].fill(0);
        }
        e.ChannelSounding.fill(0);
    }
    e.LastChangeRoot = rootByte;
    e.LastChangeType = typeByte;
}

int ReleaseWhatSounds(core::Session& session, EngineState& e, MelodyState& melody, const core::Options& options,
                      midi::MidiOut* out) noexcept {
    const data::StyleState& style = LoadedStyle(session);
    const bool open = IsOpen(out);
    const bool centreBend = options.StyleChordChanges == 2;
    int sent = 0;
    for (std::size_t c = 0; c < static_cast<std::size_t>(ChannelCount); ++c) {
        const int channel = static_cast<int>(c);
        bool used = style.Header.ChannelUsed[c] != 0 || e.ChannelSounding[c] != 0;
        for (std::size_t n = 0; n < 128; ++n) {
            if (e.VelocityMap[c][n] != 0) {
                Send(out, 0x90 + channel, e.NoteMap[c][n], 0);
                sent += open ? 1 : 0;
                used = true;
            }
            if (melody.Sounding[c][n] != 0) {
                Send(out, 0x90 + channel, static_cast<int>(n), 0);
                sent += open ? 1 : 0;
                used = true;
            }
        }
        if (!open) continue;
        if (!used) {
            // A note can sound on a channel the style does not declare (a stream that plays
            // on it, a chord the voice channel holds): one All Notes Off ends what the note
            // maps do not know, and keeps Stop within 4 messages a channel.
            Send(out, 0xB0 + channel, 123, 0);
            ++sent;
            continue;
        }
        if (centreBend) {
            Send(out, 0xE0 + channel, 0, 64);
            ++sent;
        }
        ResetChannel(out, channel);
        sent += 4;
    }
    for (auto& row : e.NoteMap) row.fill(0);
    for (auto& row : e.VelocityMap) row.fill(0);
    for (auto& row : melody.Sounding) row.fill(0);
    e.ChannelSounding.fill(0);
    return sent;
}

void ResetAllChannels(EngineState& e, midi::MidiOut* out) noexcept {
    for (int c = 0; c < ChannelCount; ++c) ResetChannel(out, c);
    for (auto& row : e.NoteMap) row.fill(0);
    for (auto& row : e.VelocityMap) row.fill(0);
    e.ChannelSounding.fill(0);
}

}  // namespace chordella::engine
