#include "remote/RemoteBindings.h"

#include <charconv>
#include <sstream>

#include "midi/MidiStatus.h"
#include "remote/RemoteFunctions.h"

namespace chordella::remote {

namespace {

using midi::status::NoteOff;
using midi::status::NoteOn;
using midi::status::ControlChange;
using midi::status::ProgramChange;
constexpr int PedalDown = 64;
constexpr int SustainPedal = 64;
constexpr int SostenutoPedal = 66;
constexpr int SoftPedal = 67;

std::string_view KindWord(BindingKind kind) {
    switch (kind) {
    case BindingKind::Note: return "note";
    case BindingKind::Controller: return "cc";
    case BindingKind::Program: return "program";
    }
    return "cc";
}

std::optional<int> Number(std::string_view word) {
    int value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

}  // namespace

bool Binding::SameMessage(const Binding& other) const {
    return Kind == other.Kind && Channel == other.Channel && Number == other.Number;
}

RemoteBindings RemoteBindings::FootSwitchDefaults() {
    RemoteBindings defaults;
    defaults.Bind({BindingKind::Controller, -1, SustainPedal, function::StartStop});
    defaults.Bind({BindingKind::Controller, -1, SostenutoPedal, NextSectionFunction});
    defaults.Bind({BindingKind::Controller, -1, SoftPedal, NextSongFunction});
    return defaults;
}

void RemoteBindings::Bind(const Binding& binding) {
    for (std::size_t i = 0; i < list_.size(); ++i) {
        if (list_[i].SameMessage(binding)) {
            list_[i] = binding;
            pressed_[i] = false;
            return;
        }
    }
    list_.push_back(binding);
    pressed_.push_back(false);
}

int RemoteBindings::Forget(int function) {
    int removed = 0;
    for (std::size_t i = list_.size(); i-- > 0;) {
        if (list_[i].Function != function) continue;
        list_.erase(list_.begin() + static_cast<long>(i));
        pressed_.erase(pressed_.begin() + static_cast<long>(i));
        ++removed;
    }
    return removed;
}

BindingMatch RemoteBindings::Match(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const int kind = status & 0xF0;
    const int channel = status & 0x0F;
    BindingKind wanted = BindingKind::Controller;
    if (kind == NoteOn || kind == NoteOff) {
        wanted = BindingKind::Note;
    } else if (kind == ProgramChange) {
        wanted = BindingKind::Program;
    } else if (kind != ControlChange) {
        return {};
    }
    for (std::size_t i = 0; i < list_.size(); ++i) {
        const Binding& b = list_[i];
        if (b.Kind != wanted || b.Number != data1 || (b.Channel >= 0 && b.Channel != channel)) continue;
        BindingMatch match{true, std::nullopt};
        if (wanted == BindingKind::Program) {
            match.Function = b.Function;
        } else if (wanted == BindingKind::Note) {
            if (kind == NoteOn && data2 > 0) match.Function = b.Function;
        } else {
            const bool down = data2 >= PedalDown;
            if (down && !pressed_[i]) match.Function = b.Function;
            pressed_[i] = down;
        }
        return match;
    }
    return {};
}

std::string RemoteBindings::Text() const {
    std::string text;
    for (const Binding& b : list_) {
        text += std::to_string(b.Function) + " " + std::string(KindWord(b.Kind)) + " " +
                std::to_string(b.Channel + 1) + " " + std::to_string(b.Number) + "\n";
    }
    return text;
}

std::optional<RemoteBindings> RemoteBindings::Parse(std::string_view text, std::string* error) {
    RemoteBindings bindings;
    std::istringstream lines{std::string(text)};
    std::string line;
    int lineNumber = 0;
    const auto fail = [&](const std::string& why) -> std::optional<RemoteBindings> {
        if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
        return std::nullopt;
    };
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string function, kind, channel, number, extra;
        if (!(words >> function >> kind >> channel >> number) || (words >> extra))
            return fail("expected \"<function> <note|cc|program> <channel> <number>\", found \"" + line + "\"");
        const std::optional<int> f = Number(function);
        const std::optional<int> c = Number(channel);
        const std::optional<int> n = Number(number);
        if (!f || FunctionName(*f).empty()) return fail("\"" + function + "\" is no remote function");
        if (!c || *c < 0 || *c > 16) return fail("channel \"" + channel + "\" is not 0 … 16");
        if (!n || *n < 0 || *n > 127) return fail("number \"" + number + "\" is not 0 … 127");
        Binding b{BindingKind::Controller, *c - 1, *n, *f};
        if (kind == "note") {
            b.Kind = BindingKind::Note;
        } else if (kind == "program") {
            b.Kind = BindingKind::Program;
        } else if (kind != "cc") {
            return fail("\"" + kind + "\" is not note, cc or program");
        }
        bindings.Bind(b);
    }
    return bindings;
}

std::optional<Binding> LearnableMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, int function) {
    const int kind = status & 0xF0;
    const int channel = status & 0x0F;
    if (data1 > 127 || data2 > 127) return std::nullopt;
    if (kind == NoteOn && data2 > 0) return Binding{BindingKind::Note, channel, data1, function};
    if (kind == ControlChange && data2 > 0) return Binding{BindingKind::Controller, channel, data1, function};
    if (kind == ProgramChange) return Binding{BindingKind::Program, channel, data1, function};
    return std::nullopt;
}

std::string DescribeBinding(const Binding& b) {
    std::string what = b.Kind == BindingKind::Note ? "Note " : b.Kind == BindingKind::Program ? "Program " : "Controller ";
    what += std::to_string(b.Number);
    what += b.Channel < 0 ? " on any channel" : " on channel " + std::to_string(b.Channel + 1);
    return what;
}

}  // namespace chordella::remote
