#include "stylecreator/StyleCreator.h"

#include <algorithm>

namespace chordella::stylecreator {

StyleCreator::StyleCreator(core::Session& session, CreatorState& state) : session_(session), state_(state) {}

bool StyleCreator::HasWork() const { return session_.Style().Work.WorkLength > 0; }

int StyleCreator::MeasureUnits() const { return std::max<int>(4, session_.App().clock.MeasureUnits); }

void StyleCreator::RebuildBeatIndex() { beatIndex_ = BuildBeatIndex(session_.Style().Work); }

}  // namespace chordella::stylecreator
