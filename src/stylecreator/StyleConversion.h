#pragma once
// Converting a keyboard style file of another maker into a style of ours: the file is
// imported into the creator's material, its section markers fill the converter's lists, a
// variations set picks a section for each of the eight parts, the parts are set and then
// converted in a fixed order with fixed generator settings.
//
// When the file carries a CASM channel table, each part keeps only the channels that play
// under a major chord (the chord our styles are written in); a kept channel moves to the
// output channel the table gives it, and its notes are converted from the source chord the
// table names instead of from chords detected in the material. Files without the table are
// converted from detected chords.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/Session.h"
#include "stylecreator/BassFinding.h"
#include "stylecreator/CasmChunk.h"
#include "stylecreator/ConverterLists.h"
#include "stylecreator/StyleCreator.h"

namespace chordella::stylecreator {

enum class ChannelFate { Kept, Moved, Dropped };

struct ChannelDecision {
    int Part = 0;
    int Channel = 0;            // 0-based, as in the file
    int Destination = 0;        // where it plays now (Moved); = Channel otherwise
    ChannelFate Fate = ChannelFate::Kept;
    std::string Reason;         // "plays under m, m7 only", "not in the channel table", …
};

struct ConvertedPart {
    int Part = 0;
    std::string Section;        // the marker's name
    int FirstMeasure = 0;
    int LastMeasure = 0;
    bool FromChannelTable = false;  // converted from the CASM source chords
};

struct SetReport {
    int SetItem = 0;
    std::vector<ConvertedPart> Parts;
    std::vector<ChannelDecision> Channels;
    std::vector<std::string> Warnings;
    // The bass of the converted style: where it plays and why it counts as the bass.
    BassFinding Bass;
    int BassMovedFrom = -1;     // the channel the bass rule moved it from to channel 11
    int ChannelsKept() const;
};

class StyleConversion {
public:
    StyleConversion(core::Session& session, StyleCreator& creator);

    // Control thread. Imports the foreign file without questions, reads its channel table and
    // fills the lists. False with the reason (the import's own message) when nothing was imported.
    bool Import(const std::string& path, std::string& error);

    StyleCreator& Creator() { return creator_; }
    ConverterLists& Lists() { return lists_; }
    const ConverterLists& Lists() const { return lists_; }
    ConverterOptions& Options() { return options_; }
    const ConverterOptions& Options() const { return options_; }
    const CasmTable& ChannelTable() const { return casm_; }
    // What the imported file lacks: "ends at byte 3000 inside Main B" for a file whose track
    // is cut short; empty for a whole file.
    const std::string& Damage() const { return damage_; }
    // Whether the channel table steers the conversion (on by default when the file has one).
    void UseChannelTable(bool use) { useCasm_ = use; }
    // Native play: parts steered by the channel table keep the maker's notes and every kept
    // channel takes its rules along (NativeRulesBuilt), to be transposed at play time.
    void KeepNotesForNativePlay(bool keep) { native_ = keep; }
    const data::NativeRules& NativeRulesBuilt() const { return nativeRules_; }
    // The selections of the last set conversion, kept for "Show previous variations set".
    const Selections& Remembered() const { return remembered_; }

    // Control thread. Converts the imported material for set item `item` (0 … 5, or the
    // random items) from the material as imported, and leaves the result as the creator's style.
    SetReport ConvertSet(int item, platform::Random& random);

    // The conversion run over the parts already set (also the creator's "Convert style with
    // options below" path when the caller passed the parts itself).
    void RunConversion(SetReport& report);

private:
    void RestoreImported();
    void ApplyChannelTable(SetReport& report);
    void PlaceBass(SetReport& report);
    void ShareTableWithSameMeasures();
    void ConvertFromTable(int part, ConvertMode mode, bool stylemode, SetReport& report);
    std::string SectionOf(int part) const;

    core::Session& session_;
    StyleCreator& creator_;
    ConverterLists lists_;
    ConverterOptions options_;
    CasmTable casm_;
    std::string damage_;
    bool useCasm_ = true;
    bool native_ = false;
    data::NativeRules nativeRules_;
    Selections remembered_{-1, -1, -1, -1, -1, -1, -1, -1};
    // The material and header as imported, so that every set starts from them.
    std::vector<std::uint8_t> importedMaterial_;
    std::int32_t importedSize_ = 0;
    data::StyleHeader importedHeader_;
    int measureUnits_ = 16;
    BassFinding tableBass_;   // the source channel the channel table sends to the bass part
    bool moved89_ = false;    // channel 9 joined channel 10
    // Per part and channel: converted from the table's source chord (root, chord kind); −1 = no.
    std::array<std::array<int, data::StyleChannels>, data::PartCount> tableRoot_{};
    std::array<std::array<int, data::StyleChannels>, data::PartCount> tableKind_{};
    std::array<bool, data::PartCount> fromTable_{};
};

// "Main A : 2 - 5 (CASM)"-style one-line summaries for reports.
std::string FateText(ChannelFate fate);

}  // namespace chordella::stylecreator
