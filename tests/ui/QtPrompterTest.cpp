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
    QtPrompterTest() { testing::QtTestApp(); }
    QtPrompter prompter;
};

TEST(QtFileFilterTest, TurnsTheBarSeparatedListIntoQtFilters) {
    EXPECT_EQ(QtFileFilter("Styles|*.vxs;*.VXS|All files|*.*"), "Styles (*.vxs *.VXS);;All files (*.*)");
    EXPECT_EQ(QtFileFilter("Songs|*.vxa"), "Songs (*.vxa)");
    EXPECT_EQ(QtFileFilter(""), "");
}

TEST_F(QtPrompterTest, AQuestionOnTheGuiThreadShowsAQuestionBoxAndAnswersTheButton) {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        ClickButton(box, QMessageBox::Yes);
    });
    EXPECT_TRUE(prompter.Confirm("Save Style first ?"));
    EXPECT_EQ(title, "Chordella");
    EXPECT_EQ(text, "Save Style first ?");
    EXPECT_EQ(icon, QMessageBox::Question);

    WhenShown<QMessageBox>([](QMessageBox* box) { ClickButton(box, QMessageBox::Cancel); });
    EXPECT_EQ(prompter.Ask("Save Song first ?"), platform::Answer::Cancel);
}

TEST_F(QtPrompterTest, AMessageFromTheControlThreadWaitsUntilTheBoxIsClosed) {
    std::atomic<bool> returned = false;
    std::thread control([&] {
        prompter.Inform("Chordmemory is empty !");
        returned = true;
    });
    QMessageBox* shown = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())); }, 5000));
    EXPECT_EQ(shown->windowTitle(), "Chordella");
    EXPECT_EQ(shown->icon(), QMessageBox::Information);
    EXPECT_EQ(shown->text(), "Chordmemory is empty !");
    QTest::qWait(20);
    EXPECT_FALSE(returned);
    ClickButton(shown, QMessageBox::Ok);
    control.join();
    EXPECT_TRUE(returned);
}

TEST_F(QtPrompterTest, AnAnswerFromTheControlThreadComesBack) {
    platform::Answer answer = platform::Answer::Cancel;
    std::atomic<bool> done = false;
    WhenShown<QMessageBox>([](QMessageBox* box) { ClickButton(box, QMessageBox::No); });
    std::thread control([&] {
        answer = prompter.Ask("Save Song first ?");
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
    control.join();
    EXPECT_EQ(answer, platform::Answer::No);
}

TEST_F(QtPrompterTest, CloseAnswersAWaitingQuestionAsCancelledAndShowsNothing) {
    bool answer = true;
    std::thread control([&] { answer = prompter.Confirm("Delete ?"); });
    QTest::qWait(20);  // the question waits in the GUI thread's queue
    prompter.Close();
    control.join();
    EXPECT_FALSE(answer);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtPrompterTest, AnInputBoxAnswersTheTextOrNothing) {
    WhenShown<QInputDialog>([](QInputDialog* box) {
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
        box->accept();
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
