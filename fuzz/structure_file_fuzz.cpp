// The structure file "Style.src" is a text the user edits: whatever it holds is read and
// applied to a small material, for both layouts and with the converter's 2/4 adjustment,
// without touching anything outside the material.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/RecordingPrompter.h"
#include "stylecreator/StructureApply.h"

namespace {

using namespace chordella;

// Eight measures of 4/4 with a note on every beat.
class FuzzHost final : public stylecreator::CreatorHostLink {
public:
    FuzzHost() {
        for (int beat = 0; beat < 32; ++beat) {
            for (std::uint8_t b : {std::uint8_t{0x90}, std::uint8_t{60}, std::uint8_t{100}, std::uint8_t{0xFF},
                                   std::uint8_t{0xFB}, std::uint8_t{0x90}, std::uint8_t{60}, std::uint8_t{0},
                                   std::uint8_t{0xFF}, std::uint8_t{0xFB}})
                bytes_.push_back(b);
        }
        bytes_.push_back(0);
    }
    std::span<std::uint8_t> Material() override { return bytes_; }
    int MeasureUnits() override { return 16; }
    int MeasuresAvailable() override { return 8; }
    bool CreatorPlaying() override { return false; }
    void StopPlayback() override {}
    void StartPlayback() override {}
    void ShowStatus(const std::string&) override {}

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (auto which : {stylecreator::StructureStyle::A, stylecreator::StructureStyle::B}) {
        stylecreator::StructureData structure = stylecreator::ParseStructure(text, which);
        if (which == stylecreator::StructureStyle::B) stylecreator::AdjustRangesForTwoFour(structure);
        FuzzHost host;
        platform::RecordingPrompter prompter;
        data::StyleState style;
        stylecreator::PartSetter setter(style, prompter, host);
        stylecreator::ChannelFlags mutes{};
        stylecreator::ApplyStructure(structure, setter, style, host, mutes, prompter, which == stylecreator::StructureStyle::B);
        const auto end = static_cast<std::int32_t>(host.Material().size());
        for (const data::PartRecord& part : style.Parts) {
            if (!part.Present()) continue;
            if (part.RangeStart < 0 || part.RangeEnd > end || part.RangeStart > part.RangeEnd) __builtin_trap();
        }
    }
    return 0;
}
