#include "midi/ChannelMirror.h"

#include <algorithm>

namespace chordella::midi {

namespace {

constexpr int BankMsb = 0;
constexpr int BankLsb = 32;
constexpr int DataMsb = 6;
constexpr int DataLsb = 38;
constexpr int ParameterNumberLsb = 100;
constexpr int ParameterNumberMsb = 101;

// Data entry and the parameter numbers are replayed as whole parameters, not one by one.
bool PartOfAParameter(int number) { return number == DataMsb || number == DataLsb || (number >= 96 && number <= 101); }

// GM System On, GS Reset and XG System On: each resets the receiving synthesizer.
bool IsSystemReset(std::span<const std::uint8_t> m) {
    if (m.size() < 6 || m[0] != 0xF0) return false;
    const bool gm = m[1] == 0x7E && m[3] == 0x09 && (m[4] == 0x01 || m[4] == 0x03);
    const bool gs = m.size() >= 11 && m[1] == 0x41 && m[3] == 0x42 && m[4] == 0x12 && m[5] == 0x40 && m[6] == 0x00 &&
                    m[7] == 0x7F;
    const bool xg = m.size() >= 9 && m[1] == 0x43 && m[3] == 0x4C && m[4] == 0x00 && m[5] == 0x00 && m[6] == 0x7E;
    return gm || gs || xg;
}

}  // namespace

void ChannelMirror::Forget() {
    for (Channel& channel : channels_) {
        channel.Controllers.fill(Unset);
        channel.ParameterMsb.fill(Unset);
        channel.ParameterLsb.fill(Unset);
        channel.Program = Unset;
        channel.Pressure = Unset;
        channel.Bend = Unset;
    }
}

void ChannelMirror::Note(std::span<const std::uint8_t> m) {
    if (m.empty()) return;
    if (m[0] == 0xFF || IsSystemReset(m)) {
        Forget();
        return;
    }
    if (m[0] < 0x80 || m[0] >= 0xF0) return;
    Channel& channel = channels_[m[0] & 0x0F];
    switch (m[0] & 0xF0) {
        case 0xB0:
            if (m.size() < 3) return;
            if (m[1] == DataMsb || m[1] == DataLsb) {
                // Data for the registered parameter the numbers select now.
                const int parameter = channel.Controllers[ParameterNumberLsb];
                if (channel.Controllers[ParameterNumberMsb] == 0 && parameter >= 0 && parameter < 3)
                    (m[1] == DataMsb ? channel.ParameterMsb : channel.ParameterLsb)[static_cast<std::size_t>(parameter)] = m[2];
            }
            if (m[1] < channel.Controllers.size()) {
                channel.Controllers[m[1]] = m[2];
            } else if (m[1] == 121) {  // reset all controllers: what they reset needs no replay
                for (int number = 0; number < static_cast<int>(channel.Controllers.size()); ++number)
                    if (number != BankMsb && number != BankLsb && number != 7 && number != 10 && number != 91 &&
                        number != 93 && !PartOfAParameter(number))
                        channel.Controllers[number] = Unset;  // volume, pan and the sends stay
                channel.Bend = Unset;
                channel.Pressure = Unset;
            }
            return;
        case 0xC0:
            if (m.size() >= 2) channel.Program = m[1];
            return;
        case 0xD0:
            if (m.size() >= 2) channel.Pressure = m[1];
            return;
        case 0xE0:
            if (m.size() >= 3) channel.Bend = m[1] | m[2] << 7;
            return;
        default: return;
    }
}

void ChannelMirror::Replay(const std::function<void(std::span<const std::uint8_t>)>& send) const {
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        const Channel& channel = channels_[c];
        const auto status = [c](int kind) { return static_cast<std::uint8_t>(kind | static_cast<int>(c)); };
        const auto controller = [&](int number) {
            if (channel.Controllers[number] == Unset) return;
            const std::uint8_t m[3] = {status(0xB0), static_cast<std::uint8_t>(number),
                                       static_cast<std::uint8_t>(channel.Controllers[number])};
            send(m);
        };
        controller(BankMsb);
        controller(BankLsb);
        if (channel.Program != Unset) {
            const std::uint8_t m[2] = {status(0xC0), static_cast<std::uint8_t>(channel.Program)};
            send(m);
        }
        for (int number = 0; number < static_cast<int>(channel.Controllers.size()); ++number)
            if (number != BankMsb && number != BankLsb && !PartOfAParameter(number)) controller(number);
        bool anyParameter = false;
        for (std::size_t p = 0; p < channel.ParameterMsb.size(); ++p) {
            if (channel.ParameterMsb[p] == Unset && channel.ParameterLsb[p] == Unset) continue;
            anyParameter = true;
            const std::uint8_t select[6] = {status(0xB0), ParameterNumberMsb, 0, status(0xB0), ParameterNumberLsb,
                                            static_cast<std::uint8_t>(p)};
            send(std::span(select, 3));
            send(std::span(select + 3, 3));
            for (const auto& [number, value] : {std::pair{DataMsb, channel.ParameterMsb[p]}, std::pair{DataLsb, channel.ParameterLsb[p]}}) {
                if (value == Unset) continue;
                const std::uint8_t m[3] = {status(0xB0), static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(value)};
                send(m);
            }
        }
        if (anyParameter) {  // no parameter selected afterwards, as a careful sender leaves it
            const std::uint8_t none[6] = {status(0xB0), ParameterNumberMsb, 127, status(0xB0), ParameterNumberLsb, 127};
            send(std::span(none, 3));
            send(std::span(none + 3, 3));
        }
        if (channel.Bend != Unset) {
            const std::uint8_t m[3] = {status(0xE0), static_cast<std::uint8_t>(channel.Bend & 0x7F),
                                       static_cast<std::uint8_t>(channel.Bend >> 7)};
            send(m);
        }
        if (channel.Pressure != Unset) {
            const std::uint8_t m[2] = {status(0xD0), static_cast<std::uint8_t>(channel.Pressure)};
            send(m);
        }
    }
}

}  // namespace chordella::midi
