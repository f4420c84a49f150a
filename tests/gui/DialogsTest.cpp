// The message boxes and file dialogs of the program on Qt: the focus comes back to where
// it was once they close, and the save dialog adds the default extension, asks before
// replacing that file and refuses a folder that does not exist.
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

#include "frame/QtUserInterface.h"
#include "tests/kit/CharWindowHelpers.h"
#include "windows/states/ScoreWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

// Answers the next message box (not any other dialog) with `button`, keeping its text.
QPointer<QTimer> AnswerNextMessage(QStringList* texts, QMessageBox::StandardButton button) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, texts, button] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            *texts << box->text();
            box->button(button)->click();
        }
    });
    poll->start(1);
    return poll;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;
    QtUserInterface qt;

    // The Score window with the focus in its list, as after a click on a state.
    TCharScore* ScoreWithFocus() {
        f->OpenAccepted(f->Write(ShrubKey()));
        auto* score = Windows().OpenWindow<TCharScore>(WindowKind::CharScore);
        if (!score) qFatal("no Score window");
        f->Main->activateWindow();
        if (!QTest::qWaitForWindowActive(f->Main)) qFatal("the main window is not active");
        ClickRow(score->VornListBox, 1);
        score->VornListBox->setFocus();
        return score;
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void theFocusComesBackAfterMessagesQuestionsAndFileDialogs() {
        TCharScore* score = ScoreWithFocus();
        QCOMPARE(QApplication::focusWidget(), score->VornListBox);
        struct Installed {
            UserInterface* previous;
            ~Installed() { SetUserInterface(previous); }
        } installed{SetUserInterface(&qt)};

        QStringList texts;
        AnswerNextMessage(&texts, QMessageBox::Ok);
        ShowInformation("A message");
        QTRY_COMPARE(QApplication::activeWindow(), f->Main);
        QTRY_COMPARE(QApplication::focusWidget(), score->VornListBox);

        AnswerNextMessage(&texts, QMessageBox::No);
        QVERIFY(!UI().AskYesNo(MessageKind::Warning, "A question", nullptr));
        QTRY_COMPARE(QApplication::focusWidget(), score->VornListBox);

        AnswerNextDialog([](QDialog* d) { d->reject(); });
        FileDialogRequest request;
        request.Title = "Load History List";
        QVERIFY(!UI().OpenFileDialog(request));
        QCOMPARE(texts, QStringList({"A message", "A question"}));
        QTRY_COMPARE(QApplication::activeWindow(), f->Main);
        QTRY_COMPARE(QApplication::focusWidget(), score->VornListBox);

        // So the window's access keys work at once: Alt+P scores the highlighted state.
        QTest::keyClick(f->Main->windowHandle(), Qt::Key_P, Qt::AltModifier);
        QCOMPARE(CurrentSession().StateScore(1), uint8_t(ScorePresent));
    }

    void theFrameIsActiveAfterTheTitlePage() {
        f->OpenAccepted(f->Write(ShrubKey()));
        QTRY_COMPARE(QApplication::activeWindow(), f->Main);
        // Function keys reach the frame without a click: F4 opens Matching Taxa.
        QTest::keyClick(f->Main->windowHandle(), Qt::Key_F4);
        QVERIFY(Windows().IsOpen(WindowKind::TaxMatch));
    }

    void theSaveDialogAddsTheExtensionAsksAndRefusesAMissingFolder() {
        std::string folder = f->Dir.Path();
        WriteFile(folder + "WALK.HIS", "+1\r\n");
        FileDialogRequest request;
        request.Title = "Save History List";
        request.Filter = "History List File (*.HIS)";
        request.MustExist = false;
        request.ConfirmOverwrite = true;
        request.DefaultSuffix = "HIS";
        request.StartFolder = folder;

        // A folder that does not exist: a message, and the dialog stays for another name.
        QStringList texts;
        bool stayedOpen = false;
        AnswerNextDialog([&](QDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name);
            AnswerNextMessage(&texts, QMessageBox::Ok);
            name->setText(QString::fromStdString(folder + "nowhere/NEW"));
            dialog->accept();
            stayedOpen = dialog->isVisible();
            name->setText("NEW");
            dialog->accept();
        });
        std::optional<std::string> chosen = qt.SaveFileDialog(request);
        QVERIFY(stayedOpen);
        QCOMPARE(texts, QStringList({QString::fromStdString(
                            "The folder \"" + folder +
                            "nowhere\" does not exist.  Choose a folder that exists.")}));
        QCOMPARE(chosen.value_or("(cancelled)"), folder + "NEW.HIS");
        QVERIFY(!QFileInfo::exists(QString::fromStdString(folder + "nowhere")));

        // WALK is WALK.HIS, which exists: the question is asked about that file.
        texts.clear();
        AnswerNextDialog([&](QDialog* dialog) {
            AnswerNextMessage(&texts, QMessageBox::Yes);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("WALK");
            dialog->accept();
        });
        chosen = qt.SaveFileDialog(request);
        QCOMPARE(chosen.value_or("(cancelled)"), folder + "WALK.HIS");
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts[0].startsWith("WALK.HIS already exists."), qPrintable(texts[0]));
    }
};

VORN_QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
