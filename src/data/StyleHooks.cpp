#include "data/StyleHooks.h"

#include <algorithm>

namespace chordella::data {

void StyleHookList::Add(StyleHooks* hooks) {
    if (hooks && hooks != this && std::find(hooks_.begin(), hooks_.end(), hooks) == hooks_.end()) hooks_.push_back(hooks);
}

void StyleHookList::Remove(StyleHooks* hooks) {
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hooks), hooks_.end());
}

bool StyleHookList::RecordingRuns() {
    return std::any_of(hooks_.begin(), hooks_.end(), [](StyleHooks* h) { return h->RecordingRuns(); });
}

bool StyleHookList::ConfirmReplace(bool userStarted) {
    return std::all_of(hooks_.begin(), hooks_.end(), [&](StyleHooks* h) { return h->ConfirmReplace(userStarted); });
}

void StyleHookList::BeforeLoad() {
    for (StyleHooks* h : hooks_) h->BeforeLoad();
}

void StyleHookList::ApplyHeader(const StyleHeader& header, const StyleMeterChoice& meter) {
    for (StyleHooks* h : hooks_) h->ApplyHeader(header, meter);
}

int StyleHookList::MapProgram(int program) {
    for (StyleHooks* h : hooks_) {
        const int mapped = h->MapProgram(program);
        if (mapped != program) return mapped;
    }
    return program;
}

bool StyleHookList::Sc55InstrumentSet() {
    return std::any_of(hooks_.begin(), hooks_.end(), [](StyleHooks* h) { return h->Sc55InstrumentSet(); });
}

bool StyleHookList::IntroEnabled() {
    return std::any_of(hooks_.begin(), hooks_.end(), [](StyleHooks* h) { return h->IntroEnabled(); });
}

void StyleHookList::AfterLoad() {
    for (StyleHooks* h : hooks_) h->AfterLoad();
}

void StyleHookList::AfterReset() {
    for (StyleHooks* h : hooks_) h->AfterReset();
}

bool StyleHookList::ConvertForeignStyle(const std::string& path) {
    return std::any_of(hooks_.begin(), hooks_.end(), [&](StyleHooks* h) { return h->ConvertForeignStyle(path); });
}

}  // namespace chordella::data
