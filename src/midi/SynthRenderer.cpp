#include "midi/SynthRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>

#include "midi/WavFile.h"

namespace chordella::midi {

std::unique_ptr<SynthRenderer> SynthRenderer::Create(std::string& error, int sampleRate, const AudioSettings& audio) {
    // Offline there is no deadline to share the processor with: use every core (up to 4).
    const int cores = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    auto synth = Synth::Create(sampleRate, error, {cores, true});
    const std::string soundFont = FindSoundFont(audio.SoundFont);
    if (!synth || !synth->LoadSoundFont(soundFont, error)) return nullptr;
    synth->SetEffects(audio.Reverb, audio.ReverbLevel / 100.0f, audio.Chorus, audio.ChorusLevel / 100.0f);
    std::unique_ptr<SynthRenderer> renderer(new SynthRenderer(std::move(synth), soundFont));
    renderer->stage_.SetVolume(VolumeCurve(audio.Volume));
    return renderer;
}

// Renders floating-point samples through the output stage and appends them as 16-bit stereo,
// with a triangular dither of one step so that quiet passages fade out smoothly.
void SynthRenderer::Render(std::size_t frames, std::vector<std::int16_t>& samples) {
    left_.resize(frames);
    right_.resize(frames);
    synth_->RenderFloat(frames, left_.data(), right_.data());
    stage_.Process(left_.data(), right_.data(), frames);
    const std::size_t start = samples.size();
    samples.resize(start + frames * 2);
    const auto noise = [this] {
        dither_ = dither_ * 1664525u + 1013904223u;
        return static_cast<float>(dither_ >> 8) / 16777216.0f;
    };
    for (std::size_t i = 0; i < frames; ++i) {
        const float both[2] = {left_[i], right_[i]};
        for (int c = 0; c < 2; ++c) {
            const float value = both[c] * 32767.0f + noise() - noise();
            samples[start + i * 2 + static_cast<std::size_t>(c)] =
                static_cast<std::int16_t>(std::lrint(std::clamp(value, -32768.0f, 32767.0f)));
        }
    }
}

void SynthRenderer::PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    PutShortMsg(status | std::uint32_t{data1} << 8 | std::uint32_t{data2} << 16);
}

void SynthRenderer::PutShortMsg(std::uint32_t packed) {
    if (!gmVoices_) {
        synth_->SendPacked(packed);
        return;
    }
    const GeneralMidiVoices::Rewritten sent = gmVoices_->Rewrite(packed);
    for (int i = 0; i < sent.Count; ++i) synth_->SendPacked(sent.Messages[static_cast<std::size_t>(i)]);
}

bool SynthRenderer::PutBytes(std::span<const std::uint8_t> bytes) {
    // Whole controller and program changes pass the voice substitution; the synth checks and
    // plays everything else as it is.
    const int kind = bytes.empty() ? 0 : bytes[0] & 0xF0;
    const bool voiceMessage = (kind == 0xB0 && bytes.size() == 3) || (kind == 0xC0 && bytes.size() == 2);
    if (!gmVoices_ || !voiceMessage || bytes[1] > 0x7F || bytes.back() > 0x7F)
        return synth_->Send(bytes.data(), bytes.size());
    PutShortMsg(bytes[0] | std::uint32_t{bytes[1]} << 8 | (kind == 0xB0 ? std::uint32_t{bytes[2]} << 16 : 0));
    return true;
}

void SynthRenderer::SetGeneralMidiVoices(GeneralMidiVoiceTable table) {
    gmTable_ = std::move(table);
    gmVoices_ = std::make_unique<GeneralMidiVoices>(gmTable_);
}

void SynthRenderer::RenderUntil(std::int64_t micros) {
    if (micros <= 0) return;
    const auto target = static_cast<std::uint64_t>(micros) * static_cast<std::uint64_t>(SampleRate()) / 1'000'000u;
    if (target <= frames_) return;
    // A block at a time, so memory stays the same however long the gap.
    constexpr std::uint64_t Block = 16384;
    if (!stream_) {
        while (frames_ < target) {
            const std::uint64_t count = std::min(Block, target - frames_);
            Render(static_cast<std::size_t>(count), samples_);
            frames_ += count;
        }
        return;
    }
    while (frames_ < target) {
        const std::uint64_t count = std::min(Block, target - frames_);
        samples_.clear();
        Render(static_cast<std::size_t>(count), samples_);
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
                 std::string& error, const AudioSettings& audio) {
    if (!FitsInWav(endMicros, SynthRenderer::DefaultSampleRate, error)) return false;
    auto renderer = SynthRenderer::Create(error, SynthRenderer::DefaultSampleRate, audio);
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
