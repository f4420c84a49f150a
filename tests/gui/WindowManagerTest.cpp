// The window manager over windows that record what it asks of them: which windows open,
// come forward, load, clear, repaint and close, in which order.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include "core/key/IndexFile.h"
#include "frame/Look.h"
#include "frame/WindowTargets.h"
#include "tests/kit/GuiFixture.h"

using namespace vorn;
using vorn::testing::GuiFixture;
using vorn::testing::KeySpec;

namespace {

const char* const kNames[WindowKindCount] = {
    "Score", "Active", "History",  "Diff",        "Best",  "Subset", "Miss",
    "Index", "Match",  "Mismatch", "Differences", "Image", "Text"};
QStringList Log;

class RecordingForm : public TChildForm, public SubsetTarget, public MissTarget {
public:
    explicit RecordingForm(WindowKind kind) : TChildForm(kind) {
        SetCaption(kNames[static_cast<int>(kind)]);
    }
    void LoadList() override { Note("Load"); }
    void ClearList() override { Note("Clear"); }
    void RepaintList() override { Note("Repaint"); }
    void OrButtonDraw() override { Note("Or"); }
    void FormShow() override { Note("Show"); }
    void SetSubsetEntry(const IndexEntry& entry) override {
        Note(QString("Entry%1").arg(entry.Number));
    }
    void SetMissTaxon(int taxon, const QString& name) override {
        SetCaption("Mismatched States:  " + name);
        Note(QString("Taxon%1").arg(taxon));
    }

private:
    void Note(const QString& what) {
        Log << QString(kNames[static_cast<int>(Kind())]) + ":" + what;
    }
};

}  // namespace

class WindowManagerTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    void OpenKind(WindowKind kind) {
        if (!Windows().IsOpen(kind)) Windows().CreateAndShow(kind);
    }
    void OpenAll() {
        for (int k = 0; k < WindowKindCount; ++k)
            OpenKind(static_cast<WindowKind>(k));
        Log.clear();
    }
    QStringList OpenKinds() {
        QStringList open;
        for (int k = 0; k < WindowKindCount; ++k) {
            if (Windows().IsOpen(static_cast<WindowKind>(k))) open << kNames[k];
        }
        return open;
    }
    void OpenSmallKey(bool withIndex) {
        KeySpec keySpec;
        keySpec.Name = withIndex ? "INDEXED" : "PLAIN";
        keySpec.Taxa = {"A", "B", "C"};
        keySpec.States = {"s1", "s2"};
        keySpec.Codes = {"+--", "++-"};
        if (withIndex) keySpec.Index = "1 20 2\r\nH\r\n1\r\nE\r\n1 2\r\n";
        f->OpenAccepted(f->Write(keySpec));
    }

private slots:
    void init() {
        f = std::make_unique<GuiFixture>();
        Windows().SetChildFormFactory([](WindowKind kind) { return new RecordingForm(kind); });
        Log.clear();
    }
    void cleanup() { f.reset(); }

    void refreshAfterScoringRunsInItsFixedOrder() {
        OpenSmallKey(false);
        OpenAll();
        CurrentSession().ScoreState(1, RequestPresent);  // two taxa left: nothing comes forward
        QCOMPARE(Log, QStringList({"Score:Repaint", "Active:Load", "History:Repaint", "Diff:Load",
                                   "Best:Load", "Subset:Load", "Miss:Load", "Match:Load",
                                   "Mismatch:Load", "Differences:Repaint"}));
        QCOMPARE(f->Main->MatchingCount->text(), QString("2 Taxa Match"));
    }

    void broadcastsTouchTheirGroupsInOrder() {
        OpenAll();
        Windows().LoadAllWindows();
        QCOMPARE(Log,
                 QStringList({"Score:Load", "Active:Load", "Diff:Load", "Best:Load", "Subset:Load",
                              "Miss:Load", "Match:Load", "Mismatch:Load", "Differences:Load"}));
        Log.clear();
        Windows().ClearAllWindows();
        QCOMPARE(Log, QStringList({"Score:Clear", "Active:Clear", "History:Clear", "Diff:Clear",
                                   "Best:Clear", "Subset:Clear", "Miss:Clear", "Match:Clear",
                                   "Mismatch:Clear", "Differences:Clear"}));
        Log.clear();
        f->Main->Counttoggle1->trigger();
        QCOMPARE(Log,
                 QStringList({"Score:Repaint", "Active:Repaint", "History:Repaint", "Diff:Repaint",
                              "Best:Repaint", "Subset:Repaint", "Miss:Repaint"}));
        Log.clear();
        f->Main->Commononly1->trigger();
        QCOMPARE(Log, QStringList({"Match:Repaint", "Mismatch:Repaint", "Differences:Repaint"}));
        Log.clear();
        f->Main->Numbertoggle1->trigger();
        QCOMPARE(Log.size(), 10);
        QCOMPARE(Log.last(), QString("Differences:Repaint"));
    }

    void theOrButtonsFollowBeginAndEnd() {
        OpenSmallKey(false);
        OpenAll();
        CurrentSession().ToggleOrMode();
        QCOMPARE(Log, QStringList({"Score:Or", "Active:Or", "History:Or", "Diff:Or", "Best:Or",
                                   "Subset:Or", "Miss:Or"}));
        Log.clear();
        CurrentSession().ToggleOrMode();
        QCOMPARE(Log.size(), 7);  // and no list is refreshed
    }

    void askingForAnOpenWindowBringsItForwardWithoutReloading() {
        TChildForm* score = Windows().ShowWindow(WindowKind::CharScore);
        QCOMPARE(Log, QStringList({"Score:Show"}));
        TChildForm* active = Windows().ShowWindow(WindowKind::CharActive);
        QCOMPARE(f->Main->MdiArea->activeSubWindow(), active->SubWindow());
        Log.clear();
        QCOMPARE(Windows().ShowWindow(WindowKind::CharScore), score);
        QCOMPARE(f->Main->MdiArea->activeSubWindow(), score->SubWindow());
        score->SubWindow()->showMinimized();
        Windows().ShowWindow(WindowKind::CharScore);
        QVERIFY(!score->SubWindow()->isMinimized());
        QVERIFY(Log.isEmpty());
    }

    // A window shown again after it was moved partly out of sight comes back wholly inside
    // the visible workspace, in front and active; one larger than the workspace shows its
    // top-left corner. Placing it reloads nothing.
    void aWindowShownAgainLiesInsideTheWorkspaceInFront() {
        f->Main->resize(900, 700);
        QCoreApplication::processEvents();
        TChildForm* history = Windows().ShowWindow(WindowKind::CharHistory);
        TChildForm* score = Windows().ShowWindow(WindowKind::CharScore);
        QRect visible = f->Main->MdiArea->viewport()->rect();
        QVERIFY(visible.width() > 400 && visible.height() > 300);
        history->SetBounds(visible.right() - 100, visible.bottom() - 50, 300, 200);
        QCOMPARE(f->Main->MdiArea->activeSubWindow(), score->SubWindow());
        Log.clear();

        QCOMPARE(Windows().ShowWindow(WindowKind::CharHistory), history);
        QCOMPARE(history->Bounds(),
                 QRect(visible.right() + 1 - 300, visible.bottom() + 1 - 200, 300, 200));
        QVERIFY(visible.contains(history->Bounds()));
        QCOMPARE(f->Main->MdiArea->activeSubWindow(), history->SubWindow());
        QVERIFY(Log.isEmpty());

        // Above and left of the workspace, minimized meanwhile: restored, inside, in front.
        history->SetBounds(-150, -80, 300, 200);
        history->SubWindow()->showMinimized();
        Windows().ShowWindow(WindowKind::CharScore);
        Windows().ShowWindow(WindowKind::CharHistory);
        QVERIFY(!history->SubWindow()->isMinimized());
        QCOMPARE(history->Bounds(), QRect(0, 0, 300, 200));
        QCOMPARE(f->Main->MdiArea->activeSubWindow(), history->SubWindow());

        // Wider than the workspace: its left edge at the workspace's, its bottom inside.
        score->SetBounds(-40, visible.bottom() - 20, visible.width() + 200, 150);
        Windows().ShowWindow(WindowKind::CharScore);
        QCOMPARE(score->Bounds(), QRect(0, visible.bottom() + 1 - 150, visible.width() + 200, 150));
        QCOMPARE(f->Main->MdiArea->activeSubWindow(), score->SubWindow());
    }

    void theMatchingTaxaComeForwardWhenOneIsLeftOutsideOrGroups() {
        OpenSmallKey(false);
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(1, RequestPresent);  // narrowed to two: still in the group
        CurrentSession().ScoreState(0, RequestPresent);  // narrowed to one, but a group is open
        QVERIFY(!Windows().IsOpen(WindowKind::TaxMatch));
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(0, RequestClear);
        CurrentSession().ScoreState(0, RequestPresent);  // exactly one outside a group
        QVERIFY(Windows().IsOpen(WindowKind::TaxMatch));
        QCOMPARE(Log.mid(Log.indexOf("Match:Show")), QStringList({"Match:Show", "Match:Load"}));
    }

    void closingAKeyClosesItsWindowsAndEmptiesTheRest() {
        OpenSmallKey(false);
        OpenAll();
        CloseKey(CurrentSession());
        QCOMPARE(OpenKinds(),
                 QStringList({"Score", "Active", "History", "Match", "Mismatch", "Text"}));
        QCOMPARE(Log.mid(0, 10),
                 QStringList({"Score:Clear", "Active:Clear", "History:Clear", "Diff:Clear",
                              "Best:Clear", "Subset:Clear", "Miss:Clear", "Match:Clear",
                              "Mismatch:Clear", "Differences:Clear"}));
        Windows().CloseAllWindows();
        QVERIFY(OpenKinds().isEmpty());
        Windows().CloseAllWindows();  // nothing open: nothing happens
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(f->WindowTitles(), QStringList());
    }

    void anIndexedKeyOpensTheIndexOthersTheScoreWindowOnce() {
        OpenSmallKey(true);
        QCOMPARE(OpenKinds(), QStringList({"Index"}));
        Windows().CloseAllWindows();
        OpenSmallKey(false);
        QCOMPARE(OpenKinds(), QStringList({"Score"}));
        Log.clear();
        OpenSmallKey(false);
        QVERIFY(!Log.contains("Score:Show"));  // already open: not opened again
        QVERIFY(Log.contains("Score:Load"));
    }

    void subsetAndMismatchedStatesAreRetargeted() {
        IndexEntry entry;
        entry.Number = 4;
        Windows().ShowCharSubset(entry);
        QCOMPARE(Log, QStringList({"Subset:Entry4", "Subset:Load"}));  // no show-time fill
        Log.clear();
        entry.Number = 7;
        Windows().ShowCharSubset(entry);
        QCOMPARE(Log, QStringList({"Subset:Entry7", "Subset:Load"}));
        Log.clear();
        Windows().ShowCharMiss(2, "Betula pendula");
        QCOMPARE(Log, QStringList({"Miss:Show", "Miss:Taxon2", "Miss:Load"}));
        Windows().ShowCharMiss(0, "Alnus glutinosa");
        QCOMPARE(Windows().OpenWindow(WindowKind::CharMiss)->Caption(),
                 QString("Mismatched States:  Alnus glutinosa"));
    }

    void aWindowWhoseCreationFailsIsNotRegistered() {
        struct Failing : TChildForm {
            Failing() : TChildForm(WindowKind::CharActive) {}
            void FormCreate() override { throw std::runtime_error("The index cannot be read."); }
        };
        Windows().SetChildFormFactory([](WindowKind kind) -> TChildForm* {
            return kind == WindowKind::CharActive ? new Failing : nullptr;
        });
        f->Main->Active1->trigger();
        QVERIFY(!Windows().IsOpen(WindowKind::CharActive));
        QVERIFY(f->Main->MdiArea->subWindowList().isEmpty());
        QCOMPARE(f->MessageTexts(), QStringList({"The index cannot be read."}));
    }

    void childWindowsShowTheProgramsIcon() {
        TChildForm* form = Windows().ShowWindow(WindowKind::CharScore);
        QImage icon = form->SubWindow()->windowIcon().pixmap(48, 48).toImage();
        QCOMPARE(icon, ProgramIcon().pixmap(48, 48).toImage());
        QVERIFY(!icon.isNull());
    }

    void everyTextWindowIsTracked() {
        TChildForm* older = Windows().CreateAndShow(WindowKind::TextForm);
        TChildForm* newer = Windows().CreateAndShow(WindowKind::TextForm);
        QCOMPARE(Windows().OpenWindow(WindowKind::TextForm), newer);
        newer->SubWindow()->close();
        QCOMPARE(Windows().OpenWindow(WindowKind::TextForm), older);
        Windows().CreateAndShow(WindowKind::TextForm);
        Windows().CloseAllWindows();
        QVERIFY(!Windows().IsOpen(WindowKind::TextForm));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f->Main->MdiArea->subWindowList().isEmpty());
        QVERIFY(Windows().OpenForms(WindowKind::TextForm).empty());
    }

    void layoutsPlaceWindowsFromTheMetricsOfTheMoment() {
        f->Main->Scorewithhistory1->trigger();
        TMainForm& m = *f->Main;
        QCOMPARE(Windows().OpenWindow(WindowKind::TaxMatch)->Bounds(),
                 QRect(0, 0, m.LeftPaneWidth, m.PaneHeight));
        QCOMPARE(Windows().OpenWindow(WindowKind::CharHistory)->Bounds(),
                 QRect(m.LeftPaneWidth, m.UpperPaneHeight, m.RightPaneWidth, m.LowerPaneHeight));
        QCOMPARE(Windows().OpenWindow(WindowKind::CharScore)->Bounds(),
                 QRect(m.LeftPaneWidth, 0, m.RightPaneWidth, m.UpperPaneHeight));
        QCOMPARE(m.MdiArea->activeSubWindow(),
                 Windows().OpenWindow(WindowKind::CharScore)->SubWindow());

        f->Main->resize(900, 700);
        f->Main->Scorestates1->trigger();
        f->Main->Scorestates1->trigger();
        QCOMPARE(Windows().OpenWindow(WindowKind::CharScore)->Bounds(),
                 QRect(m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight));
        QCOMPARE(Windows().OpenWindow(WindowKind::TaxMatch)->Bounds(),
                 QRect(0, 0, m.LeftPaneWidth, m.PaneHeight));
        QVERIFY(Windows().IsOpen(WindowKind::CharHistory));  // others stay where they were
        f->Main->Scorewithactive1->trigger();
        QCOMPARE(Windows().OpenWindow(WindowKind::CharActive)->Bounds().top(), m.UpperPaneHeight);
    }

    void desktopMenuListsWindowsAndTilesThemFullWidth() {
        Windows().ShowWindow(WindowKind::CharScore);
        Windows().ShowWindow(WindowKind::TaxMatch);
        Windows().ShowWindow(WindowKind::CharActive);
        emit f->Main->Desktop1->aboutToShow();
        QStringList listed;
        QAction* matchItem = nullptr;
        for (QAction* action : f->Main->Desktop1->actions()) {
            if (!action->property("windowList").toBool()) continue;
            listed << action->text();
            if (action->text().endsWith("Match")) matchItem = action;
        }
        QCOMPARE(listed, QStringList({"&1 Score", "&2 Match", "&3 Active"}));
        matchItem->trigger();
        QCOMPARE(f->Main->MdiArea->activeSubWindow(),
                 Windows().OpenWindow(WindowKind::TaxMatch)->SubWindow());

        f->Main->Tilewindows1->trigger();
        int width = f->Main->MdiArea->viewport()->width();
        int bottom = 0;
        for (QMdiSubWindow* sub : f->Main->MdiArea->subWindowList()) {
            QCOMPARE(sub->geometry().left(), 0);
            QCOMPARE(sub->geometry().width(), width);
            QCOMPARE(sub->geometry().top(), bottom);
            bottom = sub->geometry().bottom() + 1;
        }
        QCOMPARE(bottom, f->Main->MdiArea->viewport()->height());
    }
};

VORN_QTEST_MAIN(WindowManagerTest)
#include "WindowManagerTest.moc"
