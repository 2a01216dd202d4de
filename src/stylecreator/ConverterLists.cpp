#include "stylecreator/ConverterLists.h"

#include <algorithm>

namespace chordella::stylecreator {

const std::array<std::array<int, ConverterListCount>, VariationSetCount> VariationSets = {{
    {0, 1, 0, 0, 0, 1, 0, 1},
    {0, 3, 2, 2, 0, 3, 0, 3},
    {1, 3, 1, 1, 1, 3, 1, 3},
    {0, 2, 0, 0, 0, 2, 0, 2},
    {1, 2, 1, 1, 1, 2, 1, 2},
    {1, 0, 2, 2, 1, 0, 1, 0},
}};

namespace {

constexpr std::array<int, ConverterListCount> PartIndexes = {1, 2, 0, 3, 4, 5, 6, 7};
constexpr std::array<int, ConverterListCount> Partners = {-1, 0, -1, -1, -1, 4, -1, 6};
constexpr int LeadingMarkers = 2;

bool Contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

bool IsFillList(int list) { return list >= static_cast<int>(ConverterList::FillInBasic); }

}  // namespace

int PartOfList(int list) { return list >= 0 && list < ConverterListCount ? PartIndexes[static_cast<std::size_t>(list)] : -1; }
int PartnerOfList(int list) { return list >= 0 && list < ConverterListCount ? Partners[static_cast<std::size_t>(list)] : -1; }

std::string SetItemText(int item) {
    if (item >= 0 && item < VariationSetCount) return "Style variations set No. " + std::to_string(item + 1);
    if (item == RandomSetItem) return "Choose variations set randomly";
    if (item == RandomPartsItem) return "Choose style parts randomly";
    return {};
}

std::string SectionEntry::Text() const {
    return Name + " : " + std::to_string(FirstMeasure) + " - " + std::to_string(LastMeasure);
}

std::string CreateButtonText(int setCount) { return "Create vxs-styles for " + std::to_string(setCount) + " sets"; }

void ConverterLists::Fill(const std::vector<data::SectionMarker>& markers) {
    for (auto& list : lists_) list.clear();
    for (std::size_t i = LeadingMarkers; i < markers.size(); ++i) {
        const data::SectionMarker& marker = markers[i];
        if (i + 1 < markers.size() && marker.StartMeasure > markers[i + 1].StartMeasure) continue;
        SectionEntry entry{marker.Text, marker.StartMeasure, std::max(marker.EndMeasure, marker.StartMeasure),
                           std::max(marker.StartBeat, 1)};
        auto add = [&](ConverterList list, const SectionEntry& e) { lists_[static_cast<std::size_t>(list)].push_back(e); };
        if (Contains(marker.Text, "Main")) {
            add(ConverterList::Basic, entry);
            add(ConverterList::Extended, entry);
        }
        if (Contains(marker.Text, "Intro")) add(ConverterList::Intro, entry);
        if (Contains(marker.Text, "Ending")) add(ConverterList::Ending, entry);
        if (Contains(marker.Text, "Fill")) {
            // A fill is offered as its first measure only.
            SectionEntry first = entry;
            first.LastMeasure = first.FirstMeasure;
            for (ConverterList list : {ConverterList::FillInBasic, ConverterList::FillInExtended,
                                       ConverterList::ToExtended, ConverterList::ToBasic})
                add(list, first);
        }
    }
    for (int list = 0; list < ConverterListCount; ++list) {
        const int size = static_cast<int>(lists_[static_cast<std::size_t>(list)].size());
        const bool second = list == static_cast<int>(ConverterList::Extended) ||
                            list == static_cast<int>(ConverterList::FillInExtended) ||
                            list == static_cast<int>(ConverterList::ToBasic);
        selected_[static_cast<std::size_t>(list)] = size == 0 ? -1 : (second && size >= 2 ? 1 : 0);
    }
}

void ConverterLists::Select(int list, int index) {
    if (list < 0 || list >= ConverterListCount) return;
    const int size = static_cast<int>(lists_[static_cast<std::size_t>(list)].size());
    selected_[static_cast<std::size_t>(list)] = index >= 0 && index < size ? index : -1;
}

int ConverterLists::Pick(int list, int wanted) const {
    const int size = static_cast<int>(lists_[static_cast<std::size_t>(list)].size());
    if (wanted < size) return wanted;
    const int partner = PartnerOfList(list);
    const int partnerChoice = partner < 0 ? -2 : selected_[static_cast<std::size_t>(partner)];
    for (int index = std::min(wanted, size) - 1; index >= 0; --index)
        if (index != partnerChoice) return index;
    return -1;
}

void ConverterLists::ChooseSet(int item, platform::Random& random) {
    if (item == RandomSetItem) item = random.Below(VariationSetCount);
    if (item < 0 || item >= VariationSetCount) return;
    // The lists are in an order where every partner comes before its part.
    for (int list = 0; list < ConverterListCount; ++list)
        selected_[static_cast<std::size_t>(list)] =
            Pick(list, VariationSets[static_cast<std::size_t>(item)][static_cast<std::size_t>(list)]);
}

void ConverterLists::ChooseRandomParts(platform::Random& random) {
    for (int list = 0; list < ConverterListCount; ++list) {
        const int size = static_cast<int>(lists_[static_cast<std::size_t>(list)].size());
        if (size == 0) continue;
        int& choice = selected_[static_cast<std::size_t>(list)];
        choice = random.Below(size);
        const int partner = PartnerOfList(list);
        if (partner < 0 || size < 2) continue;
        while (choice == selected_[static_cast<std::size_t>(partner)]) choice = random.Below(size);
    }
}

void ConverterLists::ShowRemembered(const Selections& remembered) {
    for (int list = 0; list < ConverterListCount; ++list) {
        const int size = static_cast<int>(lists_[static_cast<std::size_t>(list)].size());
        const int wanted = remembered[static_cast<std::size_t>(list)];
        selected_[static_cast<std::size_t>(list)] = size == 0 ? -1 : (wanted >= 0 && wanted < size ? wanted : 0);
    }
}

std::array<SectionRange, ConverterListCount> ConverterLists::ChosenRanges() const {
    std::array<SectionRange, ConverterListCount> ranges{};
    for (int list = 0; list < ConverterListCount; ++list) {
        const int choice = selected_[static_cast<std::size_t>(list)];
        if (choice < 0) continue;
        const SectionEntry& entry = lists_[static_cast<std::size_t>(list)][static_cast<std::size_t>(choice)];
        SectionRange range{entry.FirstMeasure, std::max(entry.LastMeasure, entry.FirstMeasure), entry.StartBeat};
        if (IsFillList(list)) range.Last = range.First;
        ranges[static_cast<std::size_t>(PartOfList(list))] = range;
    }
    return ranges;
}

}  // namespace chordella::stylecreator
