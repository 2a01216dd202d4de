#include "data/StyleModel.h"

namespace chordella::data {

namespace {
constexpr std::array<std::uint16_t, PartCount> DefaultFollowUps = {
    followup::ContinueBasic, followup::Repeat,     followup::Repeat,           followup::Stop,
    followup::BackToMain,    followup::BackToMain, followup::ContinueExtended, followup::ContinueBasic};
constexpr std::array<std::string_view, PartCount> SelectorTexts = {
    " Intro", " Basic", " Extended", " Ending", " Fill in Basic", " Fill in Extended", " To Extended", " To Basic"};
}  // namespace

std::uint16_t DefaultFollowUpCode(int partIndex) {
    if (partIndex < 0 || partIndex >= PartCount) return followup::Repeat;
    return DefaultFollowUps[static_cast<std::size_t>(partIndex)];
}

std::string_view PartSelectorText(int partIndex) {
    if (partIndex < 0 || partIndex >= PartCount) return {};
    return SelectorTexts[static_cast<std::size_t>(partIndex)];
}

void StyleHeader::Reset() {
    for (auto& row : ChannelSetup) row.fill(SetupNotSet);
    ChannelUsed.fill(0);
    StyleTempo = 0;
    IntroMeasures = 0;
    StyleMeter = 0;
    ConvertedFlag = 0;
    SuppressControllers = 0;
    ClearSuppressOnLoad = 0;
}

}  // namespace chordella::data
