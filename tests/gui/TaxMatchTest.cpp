// The Matching Taxa window: its layout, the taxa it lists as the scores change, the Image
// and Notes buttons, and its coming forward by itself when one taxon is left.
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QtTest>

#include <unistd.h>

#include "core/session/Session.h"
#include "tests/kit/TaxaWindows.h"

using namespace vorn;
using namespace vorn::testing;

class TaxMatchTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    TTaxMatch* OpenWithKey() {
        OpenKeyAccepted(f->Write(TreesKey()));
        QTest::mouseClick(f->Main->MatchButton, Qt::LeftButton);
        TTaxMatch* w = TaxMatchWindow();
        if (!w) qFatal("the Matching Taxa window did not open");
        return w;
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void layoutAndEmptyWithoutKey() {
        QTest::mouseClick(f->Main->MatchButton, Qt::LeftButton);
        TTaxMatch* w = TaxMatchWindow();
        QVERIFY(w);
        QCOMPARE(w->Caption(), QString("Matching Taxa"));
        QCOMPARE(w->Bounds(), QRect(0, 0, f->Main->LeftPaneWidth, f->Main->PaneHeight));
        QCOMPARE(w->VornListBox->Count(), 0);

        QCOMPARE(w->Panel1->objectName(), QString("Panel1"));
        QCOMPARE(w->Panel1->height(), 19);
        QCOMPARE(w->Panel1->geometry().topLeft(), QPoint(0, 0));
        struct Button {
            QPushButton* button;
            const char* name;
            const char* caption;
            int left;
            const char* hint;
        };
        const Button buttons[] = {
            {w->ImageButton, "ImageButton", "&Image", 0, "Display image of highlighted taxon"},
            {w->NotesButton, "NotesButton", "&Notes", 60,
             "Display notes for the highlighted taxon"},
        };
        for (const Button& b : buttons) {
            QCOMPARE(b.button->objectName(), QString(b.name));
            QCOMPARE(b.button->text(), QString(b.caption));
            QCOMPARE(b.button->geometry(), QRect(b.left, 0, 60, 19));
            QCOMPARE(b.button->toolTip(), QString(b.hint));
            QCOMPARE(b.button->font().pixelSize(), 9);
            QVERIFY(b.button->font().bold());
            QVERIFY(!b.button->isEnabled());
        }
        // The list fills the rest of the window, with 16-pixel items for its 13-pixel font.
        QCOMPARE(w->VornListBox->objectName(), QString("VornListBox"));
        QCOMPARE(w->VornListBox->geometry().top(), 19);
        QCOMPARE(w->VornListBox->geometry().bottom(), w->height() - 1);
        QCOMPARE(w->VornListBox->font().pixelSize(), 13);
        QCOMPARE(w->VornListBox->ItemHeight(), 16);

        // Pressing the disabled buttons with nothing listed opens nothing.
        int windows = f->Main->MdiArea->subWindowList().size();
        QTest::mouseClick(w->NotesButton, Qt::LeftButton);
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        QCOMPARE(f->Main->MdiArea->subWindowList().size(), windows);
        QVERIFY(f->Ui.Messages.empty());
    }

    void listFollowsEveryScoringAction() {
        TTaxMatch* w = OpenWithKey();
        TVornListBox* list = w->VornListBox;
        QCOMPARE(Listed(list), std::vector<int>({0, 1, 2, 3, 4, 5}));
        QCOMPARE(list->model()->data(list->model()->index(0, 0)).toString(),
                 QString("> Quercus robur"));
        QCOMPARE(list->model()->data(list->model()->index(3, 0)).toString(),
                 QString("   Alnus glutinosa"));

        // Highlight the oak: both buttons come on; a rebuild takes the highlight, and the
        // buttons go off with it, with no taxon to act on.
        ClickRow(list, 0);
        QVERIFY(w->ImageButton->isEnabled() && w->NotesButton->isEnabled());
        QCOMPARE(w->ImageButton->text(), QString("&Image"));
        QCOMPARE(w->NotesButton->text(), QString("&Notes"));

        CurrentSession().ScoreState(0, RequestPresent);  // large tree
        QCOMPARE(Listed(list), std::vector<int>({0, 1, 2, 3, 4}));
        QCOMPARE(list->SelectedIndic(), -1);
        QVERIFY(!w->ImageButton->isEnabled() && !w->NotesButton->isEnabled());
        ClickRow(list, 0);
        QVERIFY(w->ImageButton->isEnabled() && w->NotesButton->isEnabled());

        CurrentSession().ScoreState(2, RequestAbsent);  // not smooth bark
        QCOMPARE(Listed(list), std::vector<int>({0, 2, 3}));
        QCOMPARE(list->SelectedIndic(), -1);

        CurrentSession().ScoreState(2, RequestClear);
        QCOMPARE(Listed(list), std::vector<int>({0, 1, 2, 3, 4}));

        // A contradiction leaves nothing.
        CurrentSession().ScoreState(3, RequestPresent);
        CurrentSession().ScoreState(3, RequestClear);
        CurrentSession().ScoreState(
            1, RequestPresent);  // lobed: the oak, and the maple is out already
        QCOMPARE(Listed(list), std::vector<int>({0}));
        CurrentSession().ScoreState(1, RequestAbsent);
        QCOMPARE(Listed(list), std::vector<int>({1, 2, 3, 4}));
        CurrentSession().ScoreState(3, RequestAbsent);
        CurrentSession().ScoreState(2, RequestAbsent);
        QCOMPARE(Listed(list), std::vector<int>({3}));
        CurrentSession().ScoreState(0, RequestAbsent);
        QCOMPARE(Listed(list), std::vector<int>());
        QCOMPARE(f->Main->MatchingCount->text(), QString("0 Taxa Match"));
        QVERIFY(!w->ImageButton->isEnabled() && !w->NotesButton->isEnabled());

        // Reset brings every taxon back, none highlighted: the buttons stay off.
        ClickRow(list, 0);
        QTest::mouseClick(f->Main->ResetButton, Qt::LeftButton);
        QCOMPARE(Listed(list), std::vector<int>({0, 1, 2, 3, 4, 5}));
        QVERIFY(!w->ImageButton->isEnabled() && !w->NotesButton->isEnabled());
        QVERIFY(f->Ui.Messages.empty());

        // Closing the key leaves the window open and empty, the buttons off.
        ClickRow(list, 0);
        f->Main->Close1->trigger();
        QCOMPARE(TaxMatchWindow(), w);
        QCOMPARE(list->Count(), 0);
        QVERIFY(!w->ImageButton->isEnabled() && !w->NotesButton->isEnabled());
    }

    void orGroupShowsTheNarrowedSet() {
        TTaxMatch* w = OpenWithKey();
        CurrentSession().ScoreState(0, RequestPresent);
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(3, RequestPresent);  // white bark, "or"...
        QCOMPARE(Listed(w->VornListBox), std::vector<int>({2}));
        CurrentSession().ScoreState(2, RequestPresent);  // ...smooth bark
        QCOMPARE(Listed(w->VornListBox), std::vector<int>({1, 2, 4}));
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(1, RequestAbsent);
        QCOMPARE(Listed(w->VornListBox), std::vector<int>({1, 2, 4}));
        QCOMPARE(f->Main->MatchingCount->text(), QString("3 Taxa Match"));
    }

    void comesForwardWhenOneTaxonIsLeft() {
        OpenKeyAccepted(f->Write(TreesKey()));
        QVERIFY(!Windows().IsOpen(WindowKind::TaxMatch));

        // While an "Or" group is open a single taxon does not call the window.
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(3, RequestPresent);
        QCOMPARE(CurrentSession().MatchingTaxaCount(), 1);
        QVERIFY(!Windows().IsOpen(WindowKind::TaxMatch));
        // Ending the group is a change like a scoring action: the one taxon left calls it.
        CurrentSession().ToggleOrMode();
        QVERIFY(Windows().IsOpen(WindowKind::TaxMatch));
        QCOMPARE(Listed(TaxMatchWindow()->VornListBox), std::vector<int>({2}));
        TaxMatchWindow()->CloseForm();
        CurrentSession().ScoreState(3, RequestClear);
        QVERIFY(!Windows().IsOpen(WindowKind::TaxMatch));

        // Closed: it opens by itself, listing the one taxon.
        CurrentSession().ScoreState(1, RequestPresent);
        QVERIFY(!Windows().IsOpen(WindowKind::TaxMatch));
        CurrentSession().ScoreState(0, RequestPresent);
        TTaxMatch* w = TaxMatchWindow();
        QVERIFY(w);
        QCOMPARE(Listed(w->VornListBox), std::vector<int>({0}));

        // Open behind another window: it comes to the front.
        CurrentSession().ScoreState(0, RequestClear);
        QCOMPARE(Listed(w->VornListBox), std::vector<int>({0, 5}));
        RecordingImageForm::Open();
        QVERIFY(f->Main->MdiArea->currentSubWindow() != w->SubWindow());
        CurrentSession().ScoreState(0, RequestAbsent);
        QCOMPARE(f->Main->MdiArea->currentSubWindow(), w->SubWindow());
        QCOMPARE(Listed(w->VornListBox), std::vector<int>({5}));

        // Minimized: it is restored.
        CurrentSession().ScoreState(0, RequestClear);
        w->SubWindow()->showMinimized();
        CurrentSession().ScoreState(0, RequestAbsent);
        QVERIFY(!w->SubWindow()->isMinimized());
    }

    void buttonsFollowTheHighlightedTaxon() {
        TTaxMatch* w = OpenWithKey();
        TVornListBox* list = w->VornListBox;
        struct Row {
            int taxon;
            bool image, notes;
        };
        // Presence of the parts counts, not their content or any file.
        const Row rows[] = {{3, false, false}, {0, true, true}, {1, true, false}, {2, false, true},
                            {4, false, true},  {5, true, true}, {3, false, false}};
        for (const Row& r : rows) {
            ClickRow(list, RowOf(list, r.taxon));
            QCOMPARE(list->SelectedIndic(), r.taxon);
            QCOMPARE(w->ImageButton->isEnabled(), r.image);
            QCOMPARE(w->NotesButton->isEnabled(), r.notes);
        }

        // The keyboard moves the highlight and the buttons follow.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(list->SelectedIndic(), 0);
        QVERIFY(w->ImageButton->isEnabled() && w->NotesButton->isEnabled());
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->SelectedIndic(), 1);
        QVERIFY(w->ImageButton->isEnabled() && !w->NotesButton->isEnabled());
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(!w->ImageButton->isEnabled() && w->NotesButton->isEnabled());
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(!w->ImageButton->isEnabled() && !w->NotesButton->isEnabled());
    }

    void imageButtonAndTheImageWindow() {
        TTaxMatch* w = OpenWithKey();
        TVornListBox* list = w->VornListBox;
        RecordingImageForm* image = RecordingImageForm::Open();
        image->SetCaption("Earlier picture");

        // An open image window follows a highlighted taxon that has an image...
        ClickRow(list, RowOf(list, 0));
        QCOMPARE(image->Shown, std::vector<std::string>({"QROB"}));
        QCOMPARE(image->Caption(), QString("Quercus robur"));
        ClickRow(list, RowOf(list, 5));
        QCOMPARE(image->Shown, std::vector<std::string>({"QROB", "acamp"}));
        QCOMPARE(image->Caption(), QString("Acer campestre"));
        // ...but not one with an empty image part, nor one without.
        ClickRow(list, RowOf(list, 1));
        QVERIFY(w->ImageButton->isEnabled());
        ClickRow(list, RowOf(list, 3));
        QCOMPARE(image->Shown.size(), size_t(2));
        QCOMPARE(image->Caption(), QString("Acer campestre"));

        // Pressing Image with "|" and nothing after it does nothing.
        ClickRow(list, RowOf(list, 1));
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        QCOMPARE(image->Shown.size(), size_t(2));

        // The caption follows the name mode.
        f->Main->Commononly1->trigger();
        ClickRow(list, RowOf(list, 0));
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        QCOMPARE(image->Shown, std::vector<std::string>({"QROB", "acamp", "QROB", "QROB"}));
        QCOMPARE(image->Caption(), QString("English oak"));
        QVERIFY(f->Ui.Messages.empty());
    }

    void nameModeRedrawsTheList() {
        TTaxMatch* w = OpenWithKey();
        QAbstractItemModel* model = w->VornListBox->model();
        f->Main->Bothnames1->trigger();
        QCOMPARE(model->data(model->index(0, 0)).toString(),
                 QString("> Quercus robur, English oak"));
        QCOMPARE(model->data(model->index(2, 0)).toString(), QString("> Betula pendula"));
        f->Main->Commononly1->trigger();
        QCOMPARE(model->data(model->index(2, 0)).toString(), QString("> (Betula pendula)"));
        QCOMPARE(Listed(w->VornListBox), std::vector<int>({0, 1, 2, 3, 4, 5}));
    }

    void unreadableTaxonFileEndsTheRebuild() {
        std::string des = f->Write(TreesKey());
        OpenKeyAccepted(des);
        // The taxon file loses all but its first two records after the key was opened.
        std::string tax = des.substr(0, des.size() - 4) + ".TAX";
        QVERIFY(::truncate(tax.c_str(), 80) == 0);

        f->Main->Matching1->trigger();
        TTaxMatch* w = TaxMatchWindow();
        QVERIFY(w);
        QCOMPARE(Listed(w->VornListBox), std::vector<int>({0, 1}));
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
        QCOMPARE(f->Ui.Messages[0].Kind, MessageKind::Error);
        QVERIFY2(f->Ui.Messages[0].Text.find("TREES.TAX") != std::string::npos,
                 f->Ui.Messages[0].Text.c_str());
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

VORN_QTEST_MAIN(TaxMatchTest)
#include "TaxMatchTest.moc"
