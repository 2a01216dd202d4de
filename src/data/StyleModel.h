#pragma once
// The in-memory layout of a style: the style header (the initial set-up of the 16 MIDI
// channels and a few style-wide values), the part table (where each of the eight parts lies
// in the event stream) and the sizes of the three blocks as they are stored in a .vxs file.
// Field names and widths follow the file: every value here is stored little-endian.

#include <array>
#include <cstdint>
#include <string_view>

namespace chordella::data {

inline constexpr int StyleChannels = 16;
inline constexpr int ChannelSetupSize = 98;      // bytes 0 … 95 controllers, 96 program, 97 pressure
inline constexpr int SetupProgramIndex = 96;
inline constexpr int SetupPressureIndex = 97;
inline constexpr std::uint8_t SetupNotSet = 255;
inline constexpr int StyleHeaderSize = 1593;
inline constexpr int PartCount = 8;
inline constexpr int PartRecordSize = 66;
inline constexpr int PartTableSize = PartCount * PartRecordSize;  // 528
inline constexpr int StreamCapacity = 165500;    // bytes of one stream buffer
inline constexpr int MaxStreamBuffers = 7;       // buffers the style creator may chain
// A .vxs file may begin with a 4-byte tag; its first dword (signed, little-endian) is then at
// least this value. Files without the tag begin with channel 1's set-up.
inline constexpr std::int32_t StyleFileTagMinimum = 0x02736F2A;
inline constexpr std::int32_t StyleFileTagWritten = 0x02736F2A;
inline constexpr int StyleFileTagSize = 4;

// The part index, used everywhere: part table, part selector, engine.
enum class StylePart : int {
    Intro = 0,
    Basic = 1,
    Extended = 2,
    Ending = 3,
    FillInBasic = 4,
    FillInExtended = 5,
    ToExtended = 6,
    ToBasic = 7,
};

constexpr int Index(StylePart part) { return static_cast<int>(part); }

// FollowUpCode values as stored in a part record.
namespace followup {
inline constexpr std::uint16_t Repeat = 0;           // Basic and Extended loop
inline constexpr std::uint16_t ContinueBasic = 1;
inline constexpr std::uint16_t ContinueExtended = 2;
inline constexpr std::uint16_t Variation = 253;      // fill slot 4 or 5 holding a variation
inline constexpr std::uint16_t Stop = 254;           // Ending
inline constexpr std::uint16_t BackToMain = 255;     // fills return to the main part
}  // namespace followup

// The default FollowUpCode of each part index.
std::uint16_t DefaultFollowUpCode(int partIndex);
// The part selector's texts, each with a leading blank: " Intro", " Basic", …
std::string_view PartSelectorText(int partIndex);

// The controllers the mixer shows and copies when a channel's set-up moves to another
// channel, in this order (the last two are the program and channel-pressure bytes).
inline constexpr std::array<int, 13> MixerSetupIndexes = {0, 32, 1, 7, 10, 11, 64, 66, 67, 91, 93, 96, 97};

using ChannelSetupRow = std::array<std::uint8_t, ChannelSetupSize>;

// 1593 bytes in the file.
struct StyleHeader {
    std::array<ChannelSetupRow, StyleChannels> ChannelSetup;  // element 0 = channel 1; 255 = not set
    std::array<std::uint8_t, StyleChannels> ChannelUsed;      // 1 = the channel plays a note somewhere
    std::int16_t StyleTempo = 0;                              // beats per minute
    std::int16_t IntroMeasures = 0;                           // start of the transport's measure counter for the intro
    std::int16_t StyleMeter = 0;                              // measure length in units (4 per quarter); < 0 eighth-note meter; 0 = 16
    std::uint8_t ConvertedFlag = 0;                           // 1 = made by the converter, not yet re-set
    std::uint8_t SuppressControllers = 0;                     // "Suppress all Style Controllers"
    std::uint8_t ClearSuppressOnLoad = 0;                     // non-zero: loading clears SuppressControllers

    StyleHeader() { Reset(); }
    // A fresh header: every set-up byte 255, no channel used, the values after it 0.
    void Reset();
};

// 66 bytes in the file. Offsets are stream offsets (of the first buffer).
struct PartRecord {
    std::int16_t StartMeasure = 0;     // 1-based; ≥ 1 = the part is present, 0 = absent
    std::int16_t EndMeasure = 0;
    std::int16_t StartBeat = 0;        // 1-based beat inside StartMeasure
    std::int16_t LengthMeasures = 0;   // EndMeasure − StartMeasure + 1
    std::int32_t RangeStart2 = 0;      // written equal to RangeStart
    std::int32_t RangeStart = 0;       // offset of the part's first event
    std::int32_t RangeEnd = 0;         // offset of the part's end (the engine loops when it reaches it)
    std::uint16_t FollowUpCode = 0;
    std::int32_t Beat2Offset = 0;      // offset + 1 of the wait that reaches the 2nd beat from StartBeat
    std::int32_t Beat3Offset = 0;
    std::int32_t Beat4Offset = 0;
    std::array<std::uint8_t, StyleChannels> PartMute{};   // 1 = channel muted while this part plays
    std::array<std::uint8_t, StyleChannels> CutNotes{};   // 1 = "Cut Notes" when the part ends

    bool Present() const { return StartMeasure >= 1; }
};

using PartTable = std::array<PartRecord, PartCount>;

// (StartMeasure, EndMeasure) of a part as loaded, for "Restore".
struct PartBound {
    std::int16_t StartMeasure = 0;
    std::int16_t EndMeasure = 0;
};

}  // namespace chordella::data
