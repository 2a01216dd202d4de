#include "engine/ClockStyleLoad.h"

#include "core/Session.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/ClockTables.h"

namespace chordella::engine {

void ClockStyleLoad::BeforeLoad() {
    if (session_.Style().player.StyleActive != 0) engine_.Transport().StopTransport();
}

void ClockStyleLoad::ApplyHeader(const data::StyleHeader& header, const data::StyleMeterChoice& meter) {
    if (options_.TempoDetection && header.StyleTempo > 0) clock_.TempoFieldChanged(header.StyleTempo);
    const ClockState& clock = clock_.State();
    // The grid moves to the entry with the same numerator in the other half of the list.
    if (meter.EighthNotes && clock.MeterKind == MeterKind::Quarter) {
        clock_.SelectQuantize(clock.QuantizeIndex + QuantizeEighthOffset);
    } else if (!meter.EighthNotes && clock.MeterKind == MeterKind::Eighth) {
        clock_.SelectQuantize(clock.QuantizeIndex - QuantizeEighthOffset);
    }
    clock_.SetMeasureUnitsFromFile(meter.MeasureUnits);
}

void ClockStyleLoad::AfterLoad() {
    EngineState& e = engine_.State();
    e.VelocityLimit.fill(73);
    e.VelocityLimit[DrumChannel] = 100;
}

}  // namespace chordella::engine
