#include "library/StyleQuery.h"

#include "library/PlaylistLine.h"
#include "platform/TextCase.h"

namespace chordella::library {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> SplitTerms(std::string_view text) {
    std::vector<std::string_view> terms;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ';') {
            const std::string_view term = Trim(text.substr(start, i - start));
            if (!term.empty()) terms.push_back(term);
            start = i + 1;
        }
    }
    return terms;
}

bool IsSign(char c) { return c == '+' || c == '-' || c == '!' || c == '=' || c == '>' || c == '<'; }

// The alternatives of a word term: the text split at every "!", each trimmed.
std::vector<std::string> Alternatives(std::string_view text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '!') {
            const std::string_view word = Trim(text.substr(start, i - start));
            if (!word.empty()) words.push_back(platform::LowerCase(word));
            start = i + 1;
        }
    }
    return words;
}

std::optional<std::int64_t> Number(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.size() > 12) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool ParseTerm(std::string_view text, QueryTerm& term, std::string& error) {
    if (text == "*" || text == "*.*") {
        term.Mode = TermMode::Every;
        return true;
    }
    const char sign = IsSign(text.front()) ? text.front() : '+';
    const std::string_view rest = IsSign(text.front()) ? text.substr(1) : text;
    if (sign == '=' || sign == '>' || sign == '<') {
        const std::optional<std::int64_t> number = Number(rest);
        if (!number) {
            error = "\"" + std::string(text) + "\" needs a tempo in bpm or a file size in bytes after \"" + sign +
                    "\", e.g. \"" + sign + "120\" !";
            return false;
        }
        const bool size = *number > 999;
        term.Number = *number;
        term.Mode = sign == '=' ? (size ? TermMode::SizeEqual : TermMode::TempoEqual)
                  : sign == '>' ? (size ? TermMode::SizeAbove : TermMode::TempoAbove)
                                : (size ? TermMode::SizeBelow : TermMode::TempoBelow);
        return true;
    }
    term.Mode = sign == '-' ? TermMode::Not : sign == '!' ? TermMode::Or : TermMode::And;
    term.Alternatives = Alternatives(rest);
    return true;  // a term of signs alone has no words; the caller decides
}

bool TermFound(const QueryTerm& term, std::string_view lowerLine) {
    for (const std::string& word : term.Alternatives)
        if (WordOccurs(lowerLine, word)) return true;
    return false;
}

}  // namespace

bool WordOccurs(std::string_view lowerLine, std::string_view word) {
    if (lowerLine.find(word) != std::string_view::npos) return true;
    const std::size_t blank = word.find(' ');
    if (blank == std::string_view::npos) return false;
    std::string joined(word);
    joined.erase(blank, 1);
    return !joined.empty() && lowerLine.find(joined) != std::string_view::npos;
}

StyleQuery ParseStyleQuery(std::string_view text) {
    StyleQuery query;
    if (text.size() > MaxQueryLength) {
        query.Error = "The search expression is longer than " + std::to_string(MaxQueryLength) + " characters !";
        return query;
    }
    if (Trim(text).empty()) text = "*;";
    query.MentionsBass = platform::LowerCase(text).find("bass") != std::string::npos;
    const std::vector<std::string_view> parts = SplitTerms(text);
    if (static_cast<int>(parts.size()) > MaxQueryTerms) {
        query.Error = "The search expression has " + std::to_string(parts.size()) + " terms; at most " +
                      std::to_string(MaxQueryTerms) + " are allowed (separate terms with \";\") !";
        return query;
    }
    for (std::string_view part : parts) {
        QueryTerm term;
        if (!ParseTerm(part, term, query.Error)) {
            query.Terms.clear();
            return query;
        }
        // A term of signs alone ("+", "-", "! !") would find every line or none.
        if (term.Alternatives.empty() && (term.Mode == TermMode::And || term.Mode == TermMode::Not || term.Mode == TermMode::Or))
            continue;
        query.Terms.push_back(std::move(term));
    }
    if (query.Terms.empty()) {
        query.Error = "The search expression has no words to look for, only signs: type e.g. \"!pop !rock; >75\" or \"*\" !";
    }
    return query;
}

bool StyleQuery::NeedsFileSize() const {
    for (const QueryTerm& term : Terms)
        if (term.Mode == TermMode::SizeEqual || term.Mode == TermMode::SizeAbove || term.Mode == TermMode::SizeBelow)
            return true;
    return false;
}

bool StyleQuery::Matches(std::string_view line, const FileSizeOf& sizeOf) const {
    if (!Valid()) return false;
    const std::string lower = platform::LowerCase(line);
    bool anyOr = false, orFound = false;
    std::optional<std::optional<int>> tempo;       // read once, when a tempo term asks
    std::optional<std::optional<std::uintmax_t>> size;
    for (const QueryTerm& term : Terms) {
        switch (term.Mode) {
            case TermMode::Every: break;
            case TermMode::And:
                if (!TermFound(term, lower)) return false;
                break;
            case TermMode::Not:
                if (TermFound(term, lower)) return false;
                break;
            case TermMode::Or:
                anyOr = true;
                orFound = orFound || TermFound(term, lower);
                break;
            case TermMode::TempoEqual:
            case TermMode::TempoAbove:
            case TermMode::TempoBelow: {
                if (!tempo) tempo = LineTempo(line);
                if (!*tempo) return false;
                const std::int64_t bpm = **tempo;
                if (term.Mode == TermMode::TempoEqual && bpm != term.Number) return false;
                if (term.Mode == TermMode::TempoAbove && bpm <= term.Number) return false;
                if (term.Mode == TermMode::TempoBelow && bpm >= term.Number) return false;
                break;
            }
            case TermMode::SizeEqual:
            case TermMode::SizeAbove:
            case TermMode::SizeBelow: {
                if (!size) size = sizeOf ? sizeOf(LinePath(line)) : std::nullopt;
                if (!*size) return false;
                const auto bytes = static_cast<std::int64_t>(**size);
                if (term.Mode == TermMode::SizeEqual && bytes != term.Number) return false;
                if (term.Mode == TermMode::SizeAbove && bytes <= term.Number) return false;
                if (term.Mode == TermMode::SizeBelow && bytes >= term.Number) return false;
                break;
            }
        }
    }
    return !anyOr || orFound;
}

}  // namespace chordella::library
