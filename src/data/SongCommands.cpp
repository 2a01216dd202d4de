#include "data/SongCommands.h"

#include <algorithm>
#include <string_view>

#include "midi/PitchClass.h"

namespace chordella::data {

namespace {

constexpr std::array<std::string_view, 9> SectionKeyTexts = {
    "Fill In", "To Basic", "Ending", "To Ext.", "Intro", "PAD on", "PAD off", "Ext.", "Basic"};

constexpr std::array<std::string_view, 12> FlatNames = {"C",  "Db", "D",  "Eb", "E",  "F",
                                                        "Gb", "G",  "Ab", "A",  "Bb", "B"};
constexpr std::array<std::string_view, 12> SharpNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                         "F#", "G",  "G#", "A",  "A#", "B"};
// 1 = the key is written with sharps, by pitch class of the key.
constexpr std::array<std::uint8_t, 12> MajorKeySharps = {1, 0, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1};
constexpr std::array<std::uint8_t, 12> MinorKeySharps = {0, 1, 0, 0, 1, 0, 1, 0, 1, 1, 0, 1};

std::string SectionKeyText(int note, const SectionKeyNotes& keys) {
    for (std::size_t i = 0; i < keys.Notes.size(); ++i)
        if (keys.Notes[i] == note) return std::string(SectionKeyTexts[i]);
    return {};
}

std::string ChannelCommandText(int param) {
    if (param == 0) return "Play All";
    if (param <= 16) return "Solo C." + std::to_string(param);
    if (param == 220) return "Mute M.";
    if (param == 221) return "Play M.";
    if (param >= 222 && param <= 237) return "Mute C." + std::to_string(238 - param);
    if (param >= 239 && param <= 254) return "Play C." + std::to_string(255 - param);
    if (param == 255) return "Mute All";
    return {};
}

std::string TransposeText(int param) {
    if (param == 0) return "0 Up/Down";
    if (param <= 244) return std::to_string(param) + " Up";
    return std::to_string(256 - param) + " Down";
}

std::string LoopText(int param) {
    if (param <= LoopStartBase) return "LoopEnd";
    return "Loop " + std::to_string(param - LoopStartBase) + "x";
}

}  // namespace

SectionKeyNotes SectionKeyNotes::From(int fillIn, int toBasic, int ending, int toExt) {
    const int lowest = std::min({fillIn, toBasic, ending, toExt});
    return {{fillIn, toBasic, ending, toExt, lowest - 1, lowest - 2, lowest - 3, lowest - 4, lowest - 5}};
}

std::string KeyName(int pitchClass, bool minor, const CommandTextContext& context) {
    const auto key = static_cast<std::size_t>(midi::PitchClass(pitchClass));
    const bool sharps = context.SuppressSignChange ? context.SharpSpelling
                                                   : (minor ? MinorKeySharps[key] : MajorKeySharps[key]) != 0;
    return std::string(sharps ? SharpNames[key] : FlatNames[key]);
}

std::string CommandText(const BeatRecord& record, const CommandTextContext& context) {
    const int code = record.CommandCode;
    const int param = record.CommandParam;
    // Code 0 is no command, except as the key mark of C.
    switch (code) {
    case CommandMidi: return "Com." + std::to_string(param);
    case CommandMelodyProgram: return "Prog." + std::to_string(param);
    case CommandChannels: return ChannelCommandText(param);
    case CommandTranspose: return TransposeText(param);
    case CommandLoop: return LoopText(param);
    case CommandTempo: return "Tempo " + std::to_string(param);
    case CommandStop: return "STOP";
    default: break;
    }
    if (code >= 200) return {};
    if (param == ParamSectionKey && code > 0) return SectionKeyText(code, context.SectionKeys);
    if (param == ParamKeyMajor || param == ParamKeyMinor) {
        const bool minor = param == ParamKeyMinor;
        return "Key: " + KeyName(code + context.SongTranspose, minor, context) + (minor ? " min" : " maj");
    }
    return {};
}

std::uint8_t TransposeParam(int semitones) {
    return static_cast<std::uint8_t>(semitones < 0 ? 256 + std::max(semitones, -11) : std::min(semitones, 244));
}

int TransposeSemitones(std::uint8_t param) { return param < 245 ? param : param - 256; }

}  // namespace chordella::data
