#pragma once
// The search language of the style playlist. A query is up to 15 terms separated by ";".
// A term may begin with a mode sign: "+" AND (the default), "-" NOT, "!" OR, "=" tempo
// equal, ">" greater, "<" less. Inside one term further alternatives may follow, each
// introduced by "!" ("!pop !ballad !8 beat" is one OR term with three alternatives); the
// term is found when any alternative occurs in the line. Words are compared in lower case;
// a word with a blank is also tried with its first blank removed ("8 beat" finds "8beat").
// "*" or "*.*" finds every line. For "=", ">" and "<" the number is a tempo in bpm; a
// number above 999 is a file size in bytes instead (">12000": larger than 12000 bytes).
//
//   auto query = ParseStyleQuery("!pop !rock; -live; >75");
//   if (!query.Error.empty()) { show query.Error }
//   bool hit = query.Matches(line, sizeOf);
//
// Any thread; no state.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chordella::library {

inline constexpr int MaxQueryTerms = 15;
// A query is text typed into one box; longer ones are refused rather than parsed.
inline constexpr std::size_t MaxQueryLength = 4096;

enum class TermMode { And, Not, Or, TempoEqual, TempoAbove, TempoBelow, SizeEqual, SizeAbove, SizeBelow, Every };

struct QueryTerm {
    TermMode Mode = TermMode::And;
    std::vector<std::string> Alternatives;  // lower case; words of And/Not/Or terms
    std::int64_t Number = 0;                // tempo in bpm or size in bytes
};

// The size of a line's file in bytes, nullopt when it cannot be found.
using FileSizeOf = std::function<std::optional<std::uintmax_t>(std::string_view storedPath)>;

struct StyleQuery {
    std::vector<QueryTerm> Terms;
    std::string Error;          // why the text is not a query; empty when it is one
    bool MentionsBass = false;  // the text contains "bass": the bass filter is noted

    bool Valid() const { return Error.empty(); }
    bool NeedsFileSize() const;
    // Whether a playlist line matches (the line in any case). Size terms ask `sizeOf` (a
    // line whose file is not found fails them); without one they fail too.
    bool Matches(std::string_view line, const FileSizeOf& sizeOf = {}) const;
};

// An empty text (or only blanks) becomes "*;".
StyleQuery ParseStyleQuery(std::string_view text);

// One word of a term found in a line (already lower case), also with its first blank removed.
bool WordOccurs(std::string_view lowerLine, std::string_view word);

}  // namespace chordella::library
