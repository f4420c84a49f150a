// Start-up and shut-down: the splash, the About box before any key, the settings read
// when the main window shows and written when it closes, and the general error handling.
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QtTest>

#include "core/platform/IoError.h"
#include "core/session/Settings.h"
#include "desktop/AboutBox.h"
#include "desktop/SplashScreen.h"
#include "desktop/Startup.h"
#include "tests/kit/GuiFixture.h"
#include "windows/TitlePageDialog.h"

using namespace vorn;
using vorn::testing::AnswerNextDialog;
using vorn::testing::KeySpec;
using vorn::testing::ScriptedUserInterface;
using vorn::testing::TempDir;
using vorn::testing::WriteFile;

namespace {

KeySpec SmallKey() {
    KeySpec keySpec;
    keySpec.Name = "HAZEL";
    keySpec.TitleLines = {"Hazels"};
    keySpec.Taxa = {"Corylus avellana", "Corylus maxima"};
    keySpec.States = {"Husk: short", "Husk: long"};
    keySpec.Codes = {"+-", "-+"};
    return keySpec;
}

// An object whose events fail as a key file with a read error would.
class FailingObject : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw IoError("TREES.DAT", "read", "Input/output error");
        return QObject::event(e);
    }
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
    std::string start_;

private slots:
    void init() { start_ = CurrentDirectory(); }
    void cleanup() {
        CloseKey(CurrentSession());
        ChangeToDirectory(start_);
    }

    void noKeyOpensBeforeTheAboutBoxIsClosed() {
        TempDir dir;
        ScriptedUserInterface ui;
        std::string key = testing::WriteKey(dir.Path(), SmallKey());
        std::string ini = dir.Path() + "VORNWIN.INI";
        WriteFile(ini, "[OpenKey]\nFullName=" + key + "\n");

        QElapsedTimer clock;
        clock.start();
        QStringList seen;
        qint64 aboutAfter = 0;
        AnswerNextDialog([&](QDialog* about) {
            aboutAfter = clock.elapsed();
            seen << about->objectName() << (CurrentSession().Key.KeyOpen ? "open" : "closed");
            QVERIFY(!SplashShowing);
            AnswerNextDialog([&](QDialog* title) {
                seen << title->objectName() << (CurrentSession().Key.KeyOpen ? "open" : "closed");
                title->accept();
            });
            about->accept();
        });
        std::unique_ptr<TMainForm> main = StartUp(ini, "");
        QCOMPARE(seen, QStringList({"AboutBox", "closed", "KeyTitle", "open"}));
        QVERIFY(aboutAfter >= 1700);  // the splash had its time first
        QVERIFY(CurrentSession().Key.KeyOpen);
        QCOMPARE(main->windowTitle(), QString("VORN - HAZEL"));
        QVERIFY(main->windowState() & Qt::WindowMaximized);
        QCOMPARE(QCoreApplication::applicationName(), QString("VORN"));
        main->close();
    }

    void aKeyOnTheCommandLineWinsOverTheSettings() {
        TempDir dir;
        ScriptedUserInterface ui;
        KeySpec other = SmallKey();
        other.Name = "OTHER";
        std::string key = testing::WriteKey(dir.Path(), SmallKey());
        std::string argument = testing::WriteKey(dir.Path(), other);
        std::string ini = dir.Path() + "VORNWIN.INI";
        WriteFile(ini, "[OpenKey]\nFullName=" + key + "\n");
        AnswerNextDialog([](QDialog* about) {
            AnswerNextDialog([](QDialog* title) { title->accept(); });
            about->accept();
        });
        std::unique_ptr<TMainForm> main = StartUp(ini, argument);
        QCOMPARE(QString::fromStdString(CurrentSession().Key.KeyName), QString("OTHER"));
        main->close();
    }

    void theSplashClosesItselfAndIgnoresClicksOnItsPanel() {
        auto* splash = new TSplashScreen;
        QPointer<TSplashScreen> alive(splash);
        splash->show();
        QVERIFY(SplashShowing);
        QCOMPARE(splash->size(), QSize(304, 140));
        QTest::mouseClick(splash->findChild<QWidget*>("Panel1"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive);
        QTRY_VERIFY_WITH_TIMEOUT(!SplashShowing, 5000);
        QTRY_VERIFY(alive.isNull());
    }

    void theMainWindowReadsSettingsWhenShownAndWritesThemWhenClosed() {
        TempDir dir;
        ScriptedUserInterface ui;
        std::string ini = dir.Path() + "config/VORNWIN.INI";
        QDir().mkpath(QString::fromStdString(dir.Path() + "config"));
        WriteFile(ini,
                  "[History]\n0=/k/A.DES\n2=/k/C.DES\n[Modes]\nNumberMode=1\n"
                  "CountMode=0\nNameMode=CommonNames\n");
        {
            TMainForm main(ini);
            QVERIFY(!main.Numbertoggle1->isChecked());
            main.show();
            QVERIFY(CurrentSession().NumberMode);
            QVERIFY(main.Numbertoggle1->isChecked());
            QVERIFY(!main.Counttoggle1->isChecked());
            QVERIFY(main.Commononly1->isChecked());
            QVERIFY(!main.Scientificonly1->isChecked());
            // Entry 1 is empty, so the menu stops after entry 0.
            QVERIFY(main.KeyHistoryItems[0]->isVisible());
            QVERIFY(!main.KeyHistoryItems[2]->isVisible());
            main.Counttoggle1->trigger();
            main.close();
        }
        std::string text = testing::ReadFile(ini);
        QVERIFY(text.find("[History]\n0=/k/A.DES\n2=/k/C.DES\n") != std::string::npos);
        QVERIFY(text.find("CountMode=1\n") != std::string::npos);
        QVERIFY(text.find("NameMode=CommonNames\n") != std::string::npos);
        QVERIFY(ui.Messages.empty());
    }

    void aSettingsFileThatCannotBeWrittenIsToldAndTheWindowStillCloses() {
        TempDir dir;
        ScriptedUserInterface ui;
        WriteFile(dir.Path() + "blocker", "a file where the folder should be");
        std::string ini = dir.Path() + "blocker/vorn/VORNWIN.INI";
        TMainForm main(ini);
        main.show();
        QVERIFY(main.close());
        QVERIFY(!main.isVisible());
        QCOMPARE(ui.Texts(), std::vector<std::string>{"Unable to write to " + ini});
    }

    void anErrorThatEndsAnEventIsShownAndTheProgramGoesOn() {
        ScriptedUserInterface ui;
        FailingObject failing;
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(ui.Texts(),
                 std::vector<std::string>{"Cannot read \"TREES.DAT\": Input/output error."});
        QCOMPARE(ui.Messages[0].Kind, MessageKind::Error);
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(ui.Messages.size(), size_t(2));
    }
};

VORN_QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
