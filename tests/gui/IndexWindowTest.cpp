// The Index to Character States window and the Subset window it opens: the panel built
// from the key's index file, the subset filter, the Subset window outliving the Index
// window, and what a user sees for bad index files.
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>
#include "windows/TitlePageDialog.h"

#include "frame/Look.h"
#include "tests/kit/CharWindowHelpers.h"
#include "windows/states/IndexWindow.h"
#include "windows/states/ScoreWindow.h"
#include "windows/states/SubsetWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

// Two columns of three and five entries, 20 characters wide, 2 apart.
const char* const kIndex =
    "2 20 2\r\n"
    "Leaves\r\n"
    "3\r\n"
    "All states\r\n"
    "1 8\r\n"
    "  Two ranges|LEAF.JPG\r\n"
    "-2 1 1 3 4\r\n"
    "Beyond the key\r\n"
    "6 99\r\n"
    "Bark\r\n"
    "5\r\n"
    "Photographs|BARK.JPG\r\n"
    "0 0\r\n"
    "Nothing to split\r\n"
    "5 5\r\n"
    "Fourth\r\n"
    "7 8\r\n"
    "Fifth\r\n"
    "1 1\r\n"
    "Sixth\r\n"
    "2 2\r\n";

}  // namespace

class IndexWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    void OpenShrubs(const std::string& index = kIndex) {
        KeySpec keySpec = ShrubKey();
        keySpec.Index = index;
        f->OpenAccepted(f->Write(keySpec));
    }
    TCharIndex* Index() { return Windows().OpenWindow<TCharIndex>(WindowKind::CharIndex); }
    TCharSubset* Subset() { return Windows().OpenWindow<TCharSubset>(WindowKind::CharSubset); }
    // The index buttons in entry order.
    QList<TVornIndexButton*> Buttons() {
        QList<TVornIndexButton*> buttons = Index()->findChildren<TVornIndexButton*>();
        std::sort(buttons.begin(), buttons.end(),
                  [](auto* a, auto* b) { return a->Entry < b->Entry; });
        return buttons;
    }
    void Press(int entry) {
        auto* button = Index()->findChild<TVornIndexButton*>(QString("IndexButton%1").arg(entry));
        QVERIFY(button);
        Click(button);
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void openingAKeyWithAnIndexShowsThePanel() {
        OpenShrubs();
        QCOMPARE(f->WindowTitles(), QStringList({"Index to Character States"}));
        TCharIndex* index = Index();
        QVERIFY(index);
        // The columns' 272 x 160 under the find box's bar, which nothing needs to scroll.
        QCOMPARE(index->size(), QSize(272, 26 + 160));
        QCOMPARE(index->ScrollBox->geometry(), QRect(0, 26, 272, 160));
        QCOMPARE(index->ScrollBox->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(index->ScrollBox->verticalScrollBar()->maximum(), 0);
        QCOMPARE(index->palette().color(QPalette::Window), colours::Olive);

        QList<QLabel*> headings = index->findChildren<QLabel*>("HeadingLabel");
        QCOMPARE(headings.size(), 2);
        QCOMPARE(headings[0]->text(), QString("Leaves"));
        QCOMPARE(headings[0]->geometry(), QRect(10, 10, 120, 20));
        QCOMPARE(headings[1]->text(), QString("Bark"));
        QCOMPARE(headings[1]->geometry(), QRect(142, 10, 120, 20));
        QVERIFY(headings[0]->alignment() & Qt::AlignHCenter);

        QList<TVornIndexButton*> buttons = Buttons();
        QStringList texts;
        for (TVornIndexButton* button : buttons)
            texts << button->text();
        QCOMPARE(texts, QStringList({"All states", "Two ranges", "Beyond the key", "Photographs",
                                     "Nothing to split", "Fourth", "Fifth", "Sixth"}));
        QCOMPARE(buttons[2]->geometry(), QRect(10, 82, 120, 20));
        // Numbering goes on across columns.
        QCOMPARE(buttons[3]->Entry, 3);
        QCOMPARE(buttons[3]->geometry(), QRect(142, 30, 120, 20));
        QCOMPARE(buttons[7]->geometry(), QRect(142, 134, 120, 20));
        QCOMPARE(buttons[0]->font().pixelSize(), 9);
        QVERIFY(buttons[0]->font().bold());

        // Centred in the frame's client area, fixed, with no maximize box.
        QMdiSubWindow* sub = index->SubWindow();
        QSize area = f->Main->MdiArea->viewport()->size();
        QCOMPARE(sub->pos(),
                 QPoint((area.width() - sub->width()) / 2, (area.height() - sub->height()) / 2));
        QCOMPARE(sub->contentsRect().size(), QSize(272, 186));
        QVERIFY(!(sub->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(sub->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(f->Ui.Messages.empty());

        // Dragging the lower right corner (pointed at first, as a user does) leaves the
        // size alone.
        QSize size = sub->size();
        QPoint corner(sub->width() - 2, sub->height() - 2);
        QTest::mouseMove(sub, corner);
        QTest::mousePress(sub, Qt::LeftButton, {}, corner);
        QTest::mouseMove(sub, corner + QPoint(60, 40));
        QTest::mouseRelease(sub, Qt::LeftButton, {}, corner + QPoint(60, 40));
        QCOMPARE(sub->size(), size);
        // Minimized and asked for again, it comes back as it was.
        sub->showMinimized();
        Click(f->Main->IndexButton);
        QVERIFY(!sub->isMinimized());
        QCOMPARE(sub->size(), size);
        QCOMPARE(index->size(), QSize(272, 186));

        // Asked for again, the same window comes forward without being rebuilt.
        Click(f->Main->IndexButton);
        QCOMPARE(Index(), index);
        QCOMPARE(f->WindowTitles().size(), 1);
    }

    void indexButtonsOpenTheirSubset() {
        OpenShrubs();
        struct Row {
            int entry;
            const char* caption;
            QStringList lines;
            bool image;
        };
        const Row rows[] = {
            {1,
             "Leaves:  Two ranges",
             {"   Leaves: simple", "   Leaves: palmate", "   Stems: thorny"},
             true},
            // States every taxon can have, or none can, are left out.
            {0,
             "Leaves:  All states",
             {"   Leaves: simple", "   Leaves: pinnate", "   Leaves: palmate", "   Stems: thorny",
              "   Fruit: red"},
             false},
            // Only the key's own states, however far the entry reaches.
            {2, "Leaves:  Beyond the key", {"   Fruit: red"}, false},
            // First state 0: no states, which the list says, but the image stays available.
            {3, "Bark:  Photographs", {"This entry has no states"}, true},
            {4,
             "Bark:  Nothing to split",
             {"No state of this entry separates the 6 matching taxa"},
             false},
        };
        for (const Row& row : rows) {
            Press(row.entry);
            TCharSubset* subset = Subset();
            QVERIFY(subset);
            QCOMPARE(subset->Caption(), QString(row.caption));
            QCOMPARE(Lines(subset), row.lines);
            QCOMPARE(subset->ImageButton->isEnabled(), row.image);
        }
        QCOMPARE(f->WindowTitles().size(), 2);
        QCOMPARE(Subset()->Bounds(),
                 QRect(f->Main->LeftPaneWidth, 0, f->Main->RightPaneWidth, f->Main->PaneHeight));
    }

    void subsetFollowsTheScores() {
        OpenShrubs();
        Press(0);
        TCharSubset* subset = Subset();
        TCharScore* score = dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
        ClickRow(score, 0);
        Click(score->PresentButton);
        // Two taxa left: only the thorns split them.
        QCOMPARE(Lines(subset), QStringList({"   Stems: thorny"}));
        // Scored absent from the Subset window itself it stays listed.
        ClickRow(subset, 0);
        Click(subset->AbsentButton);
        QCOMPARE(Lines(subset), QStringList({"  -Stems: thorny"}));
        Click(subset->OrButton);
        QCOMPARE(score->OrButton->text(), QString("End &Or"));
        DoubleClickRow(score, 5);
        QCOMPARE(Lines(subset), QStringList({"  -Stems: thorny", "  o+Fruit: red"}));
        Click(subset->OrButton);
    }

    // The Subset window keeps its own copy of its entry: after the Index window and its
    // table have gone, it still rebuilds with its caption, states and image.
    void subsetOutlivesTheIndexWindow() {
        OpenShrubs();
        Press(1);
        QVERIFY(Index()->SubWindow()->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Windows().IsOpen(WindowKind::CharIndex));

        TCharScore* score = dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
        ClickRow(score, 0);
        Click(score->PresentButton);
        TCharSubset* subset = Subset();
        QCOMPARE(subset->Caption(), QString("Leaves:  Two ranges"));
        QCOMPARE(Lines(subset), QStringList({"   Stems: thorny"}));
        QVERIFY(subset->ImageButton->isEnabled());
        Click(subset->ImageButton);  // no picture window in this build: nothing happens

        // The Index window reads its file anew.
        WriteFile(f->Dir.Path() + "SHRUBS.IND", "1 20 2\r\nStems\r\n1\r\nThorns\r\n4 4\r\n");
        Click(f->Main->IndexButton);
        QCOMPARE(Index()->Entries().size(), size_t{1});
        QCOMPARE(Index()->Entries()[0].Caption(), std::string("Stems:  Thorns"));
        QCOMPARE(Buttons().size(), 1);
        QCOMPARE(subset->Caption(), QString("Leaves:  Two ranges"));

        // Closing the key closes both.
        CloseKey(CurrentSession());
        QVERIFY(!Windows().IsOpen(WindowKind::CharIndex));
        QVERIFY(!Windows().IsOpen(WindowKind::CharSubset));
    }

    // Bad index files, opened from the toolbar: the panel shows what was read before the
    // fault, the buttons read work, and the message names the file and the line.
    void badIndexFilesShowWhatWasReadAndSayWhy() {
        OpenShrubs("1 20 1\nAll\n1\nEvery state\n1 8\n");
        struct Row {
            std::string text;
            QStringList messages;
            int buttons;
            QSize client;
        };
        const Row rows[] = {
            // No column: the window keeps the find box's width.
            {"", {"Cannot read \"SHRUBS.IND\": a number was expected in line 1."}, 0, {200, 56}},
            {"1 10 1\nA\n2\nOne\n-0 4 1 1\nTwo\n",
             {"Cannot read \"SHRUBS.IND\": a number was expected in line 7."},
             1,
             {200, 82}},
            {"2 10 1\nA\n2\nOne\n1 2\nTwo\n3 x\n",
             {"Cannot read \"SHRUBS.IND\": a number was expected in line 7."},
             1,
             {200, 82}},
        };
        for (const Row& row : rows) {
            QVERIFY(Index()->SubWindow()->close());
            f->Ui.Messages.clear();
            WriteFile(f->Dir.Path() + "SHRUBS.IND", row.text);
            Click(f->Main->IndexButton);
            QCOMPARE(f->MessageTexts(), row.messages);
            QVERIFY(Windows().IsOpen(WindowKind::CharIndex));
            QCOMPARE(Index()->size(), row.client);
            QCOMPARE(Buttons().size(), row.buttons);
            QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        }

        // The buttons read before an error work.
        Press(0);
        QCOMPARE(Subset()->Caption(), QString("A:  One"));
        QCOMPARE(Lines(Subset()), QStringList({"   Leaves: simple", "   Leaves: pinnate"}));
    }

    void textsFromTheKeyStayPlainAndFixedWindowsKeepTheirSize() {
        KeySpec keySpec = ShrubKey();
        keySpec.Name = "R&D";
        keySpec.TitleLines = {"Key to <i>Rosa</i> &amp; a &lt; b"};
        keySpec.Index = "1 20 2\r\n<b>Leaves</b>\r\n1\r\nAll\r\n1 3\r\n";
        std::string des = f->Write(keySpec);
        QPointer<QTimer> poll = AnswerNextDialog([](QDialog* dialog) {
            auto* title = qobject_cast<TKeyTitle*>(dialog);
            QVERIFY(title);
            QCOMPARE(title->Lines[0]->textFormat(), Qt::PlainText);
            QCOMPARE(title->Lines[0]->text(), QString("Key to <i>Rosa</i> &amp; a &lt; b"));
            dialog->accept();
        });
        OpenKey(CurrentSession(), des);
        if (poll) poll->deleteLater();
        QCOMPARE(f->Main->Aboutkey1->text(), QString("About the R&&D &key"));
        auto* heading = Index()->findChild<QLabel*>("HeadingLabel");
        QCOMPARE(heading->textFormat(), Qt::PlainText);

        // Tiling and cascading keep the Index window's size and stretch the others.
        Windows().ShowWindow(WindowKind::CharScore);
        QSize index = Index()->SubWindow()->size();
        f->Main->Tilewindows1->trigger();
        QCOMPARE(Index()->SubWindow()->size(), index);
        QCOMPARE(Windows().OpenWindow(WindowKind::CharScore)->Bounds().width(),
                 f->Main->MdiArea->viewport()->width());
        f->Main->Cascadewindows1->trigger();
        QCOMPARE(Index()->SubWindow()->size(), index);
    }

    // An index larger than the frame's area keeps within it and scrolls its columns
    // inside; the area itself has nothing to scroll.
    void aLargeIndexScrollsInsideTheWindow() {
        // 40 columns of 25 entries, 60 characters wide, as an importer writes them for a
        // thousand characters, do not fit a main window of 700 x 500.
        std::string large = "40 60 2\r\n";
        for (int column = 0; column < 40; ++column) {
            large += "Characters " + std::to_string(column * 25 + 1) + "-" +
                     std::to_string(column * 25 + 25) + "\r\n25\r\n";
            for (int row = 0; row < 25; ++row)
                large += "Character " + std::to_string(column * 25 + row + 1) + "\r\n1 2\r\n";
        }
        f->Main->resize(700, 500);
        QMdiArea* area = f->Main->MdiArea;
        OpenShrubs(large);
        TCharIndex* index = Index();
        QCOMPARE(Buttons().size(), 1000);
        QMdiSubWindow* sub = index->SubWindow();
        QCOMPARE(sub->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(sub->size(), area->viewport()->size());
        QTRY_COMPARE(area->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(area->verticalScrollBar()->maximum(), 0);

        // The last column and its last entry scroll into view inside the window.
        QScrollBar* across = index->ScrollBox->horizontalScrollBar();
        QScrollBar* down = index->ScrollBox->verticalScrollBar();
        QVERIFY(across->maximum() > 0);
        QVERIFY(down->maximum() > 0);
        across->setValue(across->maximum());
        down->setValue(down->maximum());
        TVornIndexButton* last = Buttons().back();
        QRect seen = index->ScrollBox->viewport()->rect();
        QRect shown(last->mapTo(index->ScrollBox->viewport(), QPoint(0, 0)), last->size());
        QVERIFY2(seen.contains(shown), "the last entry can be seen");
        QCOMPARE(last->text(), QString("Character 1000"));

        // Found by their own numbers, not by those of their columns' headings.
        QTest::keyClicks(index->FindEdit, "character 10");
        QStringList found;
        for (TVornIndexButton* button : Buttons()) {
            if (!button->isHidden()) found << button->text();
        }
        QCOMPARE(found.size(), 12);  // 10, 100 to 109 and 1000
        QCOMPARE(found.front(), QString("Character 10"));
        QCOMPARE(found.back(), QString("Character 1000"));

        // Another key's small index is centred, unscrolled.
        OpenShrubs();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QMdiSubWindow* next = Index()->SubWindow();
        QCOMPARE(next->x(), (area->viewport()->width() - next->width()) / 2);
        QCOMPARE(Index()->ScrollBox->horizontalScrollBar()->value(), 0);
    }

    // The find box keeps the entries whose heading and text hold every word typed, each
    // as the start of a word, ignoring case and accents; the columns close up and Enter
    // opens the first entry left.
    void theFindBoxKeepsTheEntriesThatHoldTheWords() {
        std::string index = kIndex;
        index.replace(index.find("Sixth"), 5,
                      "Feuilles d\xE9"
                      "coup\xE9"
                      "es");
        OpenShrubs(index);
        TCharIndex* window = Index();
        auto shown = [&] {
            QStringList texts;
            for (TVornIndexButton* button : Buttons()) {
                if (!button->isHidden())
                    texts << QString("%1 %2,%3")
                                 .arg(button->text())
                                 .arg(button->x())
                                 .arg(button->y());
            }
            return texts;
        };
        QTest::keyClicks(window->FindEdit, "T");
        QCOMPARE(shown(), QStringList({"Two ranges 10,30", "Beyond the key 10,56",
                                       "Nothing to split 142,30"}));
        QTest::keyClicks(window->FindEdit, " rAN");
        QCOMPARE(shown(), QStringList({"Two ranges 10,30"}));
        // Bark's column moves to the first place when Leaves' has nothing left.
        window->FindEdit->setText("bark f");
        QCOMPARE(shown(), QStringList({"Fourth 10,30", "Fifth 10,56",
                                       QString::fromUtf8("Feuilles d\u00E9coup\u00E9es 10,82")}));
        QList<QLabel*> headings = window->findChildren<QLabel*>("HeadingLabel");
        QVERIFY(headings[0]->isHidden());
        QCOMPARE(headings[1]->geometry(), QRect(10, 10, 120, 20));
        window->FindEdit->setText("decoupees");
        QCOMPARE(shown(), QStringList({QString::fromUtf8("Feuilles d\u00E9coup\u00E9es 10,30")}));

        // Enter opens the first entry left; with none left it opens nothing.
        window->FindEdit->setText("nothing");
        QTest::keyClick(window->FindEdit, Qt::Key_Return);
        QVERIFY(Subset());
        QCOMPARE(Subset()->Caption(), QString("Bark:  Nothing to split"));
        Subset()->CloseForm();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window->FindEdit->setText("xyz");
        QVERIFY(shown().isEmpty());
        QTest::keyClick(window->FindEdit, Qt::Key_Return);
        QVERIFY(!Windows().IsOpen(WindowKind::CharSubset));

        // Emptied, every entry is back in its place.
        window->FindEdit->clear();
        QCOMPARE(shown().size(), 8);
        QCOMPARE(Buttons()[7]->geometry(), QRect(142, 134, 120, 20));
        QVERIFY(!headings[0]->isHidden());

        // Ctrl+F takes the focus to the find box from anywhere in the window.
        f->Main->activateWindow();
        QApplication::setActiveWindow(f->Main);
        Buttons()[0]->setFocus();
        QTest::keySequence(Buttons()[0], QKeySequence::Find);
        QTRY_VERIFY(window->FindEdit->hasFocus());
    }
};

VORN_QTEST_MAIN(IndexWindowTest)
#include "IndexWindowTest.moc"
