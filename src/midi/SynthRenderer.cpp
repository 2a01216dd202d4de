#include "midi/SynthRenderer.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "midi/WavFile.h"

namespace chordella::midi {

std::unique_ptr<SynthRenderer> SynthRenderer::Create(std::string& error, int sampleRate, const std::string& soundFont) {
    // Offline there is no deadline to share the processor with: use every core (up to 4).
    const int cores = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    auto synth = Synth::Create(sampleRate, error, cores);
    if (!synth || !synth->LoadSoundFont(soundFont, error)) return nullptr;
    return std::unique_ptr<SynthRenderer>(new SynthRenderer(std::move(synth)));
}

void SynthRenderer::PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    PutShortMsg(status | std::uint32_t{data1} << 8 | std::uint32_t{data2} << 16);
}

void SynthRenderer::PutShortMsg(std::uint32_t packed) { synth_->SendPacked(packed); }

bool SynthRenderer::PutBytes(std::span<const std::uint8_t> bytes) { return synth_->Send(bytes.data(), bytes.size()); }

void SynthRenderer::RenderUntil(std::int64_t micros) {
    if (micros <= 0) return;
    const auto target = static_cast<std::uint64_t>(micros) * static_cast<std::uint64_t>(SampleRate()) / 1'000'000u;
    if (target <= frames_) return;
    if (!stream_) {
        synth_->Render(static_cast<std::size_t>(target - frames_), samples_);
        frames_ = target;
        return;
    }
    // Streaming: a block at a time, so memory stays the same however long the gap.
    constexpr std::uint64_t Block = 16384;
    while (frames_ < target) {
        const std::uint64_t count = std::min(Block, target - frames_);
        samples_.clear();
        synth_->Render(static_cast<std::size_t>(count), samples_);
        stream_->Append(samples_);
        frames_ += count;
    }
    samples_.clear();
}

std::int64_t SynthRenderer::RenderedMicros() const {
    return static_cast<std::int64_t>(frames_ * 1'000'000u / static_cast<std::uint64_t>(SampleRate()));
}

bool SynthRenderer::WriteWav(const std::string& path, std::string& error) const {
    return WriteWavFile(path, samples_, 2, SampleRate(), error);
}

bool FitsInWav(std::int64_t endMicros, int sampleRate, std::string& error) {
    const auto frames = static_cast<std::uint64_t>(std::max<std::int64_t>(endMicros, 0)) *
                        static_cast<std::uint64_t>(sampleRate) / 1'000'000u;
    if (frames * 4 <= MaxWavDataBytes) return true;
    const std::uint64_t longest = MaxWavDataBytes / 4 / static_cast<std::uint64_t>(sampleRate);
    char text[160];
    std::snprintf(text, sizeof text, "%llu min of sound is longer than a WAV file can hold (%llu h %llu min)",
                  static_cast<unsigned long long>(frames / static_cast<std::uint64_t>(sampleRate) / 60),
                  static_cast<unsigned long long>(longest / 3600), static_cast<unsigned long long>(longest / 60 % 60));
    error = text;
    return false;
}

bool RenderToWav(std::span<const TimedMessage> messages, std::int64_t endMicros, const std::string& path,
                 std::string& error) {
    if (!FitsInWav(endMicros, SynthRenderer::DefaultSampleRate, error)) return false;
    auto renderer = SynthRenderer::Create(error);
    if (!renderer) return false;
    WavStream stream;
    if (!stream.Open(path, 2, renderer->SampleRate(), error)) return false;
    renderer->StreamTo(&stream);
    std::vector<const TimedMessage*> order;
    for (const auto& message : messages) order.push_back(&message);
    std::stable_sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->Micros < b->Micros; });
    for (const TimedMessage* message : order) {
        if (message->Micros > endMicros) break;
        renderer->RenderUntil(message->Micros);
        renderer->PutBytes(message->Bytes);
    }
    renderer->RenderUntil(endMicros);
    return stream.Finish(error);
}

}  // namespace chordella::midi
