#pragma once
// A style creator over an in-memory session, and material written into its work the way the
// import writes it: four beats per measure, a note on every beat.

#include <cstdint>
#include <vector>

#include "app/StateParts.h"
#include "data/CreatorWorkWriter.h"
#include "stylecreator/CreatorHost.h"
#include "stylecreator/PartSetter.h"
#include "stylecreator/StyleCreator.h"
#include "support/CreatorMaterial.h"
#include "support/StreamMessages.h"
#include "support/TestSession.h"

namespace chordella::testing {

inline stylecreator::PartRequest PartRange(data::StylePart part, int start, int end) {
    stylecreator::PartRequest request;
    request.Part = data::Index(part);
    request.StartMeasure = start;
    request.EndMeasure = end;
    return request;
}

struct CreatorFixture {
    CreatorFixture()
        : creator(*t.session, state, app::CreatorLiveStateOf(t.state)),
          host(creator),
          setter(Style(), Prompter(), host) {}

    data::StyleState& Style() { return t.session->Style().style; }
    data::CreatorWork& Work() { return t.session->Style().Work; }
    chordella::testing::ScriptedPrompter& Prompter() { return *t.prompter; }
    data::ChordMemory& Memory() { return t.state.arrangement.Chords; }
    std::vector<StreamMessage> Messages() { return StreamMessagesOf(data::FirstChunkMaterial(Work())); }
    // The key of the note-on (or of the note-off) at `tick` on `channel`; −1 where there is none.
    int Key(std::int64_t tick, int channel, bool on) {
        for (const StreamMessage& m : Messages())
            if (m.Tick == tick && (m.Status & 0x0F) == channel && ((m.Data2 > 0) == on)) return m.Data1;
        return -1;
    }
    const data::PartRecord& Part(data::StylePart part) { return Style().Parts[static_cast<std::size_t>(data::Index(part))]; }

    // `measures` of 4/4: on every beat a note-on (channel 1, key 60 + beat) that ends after
    // 12 ticks. `heldChannel` ≥ 0: that channel also holds one note from measure 2 to the end.
    void WriteMaterial(int measures, int heldChannel = -1) {
        CreatorMaterial material;
        if (heldChannel >= 0) material.Message(96, static_cast<std::uint8_t>(0x90 | heldChannel), 40, 90);
        for (int beat = 0; beat < 4 * measures; ++beat) material.Note(0, 60 + beat % 4, 24 * beat, 12);
        material.Into(Work(), 96 * measures);
        creator.RebuildBeatIndex();
    }

    // The part table's bytes, to compare states.
    std::vector<std::uint8_t> PartBytes() {
        const auto* begin = reinterpret_cast<const std::uint8_t*>(&Style().Parts);
        return {begin, begin + sizeof(data::PartTable)};
    }

    TestSession t;
    stylecreator::CreatorState state;
    stylecreator::StyleCreator creator;
    stylecreator::CreatorHost host;
    stylecreator::PartSetter setter;
};

}  // namespace chordella::testing
