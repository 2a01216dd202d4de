#include "ui/QtPrompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "ui/QtTestApp.h"

namespace chordella::ui {
namespace {

// Once a modal dialog of type T shows, runs `answer` on it (from the event loop the
// dialog itself runs).
template <typename T>
void WhenShown(std::function<void(T*)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(dialog);
        }
    });
    poll->start();
}

void ClickButton(QMessageBox* box, QMessageBox::StandardButton which) {
    QTest::mouseClick(box->button(which), Qt::LeftButton);
}

class QtPrompterTest : public ::testing::Test {
protected:
    QApplication& app = testing::QtTestApp();  // before any widget
    QtPrompter prompter;
};

// The box's title and text are checked on the message from the control thread below.
TEST_F(QtPrompterTest, AQuestionOnTheGuiThreadShowsAQuestionBoxAndAnswersTheButton) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
        icon = box->icon();
        ClickButton(box, QMessageBox::Yes);
    });
    EXPECT_TRUE(prompter.Confirm("Save Style first ?"));
    EXPECT_EQ(icon, QMessageBox::Question);

    WhenShown<QMessageBox>([](QMessageBox* box) { ClickButton(box, QMessageBox::Cancel); });
    EXPECT_EQ(prompter.Ask("Save Song first ?"), platform::Answer::Cancel);
}

TEST_F(QtPrompterTest, AMessageFromTheControlThreadWaitsUntilTheBoxIsClosedAndAnAnswerComesBack) {
    std::atomic<bool> returned = false;
    bool returnedWhileShown = true;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        QTest::qWait(20);
        returnedWhileShown = returned;
        ClickButton(box, QMessageBox::Ok);
    });
    std::thread control([&] {
        prompter.Inform("Chordmemory is empty !");
        returned = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }, 30000));
    control.join();
    EXPECT_FALSE(returnedWhileShown);
    EXPECT_EQ(title, "Chordella");
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(text, "Chordmemory is empty !");

    // An answer from the control thread comes back.
    platform::Answer answer = platform::Answer::Cancel;
    returned = false;
    WhenShown<QMessageBox>([](QMessageBox* box) { ClickButton(box, QMessageBox::No); });
    std::thread asking([&] {
        answer = prompter.Ask("Save Song first ?");
        returned = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }, 30000));
    asking.join();
    EXPECT_EQ(answer, platform::Answer::No);
}

TEST_F(QtPrompterTest, CloseAnswersAWaitingQuestionAsCancelledAndShowsNothing) {
    bool answer = true;
    std::thread control([&] { answer = prompter.Confirm("Delete ?"); });
    // The question waits in the GUI thread's queue: this thread handles no events now.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    prompter.Close();
    control.join();
    EXPECT_FALSE(answer);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtPrompterTest, AnInputBoxOverTheWindowAnswersTheTextOrNothing) {
    QWidget window;
    prompter.SetParentWindow(&window);
    WhenShown<QInputDialog>([&](QInputDialog* box) {
        EXPECT_EQ(box->parentWidget(), &window);
        EXPECT_EQ(box->windowTitle(), "Tempo");
        EXPECT_EQ(box->textValue(), "120");
        box->setTextValue("96");
        box->accept();
    });
    EXPECT_EQ(prompter.Input("Tempo", "New tempo :", "120"), "96");
    WhenShown<QInputDialog>([](QInputDialog* box) { box->reject(); });
    EXPECT_EQ(prompter.Input("Tempo", "New tempo :", "120"), std::nullopt);
}

TEST_F(QtPrompterTest, AFileDialogOffersTheFiltersAndAnswersThePathChosen) {
    QTemporaryDir folder;
    const QString song = folder.filePath("demo.vxa");
    QFile file(song);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QStringList filters;
    WhenShown<QFileDialog>([&](QFileDialog* box) {
        filters = box->nameFilters();
        box->selectFile(song);
        static_cast<QDialog*>(box)->accept();  // OK, as the user would click it
    });
    const auto chosen = prompter.OpenFile("Open Song", "Songs|*.vxa|All files|*.*", folder.path().toStdString());
    EXPECT_EQ(filters, (QStringList{"Songs (*.vxa)", "All files (*.*)"}));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QString::fromStdString(*chosen), song);

    WhenShown<QFileDialog>([](QFileDialog* box) { box->reject(); });
    EXPECT_EQ(prompter.SaveFile("Save Song", "Songs|*.vxa", folder.path().toStdString()), std::nullopt);
}

}  // namespace
}  // namespace chordella::ui
