// Tolerance of mismatches: the Key menu's Tolerance items, the count panel's texts and its
// click, the Matching Taxa window's order, and the windows that follow "matching" through
// the engine (counts, Differentiating, Subset, the one-taxon-left rule).
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest>
#include <filesystem>

#include "core/session/Session.h"
#include "tests/kit/CharWindowHelpers.h"
#include "tests/kit/TaxaWindows.h"
#include "windows/states/DifferentiatingWindow.h"
#include "windows/states/ScoreWindow.h"
#include "windows/states/SubsetWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

// Four taxa; "Bark: red", "Fruit: blue" and "Fruit: green" no taxon has, "Habit: woody"
// every taxon has.
KeySpec FourTaxa() {
    KeySpec keySpec;
    keySpec.Name = "FOUR";
    keySpec.Taxa = {"Taxon one", "Taxon two", "Taxon three", "Taxon four"};
    keySpec.States = {"Leaves: simple", "Leaves: hairy", "Bark: red",    "Habit: woody",
                      "Fruit: red",     "Fruit: blue",   "Fruit: green", "Smell: sweet"};
    keySpec.Codes = {"++--", "-+-+", "----", "++++", "--+-", "----", "----", "???+"};
    // One index entry with every state, for the Subset window.
    keySpec.Index = "1 20 1\nAll\n1\nEvery state\n1 8\n";
    return keySpec;
}

}  // namespace

class ToleranceTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    QString Panel() const { return f->Main->MatchingCount->text(); }
    void ClickPanel() { QTest::mouseClick(f->Main->MatchingCount, Qt::LeftButton); }
    QAction* Item(int k) const { return f->Main->ToleranceItems[static_cast<size_t>(k)]; }
    // The tolerance items that are checked.
    QList<int> Checked() const {
        QList<int> checked;
        for (int k = 0; k <= kMenuTolerance; ++k)
            if (Item(k)->isChecked()) checked << k;
        return checked;
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void theMenuSitsBeforeTheRecentKeysAndFollowsTheSettings() {
        // The Key menu's commands, then Exit, then the recent keys.
        QStringList names;
        for (QAction* action : f->Main->Key1->actions())
            names << (action->menu() ? action->menu()->objectName() : action->objectName());
        QCOMPARE(names.mid(0, 13),
                 QStringList({"Openkey1", "Reset1", "Undo1", "Redo1", "Close1", "Tolerance1",
                              "Checkkey1", "Publishfortheweb1", "Savereport1", "Print1", "N1",
                              "Exit1", "KeyHistoryLine"}));
        QCOMPARE(names.at(13), QString("KeyHistory0"));
        QCOMPARE(f->Main->Tolerance1->title(), QString("&Tolerance"));
        QStringList captions;
        for (QAction* action : f->Main->Tolerance1->actions())
            captions << action->text();
        QCOMPARE(captions, QStringList({"&0", "&1", "&2", "&3"}));
        QCOMPARE(Checked(), QList<int>({0}));

        // The tolerance kept in the settings is checked once they are read, and applies to
        // the key that opens.
        std::filesystem::path ini = f->Main->SettingsPath();
        std::filesystem::create_directories(ini.parent_path());
        WriteFile(ini.string(), "[Modes]\nTolerance=2\n");
        f->Main->FormShow();
        QCOMPARE(Checked(), QList<int>({2}));
        f->OpenAccepted(f->Write(FourTaxa()));
        QCOMPARE(Panel(), QString("4 Taxa Match, 2 allowed"));
        QCOMPARE(CurrentSession().Tolerance(), 2);
    }

    void theCountPanelSaysHowManyAreAllowedAndOffersOneMore() {
        f->OpenAccepted(f->Write(FourTaxa()));
        QLabel* panel = f->Main->MatchingCount;
        const int right = panel->geometry().right();
        QList<QRect> buttons;
        for (QPushButton* b : f->Main->TopPanel->findChildren<QPushButton*>())
            buttons << b->geometry();
        QCOMPARE(Panel(), QString("4 Taxa Match"));
        QCOMPARE(panel->width(), 130);

        // Every taxon lacks "Bark: red", "Fruit: blue" and "Fruit: green", and has
        // "Habit: woody": four mismatches each.
        // Without tolerance the panel says what it always said, and a click does nothing.
        CurrentSession().ScoreState(2, RequestPresent);
        QCOMPARE(Panel(), QString("0 Taxa Match"));
        CurrentSession().ScoreState(5, RequestPresent);
        CurrentSession().ScoreState(6, RequestPresent);
        CurrentSession().ScoreState(3, RequestAbsent);
        ClickPanel();
        QCOMPARE(CurrentSession().Tolerance(), 0);
        QCOMPARE(Panel(), QString("0 Taxa Match"));

        // Once a mismatch is allowed and still nothing matches, it offers one more.
        Item(1)->trigger();
        QCOMPARE(Panel(), QString("0 Taxa Match: click to allow 2"));
        QCOMPARE(Checked(), QList<int>({1}));
        // The panel grows to the left to fit; its right edge and the buttons stay.
        QVERIFY(panel->width() > panel->fontMetrics().horizontalAdvance(Panel()));
        QCOMPARE(panel->geometry().right(), right);
        QVERIFY(panel->width() > 130);
        ClickPanel();
        QCOMPARE(Panel(), QString("0 Taxa Match: click to allow 3"));
        ClickPanel();
        QCOMPARE(Panel(), QString("0 Taxa Match, 3 allowed"));
        QCOMPARE(Checked(), QList<int>({3}));
        ClickPanel();  // nothing more to offer
        QCOMPARE(CurrentSession().Tolerance(), 3);
        QCOMPARE(CurrentSession().ToleranceMode, 3);

        // Three mismatches each: every taxon is back.
        CurrentSession().ScoreState(3, RequestClear);
        QCOMPARE(Panel(), QString("4 Taxa Match, 3 allowed"));
        ClickPanel();  // a click offers nothing while taxa match
        QCOMPARE(CurrentSession().Tolerance(), 3);
        Item(0)->trigger();
        QCOMPARE(Panel(), QString("0 Taxa Match"));
        QCOMPARE(Checked(), QList<int>({0}));
        QTest::mouseClick(f->Main->ResetButton, Qt::LeftButton);
        QCOMPARE(Panel(), QString("4 Taxa Match"));
        QCOMPARE(panel->width(), 130);
        QCOMPARE(panel->geometry().right(), right);

        CurrentSession().ScoreState(0, RequestPresent);
        QCOMPARE(Panel(), QString("2 Taxa Match"));
        Item(1)->trigger();
        QCOMPARE(Panel(), QString("4 Taxa Match, 1 allowed"));
        CurrentSession().ScoreState(7, RequestAbsent);  // "Taxon four" has a second mismatch now
        QCOMPARE(Panel(), QString("3 Taxa Match, 1 allowed"));
        Item(0)->trigger();
        QCOMPARE(Panel(), QString("2 Taxa Match"));

        QList<QRect> after;
        for (QPushButton* b : f->Main->TopPanel->findChildren<QPushButton*>())
            after << b->geometry();
        QCOMPARE(after, buttons);
        // Without a key the panel is hidden and a click does nothing.
        f->Main->Close1->trigger();
        ClickPanel();
        QCOMPARE(CurrentSession().ToleranceMode, 0);
    }

    void matchingTaxaShowTheirMismatchesFewestFirst() {
        f->OpenAccepted(f->Write(FourTaxa()));
        QTest::mouseClick(f->Main->MatchButton, Qt::LeftButton);
        TTaxMatch* w = TaxMatchWindow();
        // Mismatches: "Leaves: hairy" present gives one and three one each, "Fruit: red"
        // absent gives three another, "Leaves: simple" present three and four one each:
        // one 1, two 0, three 3, four 1.
        CurrentSession().ScoreState(1, RequestPresent);
        CurrentSession().ScoreState(4, RequestAbsent);
        CurrentSession().ScoreState(0, RequestPresent);
        QCOMPARE(Listed(w->VornListBox), std::vector<int>({1}));

        Item(1)->trigger();
        QCOMPARE(LinesOf(w->VornListBox),
                 QStringList({"(0)    Taxon two", "(1)    Taxon one", "(1)    Taxon four"}));
        Item(3)->trigger();
        QCOMPARE(LinesOf(w->VornListBox), QStringList({"(0)    Taxon two", "(1)    Taxon one",
                                                       "(1)    Taxon four", "(3)    Taxon three"}));
        // Back at 0: the one matching taxon, without a count.
        Item(0)->trigger();
        QCOMPARE(LinesOf(w->VornListBox), QStringList({"   Taxon two"}));
    }

    void countsDifferentiatingSubsetAndTheLastTaxonFollowTheTolerance() {
        f->OpenAccepted(f->Write(FourTaxa()));
        CurrentSession().CountMode = true;
        QTest::mouseClick(f->Main->ScoreButton, Qt::LeftButton);
        QTest::mouseClick(f->Main->DiffButton, Qt::LeftButton);
        auto* index = Windows().OpenWindow(WindowKind::CharIndex);
        QVERIFY(index);
        QTest::mouseClick(index->findChild<TVornIndexButton*>(), Qt::LeftButton);
        auto* score = Windows().OpenWindow<TCharScore>(WindowKind::CharScore);
        auto* diff = Windows().OpenWindow<TCharDiff>(WindowKind::CharDiff);
        auto* subset = Windows().OpenWindow<TCharSubset>(WindowKind::CharSubset);
        QVERIFY(score && diff && subset);

        // "Leaves: hairy" present: two and four match, one and three have a mismatch.
        CurrentSession().ScoreState(1, RequestPresent);
        QCOMPARE(Lines(score).first(), QString("(1)        Leaves: simple"));
        QCOMPARE(Lines(diff), QStringList({"(1)        Leaves: simple"}));
        QCOMPARE(Lines(subset), QStringList({"(1)        Leaves: simple"}));

        // One allowed: all four count. "Leaves: simple" is open to one and two, "Fruit: red"
        // to three alone; the scored "Leaves: hairy" now splits the four as well.
        Item(1)->trigger();
        QCOMPARE(Lines(score).mid(0, 2),
                 QStringList({"(2)        Leaves: simple", "(2)       +Leaves: hairy"}));
        QCOMPARE(Lines(diff), QStringList({"(1)        Fruit: red", "(2)        Leaves: simple"}));
        QCOMPARE(Lines(subset), QStringList({"(2)        Leaves: simple",
                                             "(2)       +Leaves: hairy", "(1)        Fruit: red"}));

        // Back to none allowed after "Leaves: simple" present: only two is left, and the
        // Matching Taxa window comes forward by itself.
        CurrentSession().ScoreState(0, RequestPresent);
        QVERIFY(!Windows().IsOpen(WindowKind::TaxMatch));
        Item(0)->trigger();
        QCOMPARE(CurrentSession().MatchingTaxaCount(), 1);
        QVERIFY(Windows().IsOpen(WindowKind::TaxMatch));
        QCOMPARE(Listed(TaxMatchWindow()->VornListBox), std::vector<int>({1}));
    }
};

VORN_QTEST_MAIN(ToleranceTest)
#include "ToleranceTest.moc"
