#include "data/StyleFile.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "data/NativeRulesBlock.h"
#include "data/StyleStream.h"
#include "platform/Bytes.h"
#include "platform/Files.h"

namespace chordella::data {

namespace {

std::string Format(const char* format, auto... values) {
    char text[200];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

void DecodeHeader(platform::ByteReader& r, StyleHeader& header) {
    for (auto& row : header.ChannelSetup) r.Bytes(row, "channel set-up");
    r.Bytes(header.ChannelUsed, "channels used");
    r.I16(header.StyleTempo, "style tempo");
    r.I16(header.IntroMeasures, "intro measures");
    r.I16(header.StyleMeter, "style meter");
    r.U8(header.ConvertedFlag, "converted flag");
    r.U8(header.SuppressControllers, "suppress controllers");
    r.U8(header.ClearSuppressOnLoad, "clear suppress on load");
}

void DecodePart(platform::ByteReader& r, PartRecord& part) {
    r.I16(part.StartMeasure, "start measure");
    r.I16(part.EndMeasure, "end measure");
    r.I16(part.StartBeat, "start beat");
    r.I16(part.LengthMeasures, "length in measures");
    r.I32(part.RangeStart2, "range start");
    r.I32(part.RangeStart, "range start");
    r.I32(part.RangeEnd, "range end");
    r.U16(part.FollowUpCode, "follow-up code");
    r.I32(part.Beat2Offset, "beat 2 offset");
    r.I32(part.Beat3Offset, "beat 3 offset");
    r.I32(part.Beat4Offset, "beat 4 offset");
    r.Bytes(part.PartMute, "part mutes");
    r.Bytes(part.CutNotes, "cut notes");
}

void EncodeHeader(platform::ByteWriter& w, const StyleHeader& header) {
    for (const auto& row : header.ChannelSetup) w.Bytes(row);
    w.Bytes(header.ChannelUsed);
    w.I16(header.StyleTempo);
    w.I16(header.IntroMeasures);
    w.I16(header.StyleMeter);
    w.U8(header.ConvertedFlag);
    w.U8(header.SuppressControllers);
    w.U8(header.ClearSuppressOnLoad);
}

void EncodePart(platform::ByteWriter& w, const PartRecord& part) {
    w.I16(part.StartMeasure);
    w.I16(part.EndMeasure);
    w.I16(part.StartBeat);
    w.I16(part.LengthMeasures);
    w.I32(part.RangeStart2);
    w.I32(part.RangeStart);
    w.I32(part.RangeEnd);
    w.U16(part.FollowUpCode);
    w.I32(part.Beat2Offset);
    w.I32(part.Beat3Offset);
    w.I32(part.Beat4Offset);
    w.Bytes(part.PartMute);
    w.Bytes(part.CutNotes);
}

// Marks the offsets at which an event begins (and the end of the stream); false with the
// first byte that breaks the grammar.
bool MarkEvents(std::span<const std::uint8_t> stream, std::vector<std::uint8_t>& starts, std::string& error) {
    const std::size_t size = stream.size();
    starts.assign(size + 1, 0);
    std::size_t i = 0;
    while (i < size) {
        starts[i] = 1;
        const std::uint8_t b = stream[i];
        if (stream::IsChannelMessage(b)) {
            if (i + 2 >= size) {
                error = Format("the message at offset %zu (status 0x%02X) is cut off by the end of the stream", i, b);
                return false;
            }
            for (std::size_t d = i + 1; d <= i + 2; ++d) {
                if (stream[d] >= 0x80) {
                    error = Format("byte 0x%02X at offset %zu inside the message at offset %zu (status 0x%02X) is not a data byte",
                                   stream[d], d, i, b);
                    return false;
                }
            }
            i += stream::MessageLength;
        } else if (stream::IsWait(b) || b == stream::EndOfBuffer || b == stream::EndOfStream) {
            ++i;
        } else if (b > stream::EndOfBuffer) {
            error = Format("status byte 0x%02X at offset %zu is not allowed in a style stream", b, i);
            return false;
        } else {
            error = Format("data byte 0x%02X at offset %zu stands outside a message", b, i);
            return false;
        }
    }
    starts[size] = 1;
    return true;
}

bool KnownFollowUp(std::uint16_t code) {
    return code <= 7 || code == followup::Variation || code == followup::Stop || code == followup::BackToMain;
}

bool CheckOffset(std::int32_t offset, const char* what, int part, const std::vector<std::uint8_t>& starts,
                 std::string& error) {
    const auto size = static_cast<std::int64_t>(starts.size()) - 1;
    if (offset < 0 || offset > size) {
        error = Format("part %d (%s): %s %d lies outside the stream (%lld bytes)", part,
                       std::string(PartSelectorText(part).substr(1)).c_str(), what, static_cast<int>(offset),
                       static_cast<long long>(size));
        return false;
    }
    if (!starts[static_cast<std::size_t>(offset)]) {
        error = Format("part %d (%s): %s %d points into the middle of a message", part,
                       std::string(PartSelectorText(part).substr(1)).c_str(), what, static_cast<int>(offset));
        return false;
    }
    return true;
}

bool CheckPart(const PartRecord& part, int index, const std::vector<std::uint8_t>& starts, std::string& error) {
    if (!part.Present()) return true;
    if (!CheckOffset(part.RangeStart, "RangeStart", index, starts, error)) return false;
    if (!CheckOffset(part.RangeEnd, "RangeEnd", index, starts, error)) return false;
    if (part.RangeStart > part.RangeEnd) {
        error = Format("part %d (%s): RangeStart %d lies after RangeEnd %d", index,
                       std::string(PartSelectorText(index).substr(1)).c_str(), static_cast<int>(part.RangeStart),
                       static_cast<int>(part.RangeEnd));
        return false;
    }
    // Beat offsets of 0 are unset; any other value is a place the engine starts a fill from.
    const std::array<std::pair<std::int32_t, const char*>, 3> beats = {
        {{part.Beat2Offset, "Beat2Offset"}, {part.Beat3Offset, "Beat3Offset"}, {part.Beat4Offset, "Beat4Offset"}}};
    for (const auto& [offset, name] : beats) {
        if (offset != 0 && !CheckOffset(offset, name, index, starts, error)) return false;
    }
    if (!KnownFollowUp(part.FollowUpCode)) {
        error = Format("part %d (%s): follow-up code %d is unknown", index,
                       std::string(PartSelectorText(index).substr(1)).c_str(), static_cast<int>(part.FollowUpCode));
        return false;
    }
    return true;
}

}  // namespace

bool CheckStyleStream(const PartTable& parts, std::span<const std::uint8_t> stream, std::string& error) {
    if (stream.size() > static_cast<std::size_t>(StreamCapacity)) {
        error = Format("the stream has %zu bytes, more than %d", stream.size(), StreamCapacity);
        return false;
    }
    std::vector<std::uint8_t> starts;
    if (!MarkEvents(stream, starts, error)) return false;
    for (int p = 0; p < PartCount; ++p) {
        if (!CheckPart(parts[static_cast<std::size_t>(p)], p, starts, error)) return false;
    }
    return true;
}

bool CheckStyleHeader(const StyleHeader& header, std::string& error) {
    for (int c = 0; c < StyleChannels; ++c) {
        const auto& row = header.ChannelSetup[static_cast<std::size_t>(c)];
        for (int i = 0; i < ChannelSetupSize; ++i) {
            const std::uint8_t value = row[static_cast<std::size_t>(i)];
            if (value >= 0x80 && value != SetupNotSet) {
                error = Format("channel %d set-up byte %d is %d (expected 0 … 127 or 255)", c + 1, i, value);
                return false;
            }
        }
    }
    if (std::abs(static_cast<int>(header.StyleMeter)) > MaxStyleMeter) {
        error = Format("style meter %d is not a usable measure length", static_cast<int>(header.StyleMeter));
        return false;
    }
    return true;
}

bool ReadStyleFile(std::span<const std::uint8_t> file, StyleImage& image, std::string& error) {
    StyleImage result;
    platform::ByteReader r(file);
    std::int32_t first = 0;
    if (file.size() >= StyleFileTagSize && r.I32(first, "tag") && first >= StyleFileTagMinimum) {
        result.StyleFileTag = first;
    } else {
        r.Seek(0, "style header");
    }
    const std::size_t headerStart = r.Offset();
    if (r.Remaining() < static_cast<std::size_t>(StyleHeaderSize + PartTableSize)) {
        const std::size_t have = r.Remaining();
        error = have < static_cast<std::size_t>(StyleHeaderSize)
                    ? Format("the file ends inside the style header (%zu of %d bytes)", have, StyleHeaderSize)
                    : Format("the file ends inside the part table (%zu of %d bytes)", have - StyleHeaderSize,
                             PartTableSize);
        return false;
    }
    DecodeHeader(r, result.Header);
    for (auto& part : result.Parts) DecodePart(r, part);
    if (r.Failed() || r.Offset() != headerStart + StyleHeaderSize + PartTableSize) {
        error = r.Failed() ? r.Error() : "the style header and part table have the wrong size";
        return false;
    }
    result.Stream = r.Rest(static_cast<std::size_t>(StreamCapacity));
    RulesBlockFound block = FindRulesBlock(result.Stream, result.Parts);
    result.Stream = result.Stream.first(block.StreamSize);
    result.Native = block.Rules;
    result.NativeProblem = std::move(block.Problem);
    if (!CheckStyleHeader(result.Header, error)) return false;
    if (!CheckStyleStream(result.Parts, result.Stream, error)) return false;
    image = result;
    return true;
}

std::vector<std::uint8_t> StyleFileBytes(const StyleHeader& header, const PartTable& parts,
                                         std::span<const std::uint8_t> stream, std::int32_t tag) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(StyleFileTagSize + StyleHeaderSize + PartTableSize + stream.size());
    platform::ByteWriter w(bytes);
    if (tag >= StyleFileTagMinimum) w.I32(tag);
    EncodeHeader(w, header);
    for (const auto& part : parts) EncodePart(w, part);
    w.Bytes(stream.first(std::min(stream.size(), static_cast<std::size_t>(StreamCapacity))));
    return bytes;
}

bool WriteStyleFile(const std::string& path, const StyleHeader& header, const PartTable& parts,
                    std::span<const std::uint8_t> stream, std::string& error) {
    const auto bytes = StyleFileBytes(header, parts, stream);
    return platform::WriteFileAtomically(path, bytes, error);
}

bool StyleFileBytes(const StyleHeader& header, const PartTable& parts, std::span<const std::uint8_t> stream,
                    const NativeRules& native, std::vector<std::uint8_t>& bytes, std::string& error) {
    const std::vector<std::uint8_t> block = RulesBlockBytes(native);
    if (stream.size() + block.size() > static_cast<std::size_t>(StreamCapacity)) {
        error = Format("the stream (%zu bytes) and its channel rules (%zu bytes) pass the %d bytes a style holds",
                       stream.size(), block.size(), StreamCapacity);
        return false;
    }
    bytes = StyleFileBytes(header, parts, stream);
    bytes.insert(bytes.end(), block.begin(), block.end());
    return true;
}

bool WriteStyleFile(const std::string& path, const StyleHeader& header, const PartTable& parts,
                    std::span<const std::uint8_t> stream, const NativeRules& native, std::string& error) {
    std::vector<std::uint8_t> bytes;
    return StyleFileBytes(header, parts, stream, native, bytes, error) &&
           platform::WriteFileAtomically(path, bytes, error);
}

}  // namespace chordella::data
