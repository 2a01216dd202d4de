#include "midi/SynthEngine.h"

#include <jack/ringbuffer.h>

#include <algorithm>
#include <cstring>

#include "midi/MidiBackend.h"
#include "midi/Synth.h"

namespace chordella::midi {

namespace {

// A queued message: its time, its length, then its bytes.
constexpr std::size_t HeaderBytes = sizeof(std::int64_t) + sizeof(std::uint32_t);
constexpr std::uint64_t SynthBlockFrames = 64;  // FluidSynth's block

bool WellFormed(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0 || bytes[0] < 0x80) return false;
    if (bytes[0] == 0xF0) return count >= 2 && bytes[count - 1] == 0xF7;
    const int length = ShortMessageLength(bytes[0]);
    if (length == 0 || count != static_cast<std::size_t>(length)) return false;
    return std::all_of(bytes + 1, bytes + count, [](std::uint8_t b) { return b < 0x80; });
}

}  // namespace

SynthEngine::SynthEngine(Synth& synth, int sampleRate)
    : synth_(synth), stage_(sampleRate), ring_(jack_ringbuffer_create(RingBytes)) {
    if (ring_) jack_ringbuffer_mlock(ring_);
}

SynthEngine::~SynthEngine() {
    if (ring_) jack_ringbuffer_free(ring_);
}

bool SynthEngine::Queue(const std::uint8_t* bytes, std::size_t count, std::int64_t micros) noexcept {
    if (!ring_ || count > MaxMessageBytes || !WellFormed(bytes, count)) return false;
    if (jack_ringbuffer_write_space(ring_) < HeaderBytes + count) {
        lost_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    micros = std::max(micros, lastMicros_);
    lastMicros_ = micros;
    std::uint8_t header[HeaderBytes];
    const auto length = static_cast<std::uint32_t>(count);
    std::memcpy(header, &micros, sizeof micros);
    std::memcpy(header + sizeof micros, &length, sizeof length);
    // The reader takes a message only once its header and all of its bytes are there.
    jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(header), HeaderBytes);
    jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(bytes), count);
    return true;
}

void SynthEngine::SetEffects(const SynthEffects& effects) {
    reverbOn_.store(effects.Reverb, std::memory_order_relaxed);
    reverbLevel_.store(std::clamp(effects.ReverbLevel, 0.0f, 1.0f), std::memory_order_relaxed);
    chorusOn_.store(effects.Chorus, std::memory_order_relaxed);
    chorusLevel_.store(std::clamp(effects.ChorusLevel, 0.0f, 1.0f), std::memory_order_relaxed);
    effectsVersion_.fetch_add(1, std::memory_order_release);
}

void SynthEngine::ApplyEffects() noexcept {
    const std::uint32_t version = effectsVersion_.load(std::memory_order_acquire);
    if (version == appliedVersion_) return;
    appliedVersion_ = version;
    synth_.SetEffects(reverbOn_.load(std::memory_order_relaxed), reverbLevel_.load(std::memory_order_relaxed),
                      chorusOn_.load(std::memory_order_relaxed), chorusLevel_.load(std::memory_order_relaxed));
}

// The frame of this period at which a message played at `micros` starts: one period later
// than it was played. `frames` when it belongs to a later period.
std::uint32_t SynthEngine::FrameOf(std::int64_t micros, std::uint32_t frames, const PeriodTime& period) noexcept {
    if (!period.Timed || period.Micros <= 0) return 0;
    const std::int64_t into = micros + period.Micros - period.StartMicros;
    if (into < 0) {
        late_.fetch_add(1, std::memory_order_relaxed);
        return 0;
    }
    const std::int64_t frame = (into * frames + period.Micros / 2) / period.Micros;
    return frame >= frames ? frames : static_cast<std::uint32_t>(frame);
}

bool SynthEngine::TakeMessage(std::uint8_t* bytes, std::uint32_t& count) noexcept {
    std::uint8_t header[HeaderBytes];
    jack_ringbuffer_read(ring_, reinterpret_cast<char*>(header), HeaderBytes);
    std::memcpy(&count, header + sizeof(std::int64_t), sizeof count);
    return jack_ringbuffer_read(ring_, reinterpret_cast<char*>(bytes), count) == count;
}

void SynthEngine::Render(std::uint32_t frames, float* left, float* right, const PeriodTime& period) noexcept {
    if (!ready_.load(std::memory_order_acquire) || !ring_) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
        return;
    }
    ApplyEffects();
    std::uint32_t done = 0;
    std::uint8_t bytes[MaxMessageBytes];
    while (jack_ringbuffer_read_space(ring_) >= HeaderBytes) {
        std::uint8_t header[HeaderBytes];
        jack_ringbuffer_peek(ring_, reinterpret_cast<char*>(header), HeaderBytes);
        std::int64_t micros = 0;
        std::uint32_t count = 0;
        std::memcpy(&micros, header, sizeof micros);
        std::memcpy(&count, header + sizeof micros, sizeof count);
        if (jack_ringbuffer_read_space(ring_) < HeaderBytes + count) break;  // still being written
        const std::uint32_t frame = std::max(done, FrameOf(micros, frames, period));
        if (frame >= frames) break;
        // The beginning of the synthesizer's block that holds the frame. When that block has
        // begun already, the synthesizer takes the message at its next block.
        const auto into = static_cast<std::uint32_t>((rendered_ + (frame - done)) % SynthBlockFrames);
        const std::uint32_t blockStart = frame - done >= into ? frame - into : done;
        if (blockStart > done) {
            RenderPiece(done, blockStart, left, right);
            done = blockStart;
        }
        if (TakeMessage(bytes, count)) synth_.Send(bytes, count);
    }
    if (done < frames) RenderPiece(done, frames, left, right);
    stage_.Process(left, right, frames);
}

void SynthEngine::RenderPiece(std::uint32_t from, std::uint32_t to, float* left, float* right) noexcept {
    synth_.RenderFloat(to - from, left + from, right + from);
    rendered_ += to - from;
}

}  // namespace chordella::midi
