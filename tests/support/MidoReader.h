#pragma once
// Reads a MIDI file with python3-mido, a parser that shares nothing with ours, through
// tests/support/midi_dump.py. Debian's mido belongs to /usr/bin/python3, which is called
// explicitly.
//
//   testing::MidoFile file;
//   ASSERT_TRUE(testing::ReadWithMido(path, file)) << file.Error;
//   file.Notes();   // note-ons with their absolute tick, channel, note, velocity

#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace chordella::testing {

struct MidoEvent {
    int Track = 0;
    std::int64_t Tick = 0;
    std::string Type;                           // "note_on", "set_tempo", "marker", …
    std::map<std::string, std::string> Fields;  // "channel" → "0", "text" → "Basic", …

    int Int(const std::string& name) const {
        const auto it = Fields.find(name);
        return it == Fields.end() ? -1 : std::stoi(it->second);
    }
    bool IsNoteOn() const { return Type == "note_on" && Int("velocity") > 0; }
    bool IsNoteOff() const { return Type == "note_off" || (Type == "note_on" && Int("velocity") == 0); }
};

struct MidoFile {
    int Type = -1;
    int Division = 0;
    int TrackCount = 0;
    std::vector<std::string> TrackNames;
    std::vector<MidoEvent> Events;
    std::string Error;

    std::vector<MidoEvent> OfType(const std::string& type) const {
        std::vector<MidoEvent> result;
        for (const MidoEvent& e : Events)
            if (e.Type == type) result.push_back(e);
        return result;
    }
    std::vector<MidoEvent> Notes() const {
        std::vector<MidoEvent> result;
        for (const MidoEvent& e : Events)
            if (e.IsNoteOn()) result.push_back(e);
        return result;
    }
};

inline std::string MidoDumpScript() { return chordella::testing::TestsFolder() + "/support/midi_dump.py"; }

inline std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
        parts.push_back(line.substr(from, tab - from));
    parts.push_back(line.substr(from));
    return parts;
}

inline bool ReadWithMido(const std::string& path, MidoFile& file) {
    std::string quoted = "'";
    for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    const std::string command = "/usr/bin/python3 " + MidoDumpScript() + " " + quoted + "' 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        file.Error = "cannot run /usr/bin/python3";
        return false;
    }
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pclose(pipe);
    if (status != 0) {
        file.Error = "mido could not read the file: " + output;
        return false;
    }
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const std::vector<std::string> parts = SplitTabs(line);
        if (parts[0] == "header" && parts.size() >= 4) {
            file.Type = std::stoi(parts[1]);
            file.Division = std::stoi(parts[2]);
            file.TrackCount = std::stoi(parts[3]);
        } else if (parts[0] == "track" && parts.size() >= 3) {
            file.TrackNames.push_back(parts[2]);
        } else if (parts[0] == "event" && parts.size() >= 4) {
            MidoEvent event{std::stoi(parts[1]), std::stoll(parts[2]), parts[3], {}};
            for (std::size_t i = 4; i < parts.size(); ++i) {
                const std::size_t eq = parts[i].find('=');
                if (eq != std::string::npos) event.Fields[parts[i].substr(0, eq)] = parts[i].substr(eq + 1);
            }
            file.Events.push_back(std::move(event));
        }
    }
    return true;
}

}  // namespace chordella::testing
