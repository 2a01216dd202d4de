#pragma once
// The volume tools of a loaded style: normalising every channel's volume to a target level
// (through a fixed curve, with the original volumes kept for restoring), restoring them, and
// the style-wide volume and reverb offsets.

#include <array>
#include <cstdint>

#include "stylecreator/ChannelRoles.h"
#include "stylecreator/ChannelRulesLink.h"

namespace chordella::stylecreator {

// Output of the volume curve for input `volume`.
int VolumeCurve(int volume);

inline constexpr int MaxNormaliseTarget = 120;
inline constexpr int MainWindowNormaliseTarget = 90;

// Belongs to the loaded style: reset it (= {}) whenever a style is loaded.
struct NormalisationState {
    std::array<std::uint8_t, data::StyleChannels> SavedVolumes{};  // 0 = nothing saved for the channel
    bool Normalised = false;
    int ReferenceLevel = 0;
    int VolumeOffset = 0;    // "Style Volume Offset : " total
    int ReverbOffset = 0;    // "Style Reverb Offset : " total
};

struct NormaliseSettings {
    int Target = MainWindowNormaliseTarget;
    bool SoloOnChannel1 = false;
    bool DampenGuitarsAndStrings = false;
    int SoloChannel = -1;        // the main window's solo channel (0-based), −1 = none
    int CurrentChannel = -1;     // the mixer's current channel, left out of the average
};

struct NormaliseResult {
    int Offset = 0;              // target − reference level
    int StyleVolumeOffset = 0;   // the style offset applied afterwards (0 = none)
    int BassChannel = -1;
};

// Control thread. Normalises the style's channel volumes (see the .cpp for the steps). The
// style's modified flag is left as it was.
NormaliseResult NormaliseVolumes(data::StyleState& style, const ChannelNames& names, NormalisationState& state,
                                 const NormaliseSettings& settings, ChannelRulesLink& link);

// Control thread. Puts the saved volumes back (nothing before a normalisation). True when it did.
bool RestoreVolumes(data::StyleState& style, NormalisationState& state, bool soloOnChannel1, ChannelRulesLink& link);

// Special offsets: every channel's reverb to 0, or to the stored reverb values.
inline constexpr int ReverbToZero = 128;
inline constexpr int ReverbToDefined = 129;
enum class OffsetKind { Volume, Reverb };
struct DefinedReverb {
    int Channel10 = 0;
    int Others = 0;
};
// Control thread. Adds `amount` to controller 7 (only set values) or 91 (unset counts as 64)
// of every used channel, within 0 … 127; ReverbToZero and ReverbToDefined set the reverb
// instead and leave the totals alone.
void AddStyleOffset(data::StyleState& style, NormalisationState& state, OffsetKind kind, int amount,
                    const DefinedReverb& defined, ChannelRulesLink& link);

// "Style Volume Offset : 3", "Style Reverb Offset : -2".
std::string VolumeOffsetText(const NormalisationState& state);
std::string ReverbOffsetText(const NormalisationState& state);

}  // namespace chordella::stylecreator
