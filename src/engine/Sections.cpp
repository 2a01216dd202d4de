#include "engine/Sections.h"

#include <algorithm>

#include "core/Session.h"
#include "engine/ChordChange.h"
#include "engine/Outputs.h"
#include "engine/StylePlayer.h"
#include "engine/TransportModulesLink.h"

namespace chordella::engine {

namespace {

constexpr int IntroPart = 0;
constexpr int BasicPart = 1;
constexpr int ExtendedPart = 2;
constexpr int EndingPart = 3;
constexpr int FillBasicPart = 4;
constexpr int FillExtendedPart = 5;
constexpr int ToExtendedPart = 6;
constexpr int ToBasicPart = 7;

std::int16_t ToInt16(long value) {
    return static_cast<std::int16_t>(std::clamp<long>(value, INT16_MIN, INT16_MAX));
}

}  // namespace

bool Sections::Present(int part) const {
    if (part < 0 || part >= data::PartCount) return false;
    const data::StyleState& style = LoadedStyle(session_);
    const data::PartRecord& record = style.Parts[static_cast<std::size_t>(part)];
    // A part whose range does not lie inside the loaded stream counts as absent.
    return record.Present() && style.StreamBytes() != nullptr && record.RangeStart >= 0 &&
           record.RangeStart <= record.RangeEnd && record.RangeEnd <= style.StyleLength;
}

int Sections::PresentFallback(int section) const {
    int part = section;
    for (;;) {
        if (Present(part)) return part;
        if (part == FillExtendedPart) {
            part = ExtendedPart;
        } else if (part == ToExtendedPart) {
            part = BasicPart;
        } else {
            return -1;
        }
    }
}

int Sections::StyleBeatsPerMeasure() const {
    const ClockState& clock = clockState_;
    const int ticksPerBeat = clock.TicksPerBeat > 0 ? clock.TicksPerBeat : 24;
    return std::max(1, clock.MeasureUnits * 6 / ticksPerBeat);
}

bool Sections::SwitchSection(int section) {
    StylePlayerState& player = session_.Style().player;
    SectionState& sections = session_.Style().sections;
    EngineState& e = engineState_;
    const core::Options& options = options_;

    SendDrumNoteOffsDue(session_, engineState_);
    ChordChange(session_, engineState_, options_, AllChannels, e.StyleRoot, e.StyleType, true, true);
    if (section == EndingPart) {
        sections.NextSection = NextLoop;
        if (e.InstrumentPadOn != 0 && options.PadMuteAtIntrosAndEndings) {
            ResetChannel(session_.AccompanimentOutput(), options.PadChannel & 0x0F);
        }
        if (!options.PlayEnding || !Present(EndingPart)) {
            // The main part plays on and fades out instead.
            player.FadeActive = 1;
            player.FadeAmount = 0;
            section = sections.ReturnSection;
        }
    }
    const int part = PresentFallback(section);
    if (part < 0) {
        session_.Display().ShowPartSelector(section, true);
        return false;
    }
    const data::PartRecord& record = LoadedStyle(session_).Parts[static_cast<std::size_t>(part)];
    player.CurrentSection = static_cast<std::int16_t>(part);
    std::int16_t next = NextSectionTable[static_cast<std::size_t>(part)];
    if (next == NextReturn) {
        next = record.FollowUpCode == data::followup::Variation ? NextLoop : sections.ReturnSection;
    } else {
        sections.ReturnSection = static_cast<std::int16_t>(part == IntroPart ? BasicPart : part);
    }
    sections.NextSection = next;

    player.LoopStart = record.RangeStart;
    player.LoopEnd = record.RangeEnd;
    sections.PartFirstBeat = ToInt16((record.StartMeasure - 1L) * clockState_.MeasureUnits + 4);
    if (!options.MixerMuteLock) e.ChannelMute = record.PartMute;
    if (part >= FillBasicPart && player.StyleBeat >= 1 && player.StyleBeat <= 3) {
        // A fill started inside a measure begins at the matching beat of its pattern.
        const std::int32_t offsets[3] = {record.Beat2Offset, record.Beat3Offset, record.Beat4Offset};
        const std::int32_t offset = offsets[player.StyleBeat - 1];
        if (offset > record.RangeStart && offset < record.RangeEnd) player.LoopStart = offset;
    }
    player.SectionJustChanged = 1;
    player.BufferIndex = 0;
    player.WaitTicks = 0;
    player.StylePos = player.LoopEnd + SectionSwitchMarker;
    session_.Display().ShowPartSelector(part, false);
    return true;
}

void Sections::StartNow() {
    StylePlayerState& player = session_.Style().player;
    SectionState& sections = session_.Style().sections;
    player.StylePos = player.LoopStart;
    player.WaitTicks = 0;
    sections.PartBeatCounter = sections.PartFirstBeat;
}

void Sections::SectionStep() {
    StylePlayerState& player = session_.Style().player;
    SectionState& sections = session_.Style().sections;
    if (!player.StyleMode || player.BufferIndex != 0) return;

    // A requested ending starts at the next measure of the style.
    if (sections.NextSection == EndingPart && player.StyleBeat == 0) {
        SendDrumNoteOffsDue(session_, engineState_);
        player.StylePos = player.LoopEnd;
    }
    if (player.StylePos >= player.LoopEnd) {
        const bool realEnd = player.StylePos < player.LoopEnd + SectionSwitchMarker;
        if (realEnd) SendDrumNoteOffsDue(session_, engineState_);
        if (realEnd) {
            if (sections.NextSection == NextLoop) {
                player.SectionJustChanged = 0;
            } else {
                if (sections.NextSection == NextStop) {
                    player.StopAtNextTick = 1;
                    return;
                }
                SwitchSection(sections.NextSection);
            }
        }
        if (player.LoopStart < player.LoopEnd) {
            if (realEnd) {
                const EngineState& e = engineState_;
                ChordChange(session_, engineState_, options_, AllChannels, e.StyleRoot, e.StyleType, true, false);
            }
            player.StylePos = player.LoopStart;
            sections.PartBeatCounter = sections.PartFirstBeat;
        }
    }
    session_.Display().ShowPartBeat(sections.PartBeatCounter, player.StyleBeat == 0);
    sections.PartBeatCounter = ToInt16(sections.PartBeatCounter + 4L);
    player.StyleBeat = static_cast<std::int16_t>((player.StyleBeat + 1) % StyleBeatsPerMeasure());
}

int Sections::RequestForFillKey() const {
    const int current = session_.Style().player.CurrentSection;
    int request = current == ExtendedPart || current == FillExtendedPart ? FillExtendedPart : FillBasicPart;
    if (!Present(request)) {
        request = request == FillBasicPart ? FillExtendedPart : FillBasicPart;
    } else if (LoadedStyle(session_).Parts[static_cast<std::size_t>(request)].FollowUpCode ==
               data::followup::Variation) {
        // The fill slot holds a variation: the key leads back from it to the main part.
        if (current == FillBasicPart) request = BasicPart;
        if (current == FillExtendedPart) request = ExtendedPart;
    }
    return request;
}

int Sections::RequestForToExtendedKey() const {
    return Present(ExtendedPart) ? ToExtendedPart : ToBasicPart;
}

void Sections::ApplyRequest() {
    SectionState& sections = session_.Style().sections;
    if (clockState_.TickInBeat != 1 || sections.SectionRequest == NoSectionRequest ||
        !session_.Style().player.StyleMode) {
        return;
    }
    const int request = sections.SectionRequest;
    if (Present(request)) {
        SwitchSection(request);
    } else if (request == ToExtendedPart && Present(ExtendedPart)) {
        SwitchSection(ExtendedPart);
    }
    if (request == ToBasicPart && !Present(ToBasicPart)) {
        if (!Present(ExtendedPart) && Present(FillBasicPart)) {
            SwitchSection(FillBasicPart);
        } else if (Present(ExtendedPart) && Present(BasicPart)) {
            SwitchSection(BasicPart);
        }
    }
    sections.SectionRequest = NoSectionRequest;
}

}  // namespace chordella::engine
