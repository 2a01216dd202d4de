#include "ui/PerformanceButtons.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <functional>

#include "ui/SectionCaptions.h"

namespace chordella::ui {

namespace {

// The parts whose button lights while they play or are queued (-1: none).
constexpr int NoPart = -1;

struct PanelButton {
    const char* Name;
    const char* Caption;  // buttons without a section caption
    const SectionCaption* Section;
    std::array<int, 2> Parts;  // the parts that light it
};

// Start/Stop, Sync Start, Intro, Basic, Extended, Fill, To Basic, To Extended, Ending, Fade.
constexpr std::array<PanelButton, PerformanceButtons::Count> Texts{{
    {"PlayButton", "Start / Stop\nSpace", nullptr, {NoPart, NoPart}},
    {"SyncStartButton", "Sync Start", nullptr, {NoPart, NoPart}},
    {"IntroButton", nullptr, &IntroCaption, {0, NoPart}},
    {"BasicButton", nullptr, &BasicCaption, {1, NoPart}},
    {"ExtendedButton", nullptr, &ExtendedCaption, {2, NoPart}},
    {"FillButton", nullptr, &FillInCaption, {4, 5}},
    {"ToBasicButton", nullptr, &ToBasicCaption, {7, NoPart}},
    {"ToExtendedButton", nullptr, &ToExtendedCaption, {6, NoPart}},
    {"EndingButton", nullptr, &EndingCaption, {3, NoPart}},
    {"FadeButton", nullptr, &FadeCaption, {NoPart, NoPart}},
}};

enum Index { StartStop, SyncStart, Intro, Basic, Extended, Fill, ToBasic, ToExtended, Ending, Fade };

void SetState(QPushButton* button, const char* state) {
    if (button->property("state").toString() == state) return;
    button->setProperty("state", state);  // the theme colours "playing", "queued", "armed"
    button->style()->unpolish(button);
    button->style()->polish(button);
}

bool Lights(const PanelButton& text, int part) {
    return part != NoPart && (text.Parts[0] == part || text.Parts[1] == part);
}

}  // namespace

PerformanceButtons::PerformanceButtons(CoreLink& core, QWidget* parent) : QWidget(parent), core_(core) {
    setObjectName("PerformanceButtons");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    const std::array<std::function<void()>, Count> actions{
        [this] { core_.StartStop(); },
        [this] { core_.ToggleSyncStart(); },
        [this] { core_.RequestPart(0); },
        [this] { core_.RequestPart(1); },
        [this] { core_.RequestPart(2); },
        [this] { core_.SectionKeyPressed(0); },
        [this] { core_.SectionKeyPressed(2); },
        [this] { core_.SectionKeyPressed(1); },
        [this] { core_.SectionKeyPressed(3); },
        [this] { core_.FadeOut(); },
    };
    for (std::size_t i = 0; i < Texts.size(); ++i) {
        const PanelButton& text = Texts[i];
        auto* button = new QPushButton(text.Section != nullptr ? ButtonText(*text.Section) : QString(text.Caption));
        button->setObjectName(text.Name);
        button->setProperty("role", "performance");
        button->setProperty("state", "");
        button->setFocusPolicy(Qt::NoFocus);  // the window keeps the keys
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        connect(button, &QPushButton::clicked, this, actions[i]);
        buttons_[i] = button;
        layout->addWidget(button, i == StartStop ? 2 : 1);
    }
    buttons_[SyncStart]->setToolTip(
        "The style starts with the first chord you play (in Slave Mode: with the external MIDI start); "
        "pressed while it plays, the style stops and waits for the next chord");
    buttons_[Fade]->setToolTip("The style fades out and stops");
}

void PerformanceButtons::Refresh(const app::DisplaySnapshot& snapshot) {
    SetState(buttons_[StartStop], snapshot.Playing ? "playing" : "");
    SetState(buttons_[SyncStart], snapshot.SyncStart ? "armed" : "");
    buttons_[SyncStart]->setEnabled(snapshot.SyncStartAvailable || snapshot.SyncStart);
    SetState(buttons_[Fade], snapshot.Fading ? "playing" : "");
    for (std::size_t i = Intro; i <= Ending; ++i) {
        const PanelButton& text = Texts[i];
        const char* state = Lights(text, snapshot.Part) ? "playing" : Lights(text, snapshot.QueuedPart) ? "queued" : "";
        SetState(buttons_[i], state);
    }
}

}  // namespace chordella::ui
