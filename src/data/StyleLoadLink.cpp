#include "data/StyleLoadLink.h"

#include <algorithm>

namespace chordella::data {

void StyleLoadLinkList::Add(StyleLoadLink* hooks) {
    if (hooks && hooks != this && std::find(hooks_.begin(), hooks_.end(), hooks) == hooks_.end()) hooks_.push_back(hooks);
}

void StyleLoadLinkList::Remove(StyleLoadLink* hooks) {
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hooks), hooks_.end());
}

bool StyleLoadLinkList::RecordingRuns() {
    return std::any_of(hooks_.begin(), hooks_.end(), [](StyleLoadLink* h) { return h->RecordingRuns(); });
}

bool StyleLoadLinkList::ConfirmReplace(bool userStarted) {
    return std::all_of(hooks_.begin(), hooks_.end(), [&](StyleLoadLink* h) { return h->ConfirmReplace(userStarted); });
}

void StyleLoadLinkList::BeforeLoad() {
    for (StyleLoadLink* h : hooks_) h->BeforeLoad();
}

void StyleLoadLinkList::ApplyHeader(const StyleHeader& header, const StyleMeterChoice& meter) {
    for (StyleLoadLink* h : hooks_) h->ApplyHeader(header, meter);
}

int StyleLoadLinkList::MapProgram(int program) {
    for (StyleLoadLink* h : hooks_) {
        const int mapped = h->MapProgram(program);
        if (mapped != program) return mapped;
    }
    return program;
}

bool StyleLoadLinkList::Sc55InstrumentSet() {
    return std::any_of(hooks_.begin(), hooks_.end(), [](StyleLoadLink* h) { return h->Sc55InstrumentSet(); });
}

bool StyleLoadLinkList::IntroEnabled() {
    return std::any_of(hooks_.begin(), hooks_.end(), [](StyleLoadLink* h) { return h->IntroEnabled(); });
}

void StyleLoadLinkList::AfterLoad() {
    for (StyleLoadLink* h : hooks_) h->AfterLoad();
}

void StyleLoadLinkList::AfterReset() {
    for (StyleLoadLink* h : hooks_) h->AfterReset();
}

bool StyleLoadLinkList::ConvertForeignStyle(const std::string& path) {
    return std::any_of(hooks_.begin(), hooks_.end(), [&](StyleLoadLink* h) { return h->ConvertForeignStyle(path); });
}

}  // namespace chordella::data
