#pragma once
// The calls that cross between modules of the same layer (the chord sources and the
// engine call each other). Each side implements its interface; the session holds them,
// so neither module includes the other. Modules append the entries they need.

#include <array>
#include <cstdint>

namespace chordella::app {

// Implemented by the accompaniment engine.
class EngineLink {
public:
    virtual ~EngineLink() = default;
    // The four notes of the pending chord (first ≤ 0 = none), from every chord source.
    virtual void SubmitChord(const std::array<std::int16_t, 4>& notes) = 0;
};

// Implemented by chord recognition.
class ChordLink {
public:
    virtual ~ChordLink() = default;
    // A chord from any source: root (MIDI note, ≤ 0 = none), type 1 … 34, transposition
    // (129 = none).
    virtual void SetChord(std::int16_t root, std::int16_t type, std::int16_t transposition) = 0;
};

// Implemented by the transport.
class TransportLink {
public:
    virtual ~TransportLink() = default;
    // True while the style player runs.
    virtual bool StyleStarted() = 0;
    // The style starts playing (a chord played while it is idle in style mode).
    virtual void StartStyle() = 0;
    // Stop.
    virtual void Stop() = 0;
};

// What the session holds until the modules are wired: calls that go nowhere.
class NoEngine final : public EngineLink {
public:
    void SubmitChord(const std::array<std::int16_t, 4>&) override {}
};
class NoChords final : public ChordLink {
public:
    void SetChord(std::int16_t, std::int16_t, std::int16_t) override {}
};
class NoTransport final : public TransportLink {
public:
    bool StyleStarted() override { return false; }
    void StartStyle() override {}
    void Stop() override {}
};

}  // namespace chordella::app
