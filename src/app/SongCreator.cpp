#include "app/SongCreator.h"

#include "app/AppState.h"
#include "core/Session.h"
#include "core/SongFiles.h"
#include "app/SongCreation.h"
#include "chords/KeyboardLayout.h"
#include "composer/ProgressionExport.h"
#include "composer/SongKeys.h"
#include "composer/SongSheet.h"

namespace chordella::app {

SongCreator::SongCreator(core::Session& session, AppState& app, std::function<void()> play)
    : session_(session), app_(app),
      play_(std::move(play)),
      folderList_(std::make_unique<composer::StylesFolderList>(session.Paths().Styles())),
      styleList_(folderList_.get()) {}

SongCreator::~SongCreator() = default;

composer::StyleListLink* SongCreator::DefaultStyleList() const {
    return defaultList_ ? defaultList_ : folderList_.get();
}

void SongCreator::SetStyleList(composer::StyleListLink* list) { styleList_ = list ? list : DefaultStyleList(); }

void SongCreator::SetDefaultStyleList(composer::StyleListLink* list) {
    const bool usingDefault = styleList_ == DefaultStyleList();
    defaultList_ = list;
    if (usingDefault) styleList_ = DefaultStyleList();
}

void SongCreator::SetKeyAndMode(int keyIndex, int modeIndex) {
    // Entries outside the lists change nothing.
    if (keyIndex < 0 || keyIndex >= static_cast<int>(composer::KeyListNames.size())) return;
    if (modeIndex < 0 || modeIndex >= static_cast<int>(composer::ModeListNames.size())) return;
    keyIndex_ = keyIndex;
    modeIndex_ = modeIndex;
}

void SongCreator::SetAfterGeneration(std::function<void(const composer::GeneratedSong&)> afterGeneration) {
    afterGeneration_ = std::move(afterGeneration);
}

SongCreatorResult SongCreator::ChooseEntry(int entry) {
    if (entry == composer::LowerLimitEntry) {
        AskLowerLimit();
        return {};
    }
    if (entry == composer::UpperLimitEntry) {
        AskUpperLimit();
        return {};
    }
    if (!choice_.ChooseEntry(entry)) return {};
    listChosen_ = true;
    return Generate(composer::GenerationMode::Progressions);
}

void SongCreator::AskLowerLimit(std::function<void()> done) {
    session_.Prompter().InputThen(composer::RangeBoxTitle, composer::LowerLimitPrompt, std::to_string(choice_.Lower()),
                                  [this, done](std::optional<std::string> text) {
                                      if (text) {
                                          const std::string message = choice_.SetLowerLimit(*text);
                                          if (!message.empty()) session_.Prompter().Inform(message);
                                      }
                                      if (done) done();
                                  });
}

void SongCreator::AskUpperLimit(std::function<void()> done) {
    session_.Prompter().InputThen(composer::RangeBoxTitle, composer::UpperLimitPrompt, std::to_string(choice_.Upper()),
                                  [this, done](std::optional<std::string> text) {
                                      if (text) {
                                          const std::string message = choice_.SetUpperLimit(*text);
                                          if (!message.empty()) session_.Prompter().Inform(message);
                                      }
                                      if (done) done();
                                  });
}

SongCreatorResult SongCreator::CreateChords() {
    return Generate(listChosen_ ? composer::GenerationMode::Progressions : composer::GenerationMode::RandomChords);
}

SongCreatorResult SongCreator::CompletelyRandomSong() {
    // The list's heading entry is selected: no progression is chosen any more.
    listChosen_ = false;
    if (options_.RandomStyle) RandomStyle();
    return Generate(composer::GenerationMode::CompletelyRandom);
}

std::string SongCreator::RandomStyle() {
    session_.Transport().Stop();
    SessionStyleLoader loader(session_);
    return styleChoice_.Choose(*styleList_, loader, session_.Random(), options_.WithBassTrack);
}

void SongCreator::FromChordView(bool mixed, std::function<void(const SongCreatorResult&)> done) {
    session_.Transport().Stop();
    auto generate = [this, mixed, done] {
        SongCreatorResult result = mixed ? ChooseEntry(composer::ShuffleAllEntry) : CompletelyRandomSong();
        if (done) done(result);
    };
    if (!data::HasUnsavedChanges(app_.arrangement)) return generate();
    session_.Prompter().ConfirmThen(SaveArrangementQuestion, [this, generate, done](bool yes) {
        if (!yes) return generate();
        // "Yes" saves the song and ends the command: the player starts the new song later.
        data::SongFiles(session_, app_.arrangement, app_.options).Save();
        if (done) done({});
    });
}

std::string SongCreator::AnotherStyle() {
    const int position = app_.arrangement.ChordMemoryPos;
    const std::string name = RandomStyle();
    // Past the song's third beat the song goes on with the new style; before it, it stays stopped.
    constexpr int ThirdBeat = data::ChordMemoryHeaderSize + 2 * 4;
    if (position > ThirdBeat && play_) play_();
    return name;
}

SongCreatorResult SongCreator::Regenerate(const std::vector<int>& locked) { return Generate(lastMode_, locked); }

void SongCreator::ExportList() {
    const std::string folder = session_.Paths().DataDir();
    session_.Prompter().ConfirmThen(composer::SaveProgressionListQuestion, [this, folder](bool yes) {
        if (!yes) return;
        std::string error;
        if (!composer::SaveProgressionList(folder, error)) {
            session_.Prompter().Inform(std::string(composer::ProgressionListFileName) + " could not be saved: " + error + " !");
        }
    });
}

SongCreatorResult SongCreator::BatchSong() {
    if (options_.RandomStyle) RandomStyle();
    return Generate(options_.SimpleSongs ? composer::GenerationMode::RandomChords
                                         : composer::GenerationMode::CompletelyRandom,
                    {}, false);
}

SongCreatorResult SongCreator::Generate(composer::GenerationMode mode, const std::vector<int>& locked, bool play) {
    session_.Transport().Stop();
    const composer::GeneratedSong previous = lastSong_;
    lastMode_ = mode;
    composer::SongCreatorOptions options = options_;
    options.KeyIndex = keyIndex_;
    options.ModeIndex = modeIndex_;
    lastSong_ = composer::GenerateSong(options, mode, &choice_, GeneratorInputsOf(session_, app_), session_.Random());
    if (!locked.empty()) composer::KeepMeasures(previous, locked, lastSong_);
    ApplyGeneratedSong(session_, app_, lastSong_);
    if (afterGeneration_) afterGeneration_(lastSong_);
    // A song just made has nothing to lose yet: the question before the next one waits for an edit.
    data::MarkSongSaved(app_.arrangement);

    SongCreatorResult result;
    result.Generated = true;
    result.PlayLabel = lastSong_.PlayLabel;
    result.Progressions = lastSong_.ProgressionText();
    result.Bars = lastSong_.BarsText();
    const data::ControlKeys keys = chords::CurrentLayout(app_.chords, app_.keyboard, app_.config).Keys;
    result.Sheet = composer::SongSheetText(lastSong_, data::SectionKeyNotes::From(keys.FillIn, keys.ToBasic, keys.Ending, keys.ToExtended));
    result.Numerals = composer::SongNumerals(lastSong_);
    result.StyleName = session_.Style().style.StyleDisplayName;
    if (play && play_) play_();
    return result;
}

}  // namespace chordella::app
