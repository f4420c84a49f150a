// The Best Character States window: opened from its menu item and its shortcut, the
// states it lists and their order by separation on a key worked out by hand, its lines,
// scoring by double-click, the tolerance, and closing with the key.
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include "core/session/Session.h"
#include "tests/kit/CharWindowHelpers.h"
#include "windows/states/BestWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

// Four taxa, seven states. The separation of a state over t taxa, with n+ coded "+", n-
// coded "-" and nv the rest: log2 t - (fP log2 kP + fA log2 kA) / t, kP = n+ + nv,
// kA = n- + nv, fP = n+ + nv/2, fA = n- + nv/2. With all four taxa:
//   s1 "++--"  kP 2 kA 2 fP 2 fA 2:      2 - (2 + 2) / 4                = 1.0000
//   s2 "+?--"  kP 2 kA 3 fP 1.5 fA 2.5:  2 - (1.5 + 2.5 log2 3) / 4     = 0.6344
//   s3 "+---"  kP 1 kA 3 fP 1 fA 3:      2 - (0 + 3 log2 3) / 4         = 0.8113
//   s4 "????"  kP 4 kA 4 fP 2 fA 2:      2 - (2*2 + 2*2) / 4            = 0
//   s5 "++++"  kP 4 kA 0:                2 - 4*2 / 4                    = 0
//   s6 "+*--"  "*" counts as "?":        as s2                          = 0.6344
//   s7 "----"                                                           = 0
KeySpec FourTaxa() {
    KeySpec keySpec;
    keySpec.Name = "FOUR";
    keySpec.Taxa = {"Alpha", "Beta", "Gamma", "Delta"};
    keySpec.States = {"Leaves: simple", "Leaves: hairy", "Stems: red", "Flowers: scented",
                      "Habit: woody",   "Fruit: red",    "Fruit: blue"};
    keySpec.Codes = {"++--", "+?--", "+---", "????", "++++", "+*--", "----"};
    return keySpec;
}

}  // namespace

class BestWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    TCharBest* Best() { return Windows().OpenWindow<TCharBest>(WindowKind::CharBest); }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void listsTheStatesBySeparationAndScoresOnDoubleClick() {
        f->OpenAccepted(f->Write(FourTaxa()));
        f->Main->Best1->trigger();
        TCharBest* w = Best();
        QVERIFY(w);
        QCOMPARE(w->Caption(), QString("Best Character States"));
        const TMainForm& m = *f->Main;
        QCOMPARE(w->Bounds(), QRect(m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight));
        // Highest first; s2 and s6 tie and keep state order.
        const QStringList start = {"1.00    Leaves: simple", "0.81    Stems: red",
                                   "0.63    Leaves: hairy", "0.63    Fruit: red"};
        QCOMPARE(Lines(w), start);

        // s1 present leaves Alpha and Beta: s3 "+-" halves them (1.00), s2 and s6 ("+?")
        // give 1 - (1.5 log2 2 + 0.5 log2 1) / 2 = 0.25, the others nothing.
        DoubleClickRow(w, 0);
        QCOMPARE(CurrentSession().StateScore(0), uint8_t(ScorePresent));
        QCOMPARE(Lines(w), QStringList({"1.00    Stems: red", "0.25    Leaves: hairy",
                                        "0.25    Fruit: red"}));

        // One mismatch allowed: Gamma and Delta are back with one each, and Alpha and Beta,
        // with none, survive any answer, counting as "may have". Every state left then gives
        // 2 - (1 log2 2 + 3 log2 4) / 4 = 0.25 (s3, s2, s6, s7) or (3 log2 4 + 1) / 4 the
        // other way round (s5); s4 stays 0.
        f->Main->ToleranceItems[1]->trigger();
        QCOMPARE(Lines(w),
                 QStringList({"0.25    Leaves: hairy", "0.25    Stems: red", "0.25    Habit: woody",
                              "0.25    Fruit: red", "0.25    Fruit: blue"}));
        f->Main->ToleranceItems[0]->trigger();

        // One taxon left: nothing to separate.
        DoubleClickRow(w, 0);
        QCOMPARE(CurrentSession().StateScore(2), uint8_t(ScorePresent));
        QCOMPARE(CurrentSession().MatchingTaxaCount(), 1);
        QCOMPARE(Lines(w), QStringList({"Only 1 taxon matches: nothing is left to separate"}));
        QVERIFY(f->Ui.Questions.empty());  // rebuilt every time without asking

        // Reset brings the first list back.
        QTest::mouseClick(f->Main->ResetButton, Qt::LeftButton);
        QCOMPARE(Lines(w), start);
    }

    void opensWithCtrlBAndClosesWithTheKey() {
        f->OpenAccepted(f->Write(FourTaxa()));
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
        QTest::keyClick(f->Main, Qt::Key_B, Qt::ControlModifier);
        QVERIFY(Best());
        QCOMPARE(Best()->VornListBox->Count(), 4);

        // It sits in the Characters menu right after Differentiating.
        QList<QAction*> items = f->Main->Characters1->actions();
        QCOMPARE(items.indexOf(f->Main->Best1), items.indexOf(f->Main->Differentiating1) + 1);
        // And on the toolbar's first row, in the next place after Differentiating's, with
        // its hint.
        QPushButton* best = f->Main->BestButton;
        QRect diff = f->Main->DiffButton->geometry();
        QCOMPARE(best->text(), QString("Best"));
        QCOMPARE(best->toolTip(), QString("Display the Best Character States window"));
        QCOMPARE(best->geometry().top(), diff.top());
        QCOMPARE(best->size(), diff.size());
        QVERIFY(best->geometry().left() > diff.right() &&
                best->geometry().left() < diff.right() + 8);
        QVERIFY(best->geometry().right() < f->Main->MatchingCount->geometry().left());

        f->Main->Close1->trigger();
        QVERIFY(!Best());
        // Without a key it opens empty.
        f->Main->Best1->trigger();
        QVERIFY(Best());
        QVERIFY(Lines(Best()).isEmpty());
    }
};

VORN_QTEST_MAIN(BestWindowTest)
#include "BestWindowTest.moc"
