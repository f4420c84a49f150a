// The user's manual inside VORN: Help (F1) opens it at the section of the window the user
// is in, its links stay in the window, and every kind of window has a section of its own.
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include "core/platform/WholeFile.h"
#include "core/session/DataPaths.h"
#include "desktop/ManualWindow.h"
#include "desktop/WindowKinds.h"
#include "tests/kit/CharWindowHelpers.h"
#include "windows/states/HistoryWindow.h"
#include "windows/states/ScoreWindow.h"

using namespace vorn;
using vorn::testing::GuiFixture;

class ManualTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    // Presses F1 where the focus is, as the user does.
    void PressF1() {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_F1);
    }
    // The text of the first line the reader sees at the top of the manual window.
    static QString TopLine(const TManualForm* manual) {
        return manual->Browser->cursorForPosition(QPoint(20, 8)).block().text().trimmed();
    }

private slots:
    void init() {
        f = std::make_unique<GuiFixture>();
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
    }
    void cleanup() { f.reset(); }

    void f1OpensTheSectionOfTheWindowTheUserIsIn() {
        f->OpenAccepted(f->Write(vorn::testing::ShrubKey()));
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
        auto* score = dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
        QVERIFY(score);
        score->VornListBox->setFocus();
        PressF1();
        TManualForm* manual = f->Main->Manual;
        QVERIFY(manual && manual->isVisible());
        QTextBrowser* browser = manual->Browser;
        QCOMPARE(browser->source().fileName(), QString("windows.html"));
        QCOMPARE(browser->source().fragment(), QString("score"));
        QCOMPARE(manual->windowTitle(), QString("VORN manual: the windows"));
        // The section is scrolled to the top of the window, below the page's beginning.
        QVERIFY(browser->verticalScrollBar()->value() > 0);
        QCOMPARE(TopLine(manual), QString("Score Character States"));
        QVERIFY(f->Ui.Messages.empty());

        // Another window, another section, in the same manual window; the reader's
        // scrolling does not keep F1 from the section it asks for.
        auto* history = dynamic_cast<TCharHistory*>(Windows().ShowWindow(WindowKind::CharHistory));
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
        history->VornListBox->setFocus();
        PressF1();
        QCOMPARE(f->Main->Manual, manual);
        QCOMPARE(browser->source().fragment(), QString("history"));
        QCOMPARE(TopLine(manual), QString("Character State History"));
        browser->verticalScrollBar()->setValue(0);
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
        history->VornListBox->setFocus();
        PressF1();
        QCOMPARE(TopLine(manual), QString("Character State History"));

        // With no child window, the contents.
        Windows().CloseAllWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        f->Main->Help2->trigger();
        QCOMPARE(browser->source().fileName(), QString("index.html"));
        QCOMPARE(browser->source().fragment(), QString());
        QCOMPARE(manual->windowTitle(), QString("VORN user's manual"));
    }

    void linksStayInTheManualWindowAndBackGoesBack() {
        f->Main->Help2->trigger();
        TManualForm* manual = f->Main->Manual;
        QVERIFY(manual);
        QTextBrowser* browser = manual->Browser;
        QVERIFY(!manual->BackButton->isEnabled());
        emit browser->anchorClicked(QUrl("or-groups.html#end"));
        QCOMPARE(browser->source().fileName(), QString("or-groups.html"));
        QCOMPARE(TopLine(manual), QString("Ending the group"));
        QVERIFY(manual->BackButton->isEnabled());
        QTest::mouseClick(manual->BackButton, Qt::LeftButton);
        QCOMPARE(browser->source().fileName(), QString("index.html"));
        QTest::mouseClick(manual->ForwardButton, Qt::LeftButton);
        QCOMPARE(browser->source().fragment(), QString("end"));
        emit browser->anchorClicked(QUrl("#what"));  // a section of the same page
        QCOMPARE(browser->source().fileName(), QString("or-groups.html"));
        QTest::mouseClick(manual->ContentsButton, Qt::LeftButton);
        QCOMPARE(browser->source().fileName(), QString("index.html"));

        // Closing hides it; Help shows it again.
        QTest::mouseClick(manual->CloseButton, Qt::LeftButton);
        QVERIFY(!manual->isVisible());
        f->Main->Help2->trigger();
        QVERIFY(manual->isVisible());
        QCOMPARE(f->Main->Manual, manual);
    }

    // Each row of the table of window kinds names a section that the manual has; a kind
    // that is added without one fails here.
    void everyKindOfWindowHasItsOwnSection() {
        for (const WindowKindRow& row : WindowKinds().Rows) {
            std::string anchor = row.HelpAnchor;
            size_t hash = anchor.find('#');
            QVERIFY2(hash != std::string::npos, row.Caption);
            std::string path =
                ShippedFile(CurrentSession().Data, "docs/manual/" + anchor.substr(0, hash));
            QVERIFY2(!path.empty(), row.HelpAnchor);
            std::string page = ReadWholeFile(path).Bytes;
            QVERIFY2(page.find("id=\"" + anchor.substr(hash + 1) + "\"") != std::string::npos,
                     row.HelpAnchor);
            QVERIFY(!ManualAddress(anchor).isEmpty());
        }
        QVERIFY(ManualAddress("no-such-page.html#x").isEmpty());
    }

    void aManualThatIsMissingIsApologisedFor() {
        DataPaths shipped = CurrentSession().Data;
        CurrentSession().Data = DataPathsFor(f->Dir.Path() + "bin/vorn");
        f->Main->Help2->trigger();
        CurrentSession().Data = shipped;
        QCOMPARE(f->MessageTexts(),
                 QStringList({"Apologies!  I have not yet completed the help files."}));
        QVERIFY(!f->Main->Manual);
    }
};

VORN_QTEST_MAIN(ManualTest)
#include "ManualTest.moc"
