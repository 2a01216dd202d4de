#pragma once
// The 24 instrument keys: records 0 … 11 are the current instrument set (the twelve
// instrument keys of a keyboard zone), records 12 … 23 the function set (the second input's
// keys 0 … 11 and, while "Activated" is off, the numeric-pad digits 0 … 9).
//
// A code below 900 is an entry of the instrument list; 975 … 998 calls program-control
// function code − 975; 924 … 933 runs MIDI command code − 924 (program-control number
// code − 874). Set texts are three-digit fields: the instrument list's entry count, then
// the codes of records 0 … 11, then the "Minus One" channel (1 … 16, or 000 for none).
//
// Control thread only.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chordella::remote {

inline constexpr int InstrumentKeyCount = 24;
inline constexpr int SetKeyCount = 12;
inline constexpr int FirstFunctionKey = 12;
inline constexpr int FirstFunctionCode = 975;
inline constexpr int FirstCommandCode = 900;
// Codes 900 … 974 run program-control number code − 874 (924 … 933: MIDI commands 0 … 9).
inline constexpr int MidiCommandCodeOffset = 874;

inline constexpr std::string_view BuiltInGmSet = "130000005017022026041056061065080087105000";
inline constexpr std::string_view BuiltInGsSet = "204000006022030037059076081088103111129000";
inline constexpr std::string_view BuiltInXgSet = "497000021072091106168212225245265297391000";
inline constexpr std::string_view BuiltInFunctionSet = "433976987993989977995975985986998996990976000";

struct InstrumentKeyRecord {
    std::int16_t Code = 0;
    std::int16_t Level = 0;  // 0: not assigned
    std::int16_t Pan = 0;
    std::int16_t Reverb = 0;
    std::int16_t Chorus = 0;

    bool Assigned() const { return Level >= 1; }
    bool operator==(const InstrumentKeyRecord&) const = default;
};

// The built-in instrument set for a sound-module standard ("gm", "gs", "xg"; others: gm).
std::string_view BuiltInInstrumentSet(std::string_view standard);

class InstrumentKeyTable {
public:
    // `listEntries`: the instrument list's entry count (its program lines and descriptor).
    void SetListEntries(int listEntries) { listEntries_ = listEntries; }

    const InstrumentKeyRecord& Record(int i) const { return records_[static_cast<std::size_t>(i)]; }
    // Record i from code `code` as a set text gives it: an instrument beyond the list
    // becomes 0; instruments get level 105, pan 64, reverb 75, chorus 10, functions level 1.
    void SetInstrumentKey(int i, int code);
    // From the mixer: the instrument and its four bars (a volume of 0 leaves it unassigned).
    void StoreFromMixer(int i, int code, int volume, int pan, int reverb, int chorus);
    // From the function list entry f (0 … 23 functions, 24 … 33 MIDI commands).
    void SetFunction(int i, int f);

    // Applies a set text's twelve codes to records 0 … 11. Nullopt (nothing changed) for a
    // text shorter than 39 characters or with a field that is no number; else the "Minus One"
    // channel 0 … 15 the text carries, or -1.
    std::optional<int> LoadInstrumentSet(std::string_view text);
    // The function set: applied to records 0 … 11 and copied to 12 … 23. False when damaged.
    bool LoadFunctionSet(std::string_view text);
    // The text of records 0 … 11; `minusOneChannel` 0 … 15 or -1 for none.
    std::string MakeSetText(int minusOneChannel = -1) const;
    // The code of function key 0 … 11 (record 12 + key) when it is assigned, else 0.
    int FunctionCode(int key) const;

private:
    std::array<InstrumentKeyRecord, InstrumentKeyCount> records_{};
    int listEntries_ = 129;
};

// What record i of `table` plays, as the lead sheet lists it: the instrument list's line
// (`instrumentList`: program lines, then the descriptor), the function's name ("Start/Stop",
// "MIDI command num.Key 3"), or empty when the key is not assigned.
std::string InstrumentKeyName(const InstrumentKeyTable& table, int i, const std::vector<std::string>& instrumentList);

}  // namespace chordella::remote
