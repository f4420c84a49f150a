// What the windows show around an "Or" group: the lists and counts after the group ends,
// "(all)" and the Subset window while it is open; and laying windows out over a maximized
// one.
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include "core/session/Modes.h"
#include "core/session/Session.h"
#include "tests/kit/CharWindowHelpers.h"
#include "tests/kit/TaxaWindows.h"
#include "windows/states/IndexWindow.h"
#include "windows/states/MismatchedStatesWindow.h"
#include "windows/states/ScoreWindow.h"
#include "windows/states/SubsetWindow.h"
#include "windows/taxa/TaxonMismatchWindow.h"

using namespace vorn;
using namespace vorn::testing;

class OrGroupWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    void OpenShrubs() {
        KeySpec keySpec = ShrubKey();
        keySpec.Index = "1 30 2\r\nLeaves\r\n1\r\nLeaf shape\r\n1 3\r\n";
        f->OpenAccepted(f->Write(keySpec));
    }
    static QStringList TaxaLines(const TVornListBox* list) {
        QStringList lines;
        for (int row = 0; row < list->Count(); ++row)
            lines << QString::fromStdString(KeyTextToUtf8(IndicText(list->Indicator(row))));
        return lines;
    }

    static QString ScoreString() {
        QString scores;
        for (int32_t state = 0; state < CurrentSession().Key.StateCount; ++state)
            scores += QString::number(CurrentSession().StateScore(state));
        return scores;
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void endingAGroupRefreshesTheListsAsAScoringActionDoes() {
        OpenShrubs();
        auto* mismatch = dynamic_cast<TTaxMismatch*>(Windows().ShowWindow(WindowKind::TaxMismatch));
        QVERIFY(mismatch);
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(0,
                                    RequestPresent);  // only the rose and the blackthorn satisfy it
        QCOMPARE(TaxaLines(mismatch->VornListBox)[5].left(3), QString("(0)"));
        CurrentSession().ToggleOrMode();
        // Every taxon that fails the group has its mismatch now, first the two that don't.
        QStringList lines = TaxaLines(mismatch->VornListBox);
        QCOMPARE(lines.mid(0, 2), QStringList({"(0)    Rosa canina", "(0)    Prunus spinosa"}));
        for (const QString& line : lines.mid(2))
            QVERIFY2(line.startsWith("(1)"), qPrintable(line));
        QCOMPARE(f->Main->MatchingCount->text(), QString("2 Taxa Match"));
    }

    // A taxon's mismatch from a closed group shows in its Mismatched States window as a
    // note after the states, one per group it fails, which can be neither highlighted nor
    // scored; it goes with the group.
    void mismatchedStatesNamesTheGroupsATaxonFails() {
        OpenShrubs();
        CurrentSession().ScoreState(0, RequestPresent);  // simple leaves: all but 2 mismatch
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(1, RequestPresent);  // pinnate or blue fruit: 2, 3 satisfy
        CurrentSession().ScoreState(6, RequestPresent);
        CurrentSession().ToggleOrMode();
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(3, RequestAbsent);  // not thorny or not red: 0, 4 fail
        CurrentSession().ScoreState(5, RequestAbsent);
        CurrentSession().ToggleOrMode();
        const QString pinnateOrBlue = "(\"Or\" group: 2 Leaves: pinnate / 7 Fruit: blue)";
        const QString thornlessOrNotRed = "(\"Or\" group: not 4 Stems: thorny / not 6 Fruit: red)";

        Windows().ShowCharMiss(0, "Rosa canina");
        auto* miss = Windows().OpenWindow<TCharMiss>(WindowKind::CharMiss);
        QVERIFY(miss);
        QCOMPARE(Lines(miss), QStringList({pinnateOrBlue, thornlessOrNotRed}));
        Windows().ShowCharMiss(4, "Cornus sanguinea");
        QCOMPARE(Lines(miss), QStringList({"  +Leaves: simple", pinnateOrBlue, thornlessOrNotRed}));
        Windows().ShowCharMiss(2, "Crataegus monogyna");  // satisfies both groups
        QCOMPARE(Lines(miss), QStringList({"  +Leaves: simple"}));

        Windows().ShowCharMiss(0, "Rosa canina");
        TVornListBox* list = miss->VornListBox;
        QVERIFY(list->IsNote(0) && list->IsNote(1));
        QVERIFY(!(list->model()->flags(list->model()->index(1, 0)) & Qt::ItemIsSelectable));
        QString scores = ScoreString();
        ClickRow(miss, 1);
        QCOMPARE(list->SelectedIndic(), -1);
        Click(miss->PresentButton);
        Click(miss->ClearButton);
        DoubleClickRow(miss, 0);
        QCOMPARE(ScoreString(), scores);
        QVERIFY(f->Ui.Messages.empty());

        // Clearing a member dissolves its group, and its note goes with it.
        CurrentSession().ScoreState(1, RequestClear);
        QCOMPARE(Lines(miss), QStringList({thornlessOrNotRed}));
        CurrentSession().ResetScores();
        QVERIFY(Lines(miss).isEmpty());
    }

    void whileAGroupIsOpenAllMeansAllTheTaxaTheCountsCount() {
        OpenShrubs();
        f->Main->Counttoggle1->trigger();
        TCharScore* score = dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
        QVERIFY(score);
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(0, RequestPresent);  // two taxa left in the group's narrowing
        QCOMPARE(CurrentSession().MatchingTaxaCount(), 2);
        QStringList lines = Lines(score);
        // "Leaves: pinnate" could be had by 2 of the 6 taxa the counts count: not "(all)".
        QCOMPARE(lines[1], QString("(2)        Leaves: pinnate"));
        QCOMPARE(lines[7], QString("(all)    Habit: woody"));
    }

    void aSubsetKeepsItsStatesWhileAGroupIsBuiltFromIt() {
        OpenShrubs();
        Windows().ShowCharSubset(
            Windows().OpenWindow<TCharIndex>(WindowKind::CharIndex)->Entries().at(0));
        auto* subset = Windows().OpenWindow<TCharSubset>(WindowKind::CharSubset);
        QVERIFY(subset);
        QCOMPARE(Lines(subset).size(), 3);
        Click(subset->OrButton);
        ClickRow(subset, 0);
        Click(subset->PresentButton);
        QCOMPARE(Lines(subset),
                 QStringList({"  o+Leaves: simple", "   Leaves: pinnate", "   Leaves: palmate"}));
        ClickRow(subset, 1);
        Click(subset->PresentButton);
        QCOMPARE(Lines(subset),
                 QStringList({"  o+Leaves: simple", "  o+Leaves: pinnate", "   Leaves: palmate"}));
        QCOMPARE(CurrentSession().MatchingTaxaCount(), 4);
    }

    void layoutsRestoreAMaximizedWindowFirst() {
        OpenShrubs();
        TChildForm* score = Windows().ShowWindow(WindowKind::CharScore);
        score->SubWindow()->showMaximized();
        QVERIFY(score->SubWindow()->isMaximized());
        f->Main->Scorestates1->trigger();
        QVERIFY(!score->SubWindow()->isMaximized());
        QVERIFY(!Windows().OpenForm(WindowKind::TaxMatch)->SubWindow()->isMaximized());
        const LayoutMetrics m = FrameMetrics();
        QCOMPARE(score->Bounds(), QRect(m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight));
    }
};

VORN_QTEST_MAIN(OrGroupWindowsTest)
#include "OrGroupWindowsTest.moc"
