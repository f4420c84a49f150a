// Undo and Redo as a user meets them: the Key menu's items and the toolbar's buttons name
// the step they take and are disabled when there is none; taking it refreshes every window
// as a scoring action does, and the History window keeps its lines.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "core/session/Session.h"
#include "tests/kit/CharWindowHelpers.h"
#include "tests/kit/TaxaWindows.h"
#include "windows/states/HistoryWindow.h"
#include "windows/states/ScoreWindow.h"

using namespace vorn;
using namespace vorn::testing;

class UndoWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    // The Undo item's and button's words and whether they can be used, then Redo's.
    QStringList UndoState() const {
        TMainForm* m = f->Main;
        return {
            m->Undo1->text(), m->Undo1->isEnabled() && m->UndoButton->isEnabled() ? "on" : "off",
            m->Redo1->text(), m->Redo1->isEnabled() && m->RedoButton->isEnabled() ? "on" : "off"};
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void theItemsNameTheStepAndFollowTheSteps() {
        QCOMPARE(UndoState(), QStringList({"&Undo", "off", "Re&do", "off"}));
        f->OpenAccepted(f->Write(ShrubKey()));
        QCOMPARE(UndoState(), QStringList({"&Undo", "off", "Re&do", "off"}));
        auto* score = dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
        QVERIFY(score);
        ClickRow(score, 3);
        Click(score->PresentButton);
        QCOMPARE(UndoState(), QStringList({"&Undo Present: Stems: thorny", "on", "Re&do", "off"}));
        QCOMPARE(f->Main->UndoButton->toolTip(), QString("Undo Present: Stems: thorny"));
        Click(score->OrButton);
        QCOMPARE(f->Main->Undo1->text(), QString("&Undo Begin Or"));
        Click(score->OrButton);  // an empty group is a step too
        QCOMPARE(f->Main->Undo1->text(), QString("&Undo End Or"));

        f->Main->Undo1->trigger();
        f->Main->Undo1->trigger();
        QCOMPARE(UndoState(),
                 QStringList({"&Undo Present: Stems: thorny", "on", "Re&do Begin Or", "on"}));
        f->Main->Reset1->trigger();
        QCOMPARE(UndoState(), QStringList({"&Undo Reset", "on", "Re&do", "off"}));
        // Closing the key forgets the steps.
        f->Main->Close1->trigger();
        QCOMPARE(UndoState(), QStringList({"&Undo", "off", "Re&do", "off"}));
    }

    void takingAStepRefreshesTheWindowsAndKeepsTheHistory() {
        f->OpenAccepted(f->Write(ShrubKey()));
        auto* history = dynamic_cast<TCharHistory*>(Windows().ShowWindow(WindowKind::CharHistory));
        auto* score = dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
        auto* match = dynamic_cast<TTaxMatch*>(Windows().ShowWindow(WindowKind::TaxMatch));
        QVERIFY(history && score && match);
        DoubleClickRow(score, 3);  // thorny: the rose, the hawthorn and the dogwood
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(0, RequestPresent);
        CurrentSession().ScoreState(5, RequestPresent);
        CurrentSession().ToggleOrMode();
        QCOMPARE(f->Main->MatchingCount->text(), QString("2 Taxa Match"));
        QCOMPARE(Listed(match->VornListBox), std::vector<int>({0, 4}));

        // Ctrl+Z takes the group's end back: the group is open again, as the Or buttons say.
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
        QTest::keyClick(f->Main, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(score->OrButton->text(), QString("End &Or"));
        QCOMPARE(Lines(history),
                 QStringList({"  +Stems: thorny", "  o+Leaves: simple", "  o+Fruit: red"}));
        // Back to before the group: three taxa, and the History window keeps its lines with
        // their marks gone.
        f->Main->UndoButton->click();
        f->Main->UndoButton->click();
        f->Main->UndoButton->click();
        QCOMPARE(score->OrButton->text(), QString("Begin &Or"));
        QCOMPARE(f->Main->MatchingCount->text(), QString("3 Taxa Match"));
        QCOMPARE(Listed(match->VornListBox), std::vector<int>({0, 2, 4}));
        QCOMPARE(Lines(history),
                 QStringList({"  +Stems: thorny", "   Leaves: simple", "   Fruit: red"}));
        // Ctrl+Shift+Z and Ctrl+Y do it all again.
        QTest::keyClick(f->Main, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(f->Main, Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(f->Main, Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(f->Main, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f->Main->MatchingCount->text(), QString("2 Taxa Match"));
        QCOMPARE(Listed(match->VornListBox), std::vector<int>({0, 4}));
        QCOMPARE(f->Main->Redo1->isEnabled(), false);
    }
};

VORN_QTEST_MAIN(UndoWindowsTest)
#include "UndoWindowsTest.moc"
