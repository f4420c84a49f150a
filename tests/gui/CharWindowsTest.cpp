// The Score, Active and Mismatched States windows and their shared button bar: layout,
// scoring with the buttons and double-clicks, "Or" groups, refusals, and what each
// window lists after realistic sequences. Driven with real clicks; asserts on the lines,
// captions and messages a user sees.
#include <QGuiApplication>
#include <QLabel>
#include <QScrollBar>
#include <QtTest>
#include <fstream>

#include "core/session/Session.h"
#include "frame/Look.h"
#include "tests/kit/CharWindowHelpers.h"
#include "windows/states/ActiveWindow.h"
#include "windows/states/MismatchedStatesWindow.h"
#include "windows/states/ScoreWindow.h"
#include "windows/states/SubsetWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

const char* const kOrRefusal = "You can only select unscored states while performing an \"Or.\"";

const QStringList kAllStates = {"   Leaves: simple", "   Leaves: pinnate",  "   Leaves: palmate",
                                "   Stems: thorny",  "   Flowers: scented", "   Fruit: red",
                                "   Fruit: blue",    "   Habit: woody"};

}  // namespace

class CharWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    TCharScore* Score() {
        return dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
    }
    TCharActive* Active() {
        return dynamic_cast<TCharActive*>(Windows().ShowWindow(WindowKind::CharActive));
    }
    QString Matching() const { return f->Main->MatchingCount->text(); }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void buttonBarAndListFollowTheLayout() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TCharScore* score = Score();
        QVERIFY(score);
        QCOMPARE(score->Caption(), QString("Score Character States"));
        const TMainForm& m = *f->Main;
        QCOMPARE(score->Bounds(), QRect(m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight));

        struct Row {
            const char *name, *caption, *hint;
            int left;
        };
        const Row rows[] = {
            {"PresentButton", "&Present", "Score highlighted character state \"Present\"", 0},
            {"AbsentButton", "&Absent", "Score highlighted character state \"Absent\"", 60},
            {"ClearButton", "&Clear", "Clear scoring of highlighted character state", 120},
            {"OrButton", "Begin &Or", "Begin selection of character states to \"Or\" together",
             180},
        };
        for (const Row& row : rows) {
            auto* button = score->findChild<QPushButton*>(row.name);
            QVERIFY2(button, row.name);
            QCOMPARE(button->parentWidget(), score->Panel1);
            QCOMPARE(button->geometry(), QRect(row.left, 0, 60, 19));
            QCOMPARE(button->text(), QString(row.caption));
            QCOMPARE(button->toolTip(), QString(row.hint));
            QCOMPARE(button->font().pixelSize(), 9);
            QVERIFY(button->font().bold());
            QVERIFY(button->isEnabled());
        }
        QCOMPARE(score->Panel1->geometry(), QRect(0, 0, score->width(), 19));
        QCOMPARE(score->Panel1->palette().color(QPalette::Window), colours::Grey);
        QCOMPARE(score->VornListBox->geometry(),
                 QRect(0, 19, score->width(), score->height() - 19));

        // Items are 16 pixels high in the 13-pixel list font, 21 in a 17-pixel one.
        TVornListBox* list = score->VornListBox;
        QCOMPARE(list->font().pixelSize(), 13);
        QCOMPARE(list->ItemHeight(), 16);
        QCOMPARE(list->visualRect(list->model()->index(1, 0)),
                 QRect(0, 16, list->viewport()->width(), 16));
        list->setFont(SystemFont(17));
        QCOMPARE(list->ItemHeight(), 21);
        QTRY_COMPARE(list->visualRect(list->model()->index(1, 0)).top(), 21);

        TCharActive* active = Active();
        QCOMPARE(active->Caption(), QString("Active Character States"));
        QCOMPARE(active->Bounds(), QRect(m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight));

        Windows().ShowCharSubset(IndexEntry{});  // a key without an index: no states
        auto* subset = Windows().OpenWindow<TCharSubset>(WindowKind::CharSubset);
        QVERIFY(subset);
        QCOMPARE(subset->ImageButton->objectName(), QString("ImageButton"));
        QCOMPARE(subset->ImageButton->geometry(), QRect(240, 0, 60, 19));
        QCOMPARE(subset->ImageButton->text(), QString("Image"));
        QCOMPARE(subset->ImageButton->toolTip(),
                 QString("Display image for these character states"));
        QVERIFY(!subset->ImageButton->isEnabled());
    }

    // A list scrolls sideways only when a line is wider than it, and then just far enough
    // to show the end of the widest line; the range follows a mode that widens the lines.
    void horizontalScrollReachesTheWidestLineOnly() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TCharScore* score = Score();
        TVornListBox* list = score->VornListBox;
        QScrollBar* bar = list->horizontalScrollBar();
        auto settle = [] {
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
        };
        // How far the list must scroll to show the end of the widest line at 2 pixels in.
        auto overhang = [&] {
            int widest = 0;
            for (const QString& line : Lines(score))
                widest = std::max(widest, list->fontMetrics().horizontalAdvance(line));
            return 2 + widest - list->viewport()->width();
        };
        // Low enough for a vertical scroll bar, which must not bring a horizontal one.
        QRect bounds = score->Bounds();
        score->SetBounds(bounds.left(), bounds.top(), bounds.width(), 90);
        settle();
        QVERIFY(list->isVisible());
        QVERIFY(list->verticalScrollBar()->isVisible());
        QVERIFY(overhang() < 0);
        QVERIFY(!bar->isVisible());
        QCOMPARE(bar->maximum(), 0);

        score->SetBounds(bounds.left(), bounds.top(), 90, 90);
        settle();
        QVERIFY(overhang() > 20);
        QVERIFY(bar->isVisible());
        QVERIFY2(bar->maximum() >= overhang() && bar->maximum() <= overhang() + 6,
                 qPrintable(QString("range %1, overhang %2").arg(bar->maximum()).arg(overhang())));
        QVERIFY(bar->singleStep() < bar->maximum() / 2);  // an arrow does not jump to the end
        // A highlight spans the whole row, scrolled or not.
        QCOMPARE(list->visualRect(list->model()->index(0, 0)).width(),
                 bar->maximum() + list->viewport()->width());

        int before = overhang();
        f->Main->Numbertoggle1->trigger();
        settle();
        QVERIFY(overhang() > before);
        QVERIFY2(bar->maximum() >= overhang() && bar->maximum() <= overhang() + 6,
                 qPrintable(QString("range %1, overhang %2").arg(bar->maximum()).arg(overhang())));
    }

    void scoringFromTheScoreWindow() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TCharScore* score = Score();
        TCharActive* active = Active();
        QCOMPARE(Lines(score), kAllStates);
        QCOMPARE(Matching(), QString("6 Taxa Match"));

        // Nothing highlighted: no button and no double-click changes anything.
        for (QPushButton* button : {score->PresentButton, score->AbsentButton, score->ClearButton})
            Click(button);
        QCOMPARE(Lines(score), kAllStates);
        QCOMPARE(Lines(active), QStringList());

        ClickRow(score, 3);
        Click(score->PresentButton);
        QCOMPARE(Lines(score)[3], QString("  +Stems: thorny"));
        QCOMPARE(Lines(active), QStringList({"  +Stems: thorny"}));
        QCOMPARE(Matching(), QString("3 Taxa Match"));
        Click(score->AbsentButton);
        QCOMPARE(Lines(score)[3], QString("  -Stems: thorny"));
        QCOMPARE(Matching(), QString("3 Taxa Match"));
        Click(score->ClearButton);
        QCOMPARE(Lines(score), kAllStates);
        QCOMPARE(Lines(active), QStringList());
        QCOMPARE(Matching(), QString("6 Taxa Match"));

        // Double-clicks cycle one state through present, absent and back; it keeps its row.
        const char* marks[] = {"  +Leaves: simple", "  -Leaves: simple", "   Leaves: simple"};
        const char* matching[] = {"2 Taxa Match", "4 Taxa Match", "6 Taxa Match"};
        for (int i = 0; i < 3; ++i) {
            DoubleClickRow(score, 0);
            QCOMPARE(Lines(score)[0], QString(marks[i]));
            QCOMPARE(Lines(score).size(), 8);
            QCOMPARE(Matching(), QString(matching[i]));
        }
        QVERIFY(f->Ui.Messages.empty());
    }

    void activeWindowListsScoredStatesInStateOrder() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TCharScore* score = Score();
        TCharActive* active = Active();
        ClickRow(score, 5);
        Click(score->PresentButton);
        ClickRow(score, 1);
        Click(score->AbsentButton);
        QCOMPARE(Lines(active), QStringList({"  -Leaves: pinnate", "  +Fruit: red"}));

        // Scoring from the Active window itself; a rebuild drops the highlight.
        ClickRow(active, 1);
        Click(active->AbsentButton);
        QCOMPARE(Lines(active), QStringList({"  -Leaves: pinnate", "  -Fruit: red"}));
        QCOMPARE(active->VornListBox->SelectedIndic(), -1);
        Click(active->ClearButton);
        QCOMPARE(Lines(active).size(), 2);
        ClickRow(active, 0);
        Click(active->ClearButton);
        QCOMPARE(Lines(active), QStringList({"  -Fruit: red"}));
        DoubleClickRow(active, 0);  // absent -> cleared: the only scored state goes
        QCOMPARE(Lines(active), QStringList());
        QCOMPARE(Lines(score), kAllStates);

        // Opened later, it lists what is scored by then.
        ClickRow(score, 7);
        Click(score->PresentButton);
        QVERIFY(active->close());
        QCOMPARE(Lines(Active()), QStringList({"  +Habit: woody"}));
    }

    void orGroupsFromAnyWindow() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TCharScore* score = Score();
        TCharActive* active = Active();
        Windows().ShowCharSubset(IndexEntry{});  // a key without an index: no states
        Windows().ShowCharMiss(0, "Dog rose");
        QList<TCharForm*> forms = {score, active,
                                   Windows().OpenWindow<TCharForm>(WindowKind::CharSubset),
                                   Windows().OpenWindow<TCharForm>(WindowKind::CharMiss)};
        ClickRow(score, 0);
        Click(score->PresentButton);
        QCOMPARE(Matching(), QString("2 Taxa Match"));

        Click(active->OrButton);
        for (TCharForm* form : forms) {
            QCOMPARE(form->OrButton->text(), QString("End &Or"));
            QCOMPARE(form->OrButton->toolTip(),
                     QString("End selection of character states to \"Or\" together"));
        }
        ClickRow(score, 3);
        Click(score->PresentButton);
        DoubleClickRow(score, 6);  // a double-click joins as present
        QCOMPARE(Lines(active),
                 QStringList({"  +Leaves: simple", "  o+Stems: thorny", "  o+Fruit: blue"}));
        // Of the two that matched only Rosa canina has thorns, and neither has blue fruit.
        QCOMPARE(Matching(), QString("1 Taxon Matches"));

        // Scored states are refused while the group is open, whatever the request.
        ClickRow(score, 0);
        Click(score->AbsentButton);
        ClickRow(score, 3);
        Click(score->ClearButton);
        QCOMPARE(f->MessageTexts(), QStringList({kOrRefusal, kOrRefusal}));
        QCOMPARE(Lines(score)[0], QString("  +Leaves: simple"));
        QCOMPARE(Lines(score)[3], QString("  o+Stems: thorny"));
        // Clear on an unscored state changes nothing and is not refused.
        ClickRow(score, 7);
        Click(score->ClearButton);
        QCOMPARE(f->Ui.Messages.size(), size_t(2));

        // With the group open the Matching Taxa window is not brought forward (it would be
        // for one taxon otherwise); ending it from another window redraws every Or button.
        Click(forms[2]->OrButton);
        for (TCharForm* form : forms)
            QCOMPARE(form->OrButton->text(), QString("Begin &Or"));
        QCOMPARE(Matching(), QString("1 Taxon Matches"));

        // Clearing one member dissolves the whole group.
        ClickRow(active, 2);
        Click(active->ClearButton);
        QCOMPARE(Lines(active), QStringList({"  +Leaves: simple"}));
        QCOMPARE(Matching(), QString("2 Taxa Match"));
    }

    // Alt and the underlined letter press a button of the window that has the focus only,
    // though every open state window has the same letters.
    void accessKeysActInTheFocusedWindow() {
        f->OpenAccepted(f->Write(ShrubKey()));
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
        TCharScore* score = Score();
        TCharActive* active = Active();
        Score();
        ClickRow(score, 2);
        QTest::keyClick(score->VornListBox, Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(Lines(active), QStringList({"  +Leaves: palmate"}));
        ClickRow(score, 4);
        QTest::keyClick(score->VornListBox, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(Lines(active), QStringList({"  +Leaves: palmate", "  -Flowers: scented"}));
        // Alt+C is "&Clear" here, not the Characters menu.
        QTest::keyClick(score->VornListBox, Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(Lines(active), QStringList({"  +Leaves: palmate"}));
        QTest::keyClick(score->VornListBox, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(Lines(active), QStringList({"  +Leaves: palmate", "  -Flowers: scented"}));

        Windows().ShowWindow(WindowKind::CharActive);
        ClickRow(active, 1);
        QTest::keyClick(active->VornListBox, Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(Lines(active), QStringList({"  +Leaves: palmate", "  +Flowers: scented"}));
        QTest::keyClick(active->VornListBox, Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(score->OrButton->text(), QString("End &Or"));
        QCOMPARE(Lines(score)[4], QString("  +Flowers: scented"));
    }

    void orButtonsOfWindowsOpenedDuringAGroup() {
        f->OpenAccepted(f->Write(ShrubKey()));
        Click(Score()->OrButton);
        QCOMPARE(Active()->OrButton->text(), QString("End &Or"));
        Click(Active()->OrButton);
        QCOMPARE(Score()->OrButton->text(), QString("Begin &Or"));
        QCOMPARE(Active()->OrButton->text(), QString("Begin &Or"));
    }

    void mismatchedStatesOfOneTaxon() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TCharScore* score = Score();
        ClickRow(score, 0);
        Click(score->PresentButton);
        ClickRow(score, 7);
        Click(score->AbsentButton);
        Click(score->OrButton);
        ClickRow(score, 3);
        Click(score->AbsentButton);
        Click(score->OrButton);

        Windows().ShowCharMiss(2, "Crataegus monogyna");
        auto* miss = Windows().OpenWindow<TCharMiss>(WindowKind::CharMiss);
        QVERIFY(miss);
        QCOMPARE(miss->Caption(), QString("Mismatched States:  Crataegus monogyna"));
        // Crataegus lacks simple leaves and is woody; it fails the "Or" group too, which
        // is not a state of its own but a note after them.
        const QString group = "(\"Or\" group: not 4 Stems: thorny)";
        QCOMPARE(Lines(miss), QStringList({"  +Leaves: simple", "  -Habit: woody", group}));

        Windows().ShowCharMiss(0, "Dog rose");
        QCOMPARE(Windows().OpenWindow<TCharMiss>(WindowKind::CharMiss), miss);
        QCOMPARE(miss->Caption(), QString("Mismatched States:  Dog rose"));
        QCOMPARE(Lines(miss), QStringList({"  -Habit: woody", group}));
        QCOMPARE(f->WindowTitles().filter("Mismatched States:").size(), 1);

        // Rebuilt after scoring: clearing the state it lists leaves nothing.
        ClickRow(score, 7);
        Click(score->ClearButton);
        QCOMPARE(Lines(miss), QStringList({group}));
        // Scoring from the window itself.
        ClickRow(score, 7);
        Click(score->AbsentButton);
        ClickRow(miss, 0);
        Click(miss->PresentButton);
        QCOMPARE(Lines(miss), QStringList({group}));
        QCOMPARE(Lines(score)[7], QString("  +Habit: woody"));
    }

    void countAndNumberModesShowAfterARepaint() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TCharScore* score = Score();
        f->Main->Counttoggle1->trigger();
        f->Main->Numbertoggle1->trigger();
        QCOMPARE(Lines(score).mid(3, 5),
                 QStringList({"(3)        4. Stems: thorny", "(all)    5. Flowers: scented",
                              "(4)        6. Fruit: red", "(0)        7. Fruit: blue",
                              "(all)    8. Habit: woody"}));
        ClickRow(score, 3);
        Click(score->PresentButton);
        QCOMPARE(Lines(score).mid(0, 4),
                 QStringList({"(1)        1. Leaves: simple", "(1)        2. Leaves: pinnate",
                              "(1)        3. Leaves: palmate", "(all)   +4. Stems: thorny"}));
    }

    // A state file that lost records after the key was opened: the rebuild stops at the
    // first record it cannot read, the general error handling says why, the items before
    // stay, and the cursor is the normal one again.
    void readErrorEndsTheRebuildWithTheCursorRestored() {
        KeySpec keySpec = ShrubKey();
        keySpec.Index = "1 20 1\nAll\n1\nEvery state\n1 8\n";  // opens the Index window, not Score
        f->OpenAccepted(f->Write(keySpec));
        QVERIFY(!Windows().IsOpen(WindowKind::CharScore));
        std::filesystem::resize_file(f->Dir.Path() + "SHRUBS.CHR", 3 * 80);

        Click(f->Main->ScoreButton);
        auto* score = Windows().OpenWindow<TCharScore>(WindowKind::CharScore);
        QVERIFY(score);
        QCOMPARE(Lines(score), kAllStates.mid(0, 3));
        QCOMPARE(f->MessageTexts(),
                 QStringList({"Cannot read \"SHRUBS.CHR\": record 3 lies beyond the end "
                              "of the file."}));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        // The same for a rebuild after scoring.
        Windows().ShowWindow(WindowKind::CharActive);
        ClickRow(score, 0);
        Click(score->PresentButton);
        QCOMPARE(Lines(Windows().OpenWindow<TCharForm>(WindowKind::CharActive)),
                 QStringList({"  +Leaves: simple"}));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void closingTheKeyEmptiesOrClosesTheWindows() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TCharScore* score = Score();
        TCharActive* active = Active();
        ClickRow(score, 0);
        Click(score->PresentButton);
        Windows().ShowCharMiss(3, "Elder");
        Windows().ShowCharSubset(IndexEntry{});  // a key without an index: no states
        CloseKey(CurrentSession());
        QCOMPARE(Lines(score), QStringList());
        QCOMPARE(Lines(active), QStringList());
        QVERIFY(!Windows().IsOpen(WindowKind::CharMiss));
        QVERIFY(!Windows().IsOpen(WindowKind::CharSubset));
        // Without a key the buttons act on nothing.
        Click(score->OrButton);
        QCOMPARE(score->OrButton->text(), QString("Begin &Or"));
        score->LoadList();
        QCOMPARE(Lines(score), QStringList());
    }

    // The codes were read when the key opened: a matrix file damaged afterwards changes
    // no count and no line.
    void countsNeedNoFileOnceTheKeyIsOpen() {
        KeySpec keySpec = RandomKey(100, 4, 7);
        std::string des = f->Write(keySpec);
        f->OpenAccepted(des);
        TCharScore* score = Score();
        f->Main->Counttoggle1->trigger();
        QStringList before = Lines(score);
        std::string dat = f->Dir.Path() + "RANDOM.DAT";
        WriteFile(dat, ReadFile(dat).substr(0, 120));
        CurrentSession().ScoreState(0, RequestAbsent);
        CurrentSession().ScoreState(0, RequestClear);
        score->VornListBox->viewport()->grab();
        QCoreApplication::processEvents();
        QCOMPARE(Lines(score), before);
        QVERIFY(before[1].startsWith("(") && !before[1].startsWith("(?)"));
        QVERIFY(f->Ui.Messages.empty());
    }

    void typingInAListMovesNothing() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TCharScore* score = Score();
        ClickRow(score, 0);
        QTest::keyClicks(score->VornListBox, "   Fr");  // would find "   Fruit: red"
        QCOMPARE(score->VornListBox->SelectedRow(), 0);
        QCOMPARE(score->VornListBox->model()->data(score->VornListBox->model()->index(5, 0)),
                 QVariant("   Fruit: red"));
    }
};

VORN_QTEST_MAIN(CharWindowsTest)
#include "CharWindowsTest.moc"
