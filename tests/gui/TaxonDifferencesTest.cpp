// The Taxon Differences window: opened from the Taxa menu with the highlighted taxon as A,
// the states on which two taxa differ on a key worked out by hand, scoring from it, and
// closing with the key.
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include "core/session/Session.h"
#include "tests/kit/TaxaWindows.h"
#include "windows/taxa/TaxonDifferencesWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

// Codes of Alpha, Beta and Gamma for each state. Alpha against Beta: certain on "Leaves:
// simple" (+ -) and "Fruit: red" (- +); possible on "Leaves: hairy" (+ ?), "Bark: red"
// (- *) and "Smell: sweet" (? -); "Habit: woody" (+ +) is no difference.
KeySpec ThreeTaxa() {
    KeySpec keySpec;
    keySpec.Name = "THREE";
    keySpec.Taxa = {"Alpha/Common alpha", "Beta", "Gamma"};
    keySpec.States = {"Leaves: simple", "Leaves: hairy", "Bark: red",
                      "Habit: woody",   "Smell: sweet",  "Fruit: red"};
    keySpec.Codes = {"+-+", "+?-", "-*+", "++-", "?--", "-+?"};
    return keySpec;
}

}  // namespace

class TaxonDifferencesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    TTaxDiff* Differences() { return Windows().OpenWindow<TTaxDiff>(WindowKind::TaxDiff); }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void listsCertainThenPossibleDifferencesWithBothCodes() {
        f->OpenAccepted(f->Write(ThreeTaxa()));
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
        f->Main->Differences1->trigger();
        TTaxDiff* w = Differences();
        QVERIFY(w);
        QCOMPARE(w->Caption(), QString("Taxon Differences"));
        const TMainForm& m = *f->Main;
        QCOMPARE(w->Bounds(), QRect(m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight));
        // Every taxon in both lists, named as in Matching Taxa; nothing chosen yet.
        QCOMPARE(LinesOf(w->ListA), QStringList({"   Alpha", "   Beta", "   Gamma"}));
        QCOMPARE(LinesOf(w->ListB), LinesOf(w->ListA));
        QCOMPARE(w->Summary->text(), QString("Choose taxon A and taxon B"));
        QCOMPARE(w->StateList->Count(), 0);

        ClickRow(w->ListA, 0);
        ClickRow(w->ListB, 1);
        QCOMPARE(w->Summary->text(),
                 QString("2 certain, 3 possible differences (codes of A, then B)"));
        QCOMPARE(LinesOf(w->StateList),
                 QStringList({"+ -    Leaves: simple", "- +    Fruit: red", "+ ?    Leaves: hairy",
                              "- *    Bark: red", "? -    Smell: sweet"}));

        // The other way round, the codes swap places.
        ClickRow(w->ListA, 1);
        ClickRow(w->ListB, 0);
        QCOMPARE(LinesOf(w->StateList).first(), QString("- +    Leaves: simple"));
        ClickRow(w->ListB, 1);
        QCOMPARE(w->Summary->text(), QString("Taxon A and taxon B are the same"));
        QCOMPARE(w->StateList->Count(), 0);

        // A double-click scores as in the state windows; the line shows the mark at once.
        ClickRow(w->ListB, 2);  // Beta against Gamma
        QCOMPARE(LinesOf(w->StateList),
                 QStringList({"- +    Leaves: simple", "+ -    Habit: woody",
                              "? -    Leaves: hairy", "* +    Bark: red", "+ ?    Fruit: red"}));
        DoubleClickRow(w->StateList, 1);
        QCOMPARE(CurrentSession().StateScore(3), uint8_t(ScorePresent));
        QCOMPARE(f->Main->MatchingCount->text(), QString("2 Taxa Match"));
        QCOMPARE(LinesOf(w->StateList).at(1), QString("+ -   +Habit: woody"));

        f->Main->Close1->trigger();
        QVERIFY(!Differences());
    }

    void startsFromTheTaxonHighlightedInTheCurrentTaxaWindow() {
        f->OpenAccepted(f->Write(ThreeTaxa()));
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
        QList<QAction*> items = f->Main->Taxa1->actions();
        QCOMPARE(items.indexOf(f->Main->Differences1), items.indexOf(f->Main->Showmismatches1) + 1);

        QTest::mouseClick(f->Main->MatchButton, Qt::LeftButton);
        TTaxMatch* match = TaxMatchWindow();
        ClickRow(match->VornListBox, 1);
        f->Main->Differences1->trigger();
        TTaxDiff* w = Differences();
        QVERIFY(w);
        QCOMPARE(w->ListA->SelectedIndic(), 1);
        QCOMPARE(w->ListB->SelectedIndic(), -1);

        // Asked again from the Matching Taxa window with another taxon highlighted, the open
        // window takes it as A and keeps B.
        ClickRow(w->ListB, 0);
        ClickRow(match->VornListBox, 2);
        f->Main->Differences1->trigger();
        QCOMPARE(Differences(), w);
        QCOMPARE(w->ListA->SelectedIndic(), 2);
        QCOMPARE(w->ListB->SelectedIndic(), 0);
        QCOMPARE(w->Summary->text(),
                 QString("3 certain, 2 possible differences (codes of A, then B)"));
        QCOMPARE(LinesOf(w->StateList).first(), QString("- +    Leaves: hairy"));

        // From a window that is not a window of taxa, A stays as it is.
        QTest::mouseClick(f->Main->ScoreButton, Qt::LeftButton);
        f->Main->Differences1->trigger();
        QCOMPARE(w->ListA->SelectedIndic(), 2);
    }
};

VORN_QTEST_MAIN(TaxonDifferencesTest)
#include "TaxonDifferencesTest.moc"
