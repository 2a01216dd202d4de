#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "remote/RemoteFunctions.h"
#include "ui/MidiCommandsWindow.h"
#include "ui/MidiControlsWindow.h"
#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

using A = desktop::RemoteAction;

// Answers every remote request at once with the view a test set; "Learn" and "Cancel" are
// answered as the core would.
class RemoteLink : public testing::RecordingCoreLink {
public:
    std::vector<desktop::RemoteRequest> Requests;
    desktop::RemoteView Answer;
    void RemoteCommand(const desktop::RemoteRequest& request, std::function<void(const desktop::RemoteView&)> done) override {
        Requests.push_back(request);
        if (request.Action == A::Learn) Answer.Learning = request.Function;
        if (request.Action == A::CancelLearn) Answer.Learning = -1;
        desktop::RemoteView view = Answer;
        if (request.Action == A::SetValues) view.Message = "Values are stored !";
        done(view);
    }
    std::vector<A> Actions() const {
        std::vector<A> actions;
        for (const desktop::RemoteRequest& request : Requests) actions.push_back(request.Action);
        return actions;
    }
};

desktop::RemoteView SomeView() {
    desktop::RemoteView view;
    view.Caption = "MIDI Commands - Live.ccs";
    view.Table.Commands[3] = {static_cast<int>(remote::CommandType::NoteDelayed), 9, 36, 100};
    view.Ports = {desktop::NoCommandPort, "Memory Out 1", "Memory Out 3"};
    view.Port = 2;
    view.Indicators[0] = true;
    for (const int function : {remote::function::StartStop, remote::function::FillIn})
        view.Bindings.push_back({function, remote::FunctionName(function), {}});
    view.Bindings[0].Messages = "Controller 64 on any channel";
    return view;
}

void CloseMessages(QWidget& window) {
    for (QMessageBox* box : window.findChildren<QMessageBox*>("RemoteMessage")) box->close();
}

TEST(MidiCommandsWindow, ShowsTheCoresTableAndSendsTheEditedOneWithSetValues) {
    testing::QtTestApp();
    RemoteLink link;
    link.Answer = SomeView();
    MidiCommandsWindow window(link);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(link.Actions(), std::vector<A>{A::Read});
    EXPECT_EQ(window.windowTitle(), "MIDI Commands - Live.ccs");
    EXPECT_EQ(window.TypeList(3)->currentText(), "Note Delayed");
    EXPECT_EQ(window.Channel(3)->value(), 10) << "channels are shown from 1";
    EXPECT_EQ(window.Ports()->currentText(), "Memory Out 3");

    // Entries beyond a field's range are held at its end.
    window.Data(3)->setValue(5000);
    window.Value(3)->setValue(200);
    window.Channel(0)->setValue(16);
    window.SetValues({});
    ASSERT_EQ(link.Requests.back().Action, A::SetValues);
    const remote::MidiCommandTable sent = link.Requests.back().Table;
    EXPECT_EQ(sent.Commands[3], (remote::MidiCommand{8, 9, 127, 999}));
    EXPECT_EQ(sent.Commands[0].Channel, 15);
    auto* box = window.findChild<QMessageBox*>("RemoteMessage");
    ASSERT_NE(box, nullptr) << "the answer's message is shown";
    EXPECT_EQ(box->text(), "Values are stored !");
    CloseMessages(window);

    window.SetValues(Modifiers{false, true, false, true});
    EXPECT_TRUE(link.Requests.back().Ctrl);
    CloseMessages(window);
    // A row's "Send" on the chosen port runs over the real core in LibraryWindowsTest.
}

TEST(MidiControlsWindow, ShowsTheIndicatorsAndLearnsAFunctionUntilItIsCancelledOrTheWindowHides) {
    testing::QtTestApp();
    RemoteLink link;
    link.Answer = SomeView();
    MidiControlsWindow window(link);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.Indicator(0)->checkState(), Qt::PartiallyChecked) << "greyed";
    EXPECT_EQ(window.Indicator(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(window.BoundText(remote::function::StartStop), "Controller 64 on any channel");

    QPushButton* learn = window.LearnButton(remote::function::FillIn);
    ASSERT_NE(learn, nullptr);
    learn->click();
    EXPECT_EQ(link.Requests.back().Action, A::Learn);
    EXPECT_EQ(link.Requests.back().Function, remote::function::FillIn);
    EXPECT_EQ(learn->text(), "Cancel");
    learn->click();
    EXPECT_EQ(link.Requests.back().Action, A::CancelLearn);
    EXPECT_EQ(learn->text(), "Learn");

    // While shown it reads the state again and again: a binding learned meanwhile appears.
    learn->click();
    link.Answer.Learning = -1;
    link.Answer.Bindings[1].Messages = "Controller 85 on channel 4";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.BoundText(remote::function::FillIn).contains("85"); }, 30000));
    EXPECT_EQ(learn->text(), "Learn");

    learn->click();
    window.hide();
    EXPECT_EQ(link.Requests.back().Action, A::CancelLearn) << "no learn waits behind a hidden window";
}

}  // namespace
}  // namespace chordella::ui
