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

void StyleLoadLinkList::ConfirmReplace(bool userStarted, std::function<void(bool)> then) {
    ConfirmFrom(hooks_, userStarted, std::move(then));
}

void StyleLoadLinkList::ConfirmFrom(std::vector<StyleLoadLink*> left, bool userStarted,
                                    std::function<void(bool)> then) {
    // A module that went away while an earlier one's question was open is not asked.
    const auto present = [this](StyleLoadLink* h) { return std::find(hooks_.begin(), hooks_.end(), h) != hooks_.end(); };
    while (!left.empty() && !present(left.front())) left.erase(left.begin());
    if (left.empty()) {
        then(true);
        return;
    }
    StyleLoadLink* next = left.front();
    left.erase(left.begin());
    next->ConfirmReplace(userStarted, [this, left = std::move(left), userStarted, then = std::move(then)](bool yes) mutable {
        if (!yes) {
            then(false);
            return;
        }
        ConfirmFrom(std::move(left), userStarted, std::move(then));
    });
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
