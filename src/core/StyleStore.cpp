#include "core/StyleStore.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>

#include "core/Session.h"
#include "data/StyleAnalysis.h"
#include "data/StyleFile.h"
#include "data/StyleState.h"
#include "platform/Files.h"
#include "platform/Outcome.h"
#include "platform/Paths.h"
#include "platform/TextCase.h"

namespace chordella::data {

namespace {

constexpr const char* OpenTitle = "Open style ...";
constexpr const char* OpenFilter =
    "Styles (*.vxs; *.sty; *.prs; *.bcs; *.sst ...)|*.vxs;*.sty;*.prs;*.bcs;*.sst*;*.pcs;*.pst;*.fps;*.scp";
// The most a style file can hold that the reader uses: tag, header, part table, full stream.
constexpr std::size_t LargestUsefulFile = StyleFileTagSize + StyleHeaderSize + PartTableSize + StreamCapacity;

// Reads at most maxBytes from the start of the file; the rest of a longer file is ignored.
bool ReadFileHead(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out, std::string& error) {
    if (platform::FolderExists(path)) {
        error = "it is a folder";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    out.resize(maxBytes);
    file.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(maxBytes));
    if (file.bad()) {
        error = "read error";
        return false;
    }
    out.resize(static_cast<std::size_t>(file.gcount()));
    return true;
}

bool HasVxsExtension(const std::string& path) {
    const std::string_view name = platform::FileNamePart(path);
    if (name.size() < 4) return false;
    return platform::SameNoCase(name.substr(name.size() - 4), ".vxs");
}

bool AnyPartPresent(const PartTable& parts) {
    return std::any_of(parts.begin(), parts.end(), [](const PartRecord& p) { return p.Present(); });
}

// Step 7 of a load: programs above 62 clear the bank-select MSB; the instrument set may map programs.
void ApplyPrograms(StyleHeader& header, StyleLoadLink& hooks) {
    for (auto& row : header.ChannelSetup) {
        const int program = row[SetupProgramIndex];
        if (program == SetupNotSet) continue;
        if (program > 62) row[0] = 0;
        const int mapped = hooks.MapProgram(program);
        if (mapped >= 0 && mapped <= 127) row[SetupProgramIndex] = static_cast<std::uint8_t>(mapped);
    }
}

int FirstPresentPart(const PartTable& parts, int start) {
    for (int p = start; p <= Index(StylePart::ToExtended); ++p) {
        if (parts[static_cast<std::size_t>(p)].Present()) return p;
    }
    return start;
}

// The checked file's blocks become the style; the buffer behind the stream is cleared so that
// nothing of an earlier, longer style remains readable.
void Install(StyleState& style, const StyleImage& image) {
    style.Header = image.Header;
    style.Parts = image.Parts;
    const auto buffer = style.Stream.First();
    const auto end = std::copy(image.Stream.begin(), image.Stream.end(), buffer.begin());
    std::fill(end, buffer.end(), std::uint8_t{0});
    style.StyleLength = static_cast<std::int32_t>(image.Stream.size());
}

// Steps 6 and 7 of a load: the suppress flag, the header for the clock and transport, the programs.
void ApplyHeader(StyleHeader& header, StyleLoadLink& hooks) {
    if (header.ClearSuppressOnLoad) {
        header.SuppressControllers = 0;
        header.ClearSuppressOnLoad = 0;
    }
    hooks.ApplyHeader(header, MeterChoiceOf(header.StyleMeter));
    ApplyPrograms(header, hooks);
}

void NameAndSelect(StyleState& style, const std::string& path, bool introEnabled) {
    for (int p = 0; p < PartCount; ++p) {
        const auto& part = style.Parts[static_cast<std::size_t>(p)];
        style.PartBounds[static_cast<std::size_t>(p)] = {part.StartMeasure, part.EndMeasure};
    }
    style.StyleDisplayName = StyleDisplayNameOf(path);
    style.StyleCaptionName = StyleCaptionNameOf(style.StyleDisplayName, style.Parts);
    style.StylePath = path;
    style.StyleLoaded = 1;
    style.SelectedPart = FirstPresentPart(style.Parts, introEnabled ? Index(StylePart::Intro) : Index(StylePart::Basic));
}

}  // namespace

StyleStore::StyleStore(core::Session& session, StyleLoadLink* hooks)
    : session_(session), hooks_(hooks ? hooks : &session.StyleLoadLink()) {}

StyleState& StyleStore::Style() { return session_.Style().style; }

bool StyleStore::EnsureBuffers() {
    StyleState& style = Style();
    if (style.BuffersReady()) return true;
    if (style.Stream.Allocate()) {
        style.StyleBackup.reset(new (std::nothrow) std::uint8_t[StreamCapacity]());
    }
    if (style.BuffersReady()) return true;
    session_.Prompter().Inform("Sorry - Out of Memory !");
    return false;
}

void StyleStore::ResetState() {
    StyleState& style = Style();
    style.Header.Reset();
    style.Parts = PartTable{};
    for (auto& part : style.NotesEndInPart) part.fill(0);
    style.StyleLength = 0;
    style.StyleLoaded = 0;
    style.StyleModified = 0;
    style.StylePath.clear();
    style.StyleDisplayName.clear();
    style.StyleCaptionName.clear();
    style.SelectedPart = Index(StylePart::Basic);
    style.Native = NativeRules{};
}

void StyleStore::Reset(std::function<void()> done) {
    auto reset = [store = *this, done](bool saveFirst) mutable {
        if (saveFirst) store.Save(store.Style().StylePath);
        store.ResetState();
        store.hooks_->AfterReset();
        if (done) done();
    };
    if (!Style().StyleModified) {
        reset(false);
        return;
    }
    session_.Prompter().ConfirmThen("Save Style first ?", std::move(reset));
}

StyleLoadResult StyleStore::Load(const std::string& path, bool userStarted, bool asDefaultStyle, StyleLoadDone done) {
    return platform::OutcomeOf(StyleLoadResult::Asking, std::move(done), [&](StyleLoadDone finish) {
        if (hooks_->RecordingRuns()) {
            finish(StyleLoadResult::Cancelled);
            return;
        }
        hooks_->ConfirmReplace(userStarted, [store = *this, path, asDefaultStyle, finish](bool yes) mutable {
            finish(yes ? store.LoadConfirmed(path, asDefaultStyle) : StyleLoadResult::Cancelled);
        });
    });
}

StyleLoadResult StyleStore::LoadConfirmed(const std::string& path, bool asDefaultStyle) {
    // A recording may have started while the question was open.
    if (hooks_->RecordingRuns()) return StyleLoadResult::Cancelled;
    if (!EnsureBuffers()) return StyleLoadResult::Failed;
    return Replace(path, asDefaultStyle);
}

// Reads and checks the whole file first; only a file that passes replaces the loaded style.
StyleLoadResult StyleStore::Replace(const std::string& path, bool asDefaultStyle) {
    std::vector<std::uint8_t> file;
    std::string error;
    if (!ReadFileHead(path, LargestUsefulFile, file, error)) {
        session_.Prompter().Inform("Cannot load the style \"" + std::string(platform::FileNamePart(path)) +
                                   "\": " + error + " !");
        return StyleLoadResult::Failed;
    }
    return ReplaceWith(path, file, asDefaultStyle, NativeRules{});
}

StyleLoadResult StyleStore::InstallBuilt(const std::string& path, std::span<const std::uint8_t> vxsBytes,
                                         const NativeRules& native) {
    if (hooks_->RecordingRuns()) return StyleLoadResult::Cancelled;
    if (!EnsureBuffers()) return StyleLoadResult::Failed;
    return ReplaceWith(path, vxsBytes, false, native);
}

StyleLoadResult StyleStore::ReplaceWith(const std::string& path, std::span<const std::uint8_t> file,
                                        bool asDefaultStyle, const NativeRules& native) {
    std::string error;
    StyleImage image;
    if (!ReadStyleFile(file, image, error)) {
        session_.Prompter().Inform("Cannot load the style \"" + std::string(platform::FileNamePart(path)) +
                                   "\": " + error + " !");
        return StyleLoadResult::Failed;
    }

    StyleState& style = Style();
    hooks_->BeforeLoad();
    ResetState();
    if (!asDefaultStyle) style.StyleDirectory = platform::FolderOf(path);
    Install(style, image);
    // A style built from a foreign file brings its rules; a .vxs file may carry them in its block.
    style.Native = native.Present ? native : image.Native;
    if (!image.NativeProblem.empty())
        session_.Prompter().Inform("The style \"" + std::string(platform::FileNamePart(path)) +
                                   "\" plays without its channel rules: " + image.NativeProblem + " !");
    ApplyHeader(style.Header, *hooks_);
    NameAndSelect(style, path, hooks_->IntroEnabled());

    style.Header.ChannelUsed.fill(0);
    AnalyseChannels(style, 0, PartCount - 1, hooks_->Sc55InstrumentSet());
    std::copy_n(style.StreamBytes(), StreamCapacity, style.StyleBackup.get());

    // A Basic part that starts on the end of the stream: the style is empty.
    const std::int32_t basicStart = style.Parts[Index(StylePart::Basic)].RangeStart;
    if (basicStart >= 0 && basicStart < StreamCapacity && style.StreamBytes()[basicStart] == 0) {
        style.Parts = PartTable{};
        style.StyleLength = 255;
    }
    hooks_->AfterLoad();
    return StyleLoadResult::Loaded;
}

StyleLoadResult StyleStore::OpenByPath(const std::string& storedPath, MissingStyle missing, StyleLoadDone done) {
    const auto answer = [&done](StyleLoadResult result) {
        if (done) done(result);
        return result;
    };
    if (storedPath.empty()) return answer(StyleLoadResult::Cancelled);
    const auto& paths = session_.Paths();
    const std::string found = FindStyleFile(storedPath, paths.DataDir(), paths.Styles());
    if (found.empty()) {
        if (missing == MissingStyle::Tell) session_.Prompter().Inform("Style not found !");
        return answer(StyleLoadResult::Failed);
    }
    return Load(found, false, false, std::move(done));
}

StyleLoadResult StyleStore::OpenWithDialog(StyleLoadDone done) {
    StyleState& style = Style();
    const bool previousWasVxs = style.StylePath.empty() || HasVxsExtension(style.StylePath);
    const std::string preset = previousWasVxs && !style.StylePath.empty()
                                   ? std::string(platform::FileNamePart(style.StylePath))
                                   : std::string("*.VXS");
    const std::string folder = style.StyleDirectory.empty() ? session_.Paths().Styles() : style.StyleDirectory;
    return platform::OutcomeOf(StyleLoadResult::Asking, std::move(done), [&](StyleLoadDone finish) {
        session_.Prompter().OpenFileThen(OpenTitle, OpenFilter, folder + "/" + preset,
                                         [store = *this, finish](std::optional<std::string> chosen) mutable {
                                             if (!chosen || chosen->empty()) {
                                                 finish(StyleLoadResult::Cancelled);
                                                 return;
                                             }
                                             store.OpenChosen(*chosen, std::move(finish));
                                         });
    });
}

void StyleStore::OpenChosen(const std::string& chosen, StyleLoadDone finish) {
    if (HasVxsExtension(chosen)) {
        Load(chosen, true, false, std::move(finish));
        return;
    }
    if (hooks_->RecordingRuns()) {
        finish(StyleLoadResult::Cancelled);
        return;
    }
    hooks_->ConfirmReplace(true, [store = *this, chosen, finish = std::move(finish)](bool yes) mutable {
        if (!yes || store.hooks_->RecordingRuns()) {
            finish(StyleLoadResult::Cancelled);
            return;
        }
        if (!store.hooks_->ConvertForeignStyle(chosen)) {
            store.session_.Prompter().Inform("Cannot open the style \"" + std::string(platform::FileNamePart(chosen)) +
                                             "\": this style format cannot be converted !");
            finish(StyleLoadResult::Failed);
            return;
        }
        store.Style().StyleDirectory = platform::FolderOf(chosen);
        finish(StyleLoadResult::Loaded);
    });
}

bool StyleStore::Save(const std::string& path) {
    StyleState& style = Style();
    if (path.empty() || style.StyleLength <= 0 || !style.StreamBytes() || !AnyPartPresent(style.Parts)) return false;
    const auto length = static_cast<std::size_t>(std::min(style.StyleLength, StreamCapacity));
    std::string error;
    if (!WriteStyleFile(path, style.Header, style.Parts, {style.StreamBytes(), length}, style.Native, error)) {
        session_.Prompter().Inform("Cannot save the style \"" + std::string(platform::FileNamePart(path)) +
                                   "\": " + error + " !");
        return false;
    }
    if (path != style.StylePath) {
        style.StylePath = path;
        style.StyleDisplayName = StyleDisplayNameOf(path);
        style.StyleCaptionName = StyleCaptionNameOf(style.StyleDisplayName, style.Parts);
    }
    style.StyleModified = 0;
    return true;
}

bool StyleStore::Delete(std::function<void(bool)> done) {
    const StyleState& style = Style();
    if (style.StylePath.empty()) {
        if (done) done(false);
        return false;
    }
    const std::string path = style.StylePath;
    const std::string name(platform::FileNamePart(path));
    return platform::OutcomeOf(false, std::move(done), [&](platform::Done<bool> finish) {
        session_.Prompter().ConfirmThen(
            "Are you sure you want to delete the style \"" + name + "\"?",
            [session = &session_, path, name, finish](bool yes) {
                if (!yes) {
                    finish(false);
                    return;
                }
                // The file asked about is deleted, even if another style was opened meanwhile.
                if (std::remove(path.c_str()) != 0) {
                    session->Prompter().Inform("Cannot delete the style \"" + name + "\": " + std::strerror(errno) +
                                               " !");
                    finish(false);
                    return;
                }
                finish(true);
            });
    });
}

void StyleStore::RestoreOriginal() {
    StyleState& style = Style();
    if (!style.BuffersReady() || !style.StyleLoaded) return;
    std::copy(style.StyleBackup.get(), style.StyleBackup.get() + StreamCapacity, style.StreamBytes());
    style.StyleModified = 1;
}

void StyleStore::RestorePartBounds() {
    StyleState& style = Style();
    for (int p = 0; p < PartCount; ++p) {
        const PartBound& bound = style.PartBounds[static_cast<std::size_t>(p)];
        if (bound.StartMeasure == 0) continue;
        PartRecord& part = style.Parts[static_cast<std::size_t>(p)];
        part.StartMeasure = bound.StartMeasure;
        part.EndMeasure = bound.EndMeasure;
        part.LengthMeasures = static_cast<std::int16_t>(bound.EndMeasure - bound.StartMeasure + 1);
        style.StyleModified = 1;
    }
}

}  // namespace chordella::data
