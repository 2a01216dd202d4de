#pragma once
// The one loaded style and its in-memory companions, a member of the style container.
// Written by the style loader (data), the style creator and the mixer; read by the engine
// and the transport.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "data/NativeRules.h"
#include "data/StyleModel.h"
#include "data/StyleStream.h"

namespace chordella::data {

struct StyleState {
    StyleHeader Header;
    PartTable Parts{};
    StreamChain Stream;                  // the event stream; a loaded style lies in buffer 0
    std::unique_ptr<std::uint8_t[]> StyleBackup;  // StreamCapacity bytes: the stream as loaded
    std::int32_t StyleLength = 0;        // stream bytes loaded; 0 = no style
    std::array<PartBound, PartCount> PartBounds{};
    // Per part and channel: 1 = every note-on of the channel inside the part ends inside it.
    std::array<std::array<std::uint8_t, StyleChannels>, PartCount> NotesEndInPart{};
    std::string StylePath;               // full path of the loaded file
    std::string StyleDirectory;          // folder of the last style the user opened
    std::uint8_t StyleLoaded = 0;        // 1 once a style file has been loaded
    std::uint8_t StyleModified = 0;      // 1 after a change by the creator or mixer
    std::string StyleDisplayName;        // "Rock&roll" for ROCK&ROLL.vxs
    // The name as window captions show it: "&" doubled, " / Var.Basic" or " / Var.Extended" added.
    std::string StyleCaptionName;
    int SelectedPart = Index(StylePart::Basic);  // the part selector's choice after a load
    // A foreign style played by its channel table: the rules per part and channel.
    NativeRules Native;

    // True once the stream and backup buffers exist (they are made once and reused).
    bool BuffersReady() const { return Stream.Allocated() && StyleBackup != nullptr; }
    // The first buffer's bytes (StreamCapacity of them), nullptr before the buffers exist.
    const std::uint8_t* StreamBytes() const { return Stream.Buffer(0); }
    std::uint8_t* StreamBytes() { return Stream.Buffer(0); }
};

}  // namespace chordella::data
