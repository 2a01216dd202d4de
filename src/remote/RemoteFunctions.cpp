#include "remote/RemoteFunctions.h"

#include <cctype>

#include "platform/TextCase.h"

namespace chordella::remote {

namespace {

std::string Folded(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (!std::isspace(static_cast<unsigned char>(c))) out += platform::LowerAscii(c);
    return out;
}

}  // namespace

std::array<int, ProgramFunctionCount + 10 + 2> BindableFunctions() {
    std::array<int, ProgramFunctionCount + 10 + 2> all{};
    std::size_t i = 0;
    for (int f = 0; f < ProgramFunctionCount; ++f) all[i++] = f;
    for (int c = 0; c < 10; ++c) all[i++] = FirstCommandFunction + c;
    all[i++] = NextSectionFunction;
    all[i++] = NextSongFunction;
    return all;
}

std::string FunctionName(int number) {
    if (number >= 0 && number < ProgramFunctionCount) return std::string(ProgramFunctionNames[static_cast<std::size_t>(number)]);
    if (number >= FirstCommandFunction && number < FirstCommandFunction + 10)
        return "MIDI command num.Key " + std::to_string(number - FirstCommandFunction);
    if (number == NextSectionFunction) return "Next section";
    if (number == NextSongFunction) return "Next song";
    return {};
}

std::optional<int> FindFunction(std::string_view text) {
    const std::string wanted = Folded(text);
    if (wanted.empty()) return std::nullopt;
    if (wanted.size() < 4 && wanted.find_first_not_of("0123456789") == std::string::npos) {
        const int number = std::stoi(wanted);
        if (!FunctionName(number).empty()) return number;
        return std::nullopt;
    }
    std::optional<int> partial;
    int partialCount = 0;
    for (const int f : BindableFunctions()) {
        const std::string name = Folded(FunctionName(f));
        if (name == wanted) return f;
        if (name.find(wanted) != std::string::npos) {
            partial = f;
            ++partialCount;
        }
    }
    return partialCount == 1 ? partial : std::nullopt;
}

}  // namespace chordella::remote
