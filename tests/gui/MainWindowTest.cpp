// The main window: what its menus, shortcuts and toolbar do, display modes, the matching
// count and the key-dependent state, driven through the real menu items.
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include "core/session/DataPaths.h"
#include "core/session/Session.h"
#include "core/session/Settings.h"
#include "desktop/AboutBox.h"
#include "desktop/ManualWindow.h"
#include "frame/OpenDocument.h"
#include "tests/kit/GuiFixture.h"

using namespace vorn;
using vorn::testing::AcceptNextDialog;
using vorn::testing::AnswerNextDialog;
using vorn::testing::GuiFixture;
using vorn::testing::KeySpec;

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    QAction* Action(const char* name) {
        QAction* action = f->Main->findChild<QAction*>(name);
        if (!action) qFatal("no action %s", name);
        return action;
    }

    KeySpec SmallKey() {
        KeySpec keySpec;
        keySpec.Name = "OAKS";
        keySpec.TitleLines = {"Oaks of Europe"};
        keySpec.Taxa = {"Quercus robur", "Quercus ilex"};
        keySpec.States = {"Leaves: evergreen", "Leaves: deciduous"};
        keySpec.Codes = {"-+", "+-"};
        return keySpec;
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void everyMenuItemAndButtonOpensItsWindowOrDoesItsAction() {
        KeySpec keySpec = SmallKey();
        keySpec.Index = "1 20 2\r\nLeaves\r\n1\r\nLeaf type\r\n1 2\r\n";
        f->OpenAccepted(f->Write(keySpec));
        const std::pair<QObject*, WindowKind> shows[] = {
            {Action("Index1"), WindowKind::CharIndex},
            {Action("Score1"), WindowKind::CharScore},
            {Action("Active1"), WindowKind::CharActive},
            {Action("History1"), WindowKind::CharHistory},
            {Action("Differentiating1"), WindowKind::CharDiff},
            {Action("Matching1"), WindowKind::TaxMatch},
            {Action("Showmismatches1"), WindowKind::TaxMismatch},
            {f->Main->IndexButton, WindowKind::CharIndex},
            {f->Main->ScoreButton, WindowKind::CharScore},
            {f->Main->ActiveButton, WindowKind::CharActive},
            {f->Main->HistoryButton, WindowKind::CharHistory},
            {f->Main->DiffButton, WindowKind::CharDiff},
            {f->Main->BestButton, WindowKind::CharBest},
            {f->Main->MatchButton, WindowKind::TaxMatch},
            {f->Main->MismatchButton, WindowKind::TaxMismatch},
        };
        for (auto [control, kind] : shows) {
            Windows().CloseAllWindows();
            if (auto* button = qobject_cast<QPushButton*>(control)) {
                QTest::mouseClick(button, Qt::LeftButton);
            } else {
                qobject_cast<QAction*>(control)->trigger();
            }
            QVERIFY2(Windows().IsOpen(kind), qPrintable(control->objectName()));
        }

        // The layouts open their windows; Close all windows closes them.
        Windows().CloseAllWindows();
        Action("Scorewithactive1")->trigger();
        QVERIFY(Windows().IsOpen(WindowKind::TaxMatch) && Windows().IsOpen(WindowKind::CharScore) &&
                Windows().IsOpen(WindowKind::CharActive));
        Action("Scorewithhistory1")->trigger();
        QVERIFY(Windows().IsOpen(WindowKind::CharHistory));
        Action("Closeallwindows1")->trigger();
        QVERIFY(f->Main->MdiArea->subWindowList().isEmpty());
        Action("Scorestates1")->trigger();
        QVERIFY(Windows().IsOpen(WindowKind::TaxMatch) && Windows().IsOpen(WindowKind::CharScore));

        // Reset, from the menu and the button, unscores; Close closes the key.
        CurrentSession().ScoreState(0, RequestPresent);
        Action("Reset1")->trigger();
        QCOMPARE(CurrentSession().StateScore(0), uint8_t(ScoreNone));
        CurrentSession().ScoreState(0, RequestPresent);
        QTest::mouseClick(f->Main->ResetButton, Qt::LeftButton);
        QCOMPARE(CurrentSession().StateScore(0), uint8_t(ScoreNone));
        Action("Close1")->trigger();
        QVERIFY(!CurrentSession().Key.KeyOpen);
        QVERIFY(!Action("Index1")->isEnabled());
    }

    void functionKeysRunTheirCommandsAndF10Nothing() {
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
        // An installation that has lost its manual apologises (the manual: ManualTest).
        DataPaths shipped = CurrentSession().Data;
        CurrentSession().Data = DataPathsFor(f->Dir.Path() + "bin/vorn");
        QTest::keyClick(f->Main, Qt::Key_F1);
        CurrentSession().Data = shipped;
        QCOMPARE(f->Ui.Texts(),
                 std::vector<std::string>{"Apologies!  I have not yet completed the help files."});
        QVERIFY(!f->Main->Manual);
        QTest::keyClick(f->Main, Qt::Key_F8);
        QVERIFY(CurrentSession().CountMode);
        QVERIFY(Action("Counttoggle1")->isChecked());
        QTest::keyClick(f->Main, Qt::Key_F9);
        QVERIFY(CurrentSession().NumberMode);
        QTest::keyClick(f->Main, Qt::Key_F12);
        QCOMPARE(CurrentSession().NameMode, CommonNames);
        QTest::keyClick(f->Main, Qt::Key_F11);
        QCOMPARE(CurrentSession().NameMode, ScientificNames);
        QTest::keyClick(f->Main, Qt::Key_F10);
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
        QVERIFY(CurrentSession().CountMode && CurrentSession().NumberMode);
        QCOMPARE(CurrentSession().NameMode, ScientificNames);
    }

    void cascadeStaggersTheWindowsAndCutsOffNoContent() {
        KeySpec keySpec = SmallKey();
        keySpec.Index = "1 20 2\r\nLeaves\r\n1\r\nLeaf type\r\n1 2\r\n";
        f->OpenAccepted(f->Write(keySpec));
        Action("Scorewithhistory1")->trigger();
        TChildForm* history = Windows().OpenForm(WindowKind::CharHistory);
        TChildForm* score = Windows().OpenForm(WindowKind::CharScore);
        QMdiArea* area = f->Main->MdiArea;
        history->SetBounds(300, 300, 90, 50);  // made too small to show its buttons
        score->SetBounds(0, 0, area->viewport()->width(), area->viewport()->height());
        QMdiSubWindow* index = Windows().OpenForm(WindowKind::CharIndex)->SubWindow();
        QSize indexSize = index->size();
        QMdiSubWindow* active = score->SubWindow();
        area->setActiveSubWindow(active);

        Action("Cascadewindows1")->trigger();
        QList<QMdiSubWindow*> stack = area->subWindowList(QMdiArea::StackingOrder);
        QCOMPARE(stack.size(), 4);
        QCOMPARE(stack.first()->pos(), QPoint(0, 0));
        int step = stack[1]->y();
        QVERIFY(step >= 16);
        for (int i = 0; i < stack.size(); ++i)
            QCOMPARE(stack[i]->pos(), QPoint(i * step, i * step));
        QCOMPARE(area->activeSubWindow(), active);
        QCOMPARE(index->size(), indexSize);
        // Every window shows all of its buttons and lines of its list, and none reaches
        // past the area.
        for (QMdiSubWindow* sub : stack) {
            QWidget* form = sub->widget();
            for (QPushButton* button : form->findChildren<QPushButton*>()) {
                QRect shown(button->mapTo(form, QPoint(0, 0)), button->size());
                QVERIFY2(form->rect().contains(shown),
                         qPrintable(sub->windowTitle() + ": " + button->text()));
            }
            if (auto* list = form->findChild<QListView*>()) {
                QVERIFY2(list->viewport()->height() >= 3 * list->fontMetrics().lineSpacing(),
                         qPrintable(sub->windowTitle()));
            }
            if (sub != index) {
                QVERIFY2(sub->geometry().bottom() < area->viewport()->height() &&
                             sub->geometry().right() < area->viewport()->width(),
                         qPrintable(sub->windowTitle()));
            }
        }
        // What was larger than its new place was shrunk into it, and no more.
        QCOMPARE(score->SubWindow()->geometry().bottom(), area->viewport()->height() - 1);
        QCOMPARE(Windows().OpenForm(WindowKind::TaxMatch)->Bounds().width(),
                 f->Main->LeftPaneWidth);
    }

    void modeItemsToggleAndOneNameItemIsChecked() {
        Action("Counttoggle1")->trigger();
        Action("Counttoggle1")->trigger();
        QVERIFY(!CurrentSession().CountMode);
        QVERIFY(!Action("Counttoggle1")->isChecked());
        for (const char* name : {"Commononly1", "Bothnames1", "Bothnames1", "Scientificonly1"}) {
            Action(name)->trigger();
            int checked = 0;
            for (const char* item : {"Scientificonly1", "Commononly1", "Bothnames1"}) {
                checked += Action(item)->isChecked();
            }
            QCOMPARE(checked, 1);
            QVERIFY(Action(name)->isChecked());
        }
        QCOMPARE(CurrentSession().NameMode, ScientificNames);
    }

    void keyDependentStateFollowsOpeningAndClosing() {
        KeySpec keySpec = SmallKey();
        QCOMPARE(f->Main->windowTitle(), QString("VORN"));
        QVERIFY(f->Main->MatchingCount->isHidden());
        f->OpenAccepted(f->Write(keySpec));
        QVERIFY(CurrentSession().Key.KeyOpen);
        QCOMPARE(f->Main->windowTitle(), QString("VORN - OAKS"));
        QVERIFY(!f->Main->MatchingCount->isHidden());
        QCOMPARE(f->Main->MatchingCount->text(), QString("2 Taxa Match"));
        QCOMPARE(Action("Aboutkey1")->text(), QString("About the OAKS &key"));
        QVERIFY(Action("Aboutkey1")->isEnabled());
        QVERIFY(!Action("Index1")->isEnabled());  // no index file
        QVERIFY(!f->Main->IndexButton->isEnabled());

        CurrentSession().ScoreState(0, RequestPresent);
        QCOMPARE(f->Main->MatchingCount->text(), QString("1 Taxon Matches"));
        CurrentSession().ScoreState(1, RequestPresent);
        QCOMPARE(f->Main->MatchingCount->text(), QString("0 Taxa Match"));

        Action("Close1")->trigger();
        QCOMPARE(f->Main->windowTitle(), QString("VORN"));
        QVERIFY(f->Main->MatchingCount->isHidden());
        QCOMPARE(f->Main->MatchingCount->text(), QString());
        QCOMPARE(Action("Aboutkey1")->text(), QString("About the &key"));
        QVERIFY(!Action("Aboutkey1")->isEnabled());

        keySpec.Index = "1 20 2\r\nHeading\r\n1\r\nEntry\r\n1 2\r\n";
        f->OpenAccepted(f->Write(keySpec));
        QVERIFY(Action("Index1")->isEnabled());
        QVERIFY(f->Main->IndexButton->isEnabled());
        // A failed opening leaves no index offered.
        OpenKey(CurrentSession(), f->Dir.Path() + "missing/OAKS.DES");
        QVERIFY(!CurrentSession().Key.KeyOpen);
        QVERIFY(!Action("Index1")->isEnabled());
    }

    void openKeyAsksTheDialogAndCancelDoesNothing() {
        // A first start: no working directory yet, so the dialog starts on the sample keys.
        CurrentSession().WorkDir.clear();
        CurrentSession().InitialWorkDir.clear();
        std::string current = CurrentDirectory();
        f->Ui.Files.push_back(std::nullopt);
        Action("Openkey1")->trigger();
        QCOMPARE(f->Ui.Dialogs.size(), size_t(1));
        QCOMPARE(f->Ui.Dialogs[0].Title, std::string("Open Key"));
        QCOMPARE(f->Ui.Dialogs[0].Filter, std::string("VORN keys (*.des)"));
        QVERIFY(f->Ui.Dialogs[0].MustExist);
        QVERIFY(
            QFileInfo::exists(QString::fromStdString(f->Ui.Dialogs[0].StartFolder + "TREES.DES")));
        QVERIFY(!CurrentSession().Key.KeyOpen);
        QCOMPARE(CurrentDirectory(), current);

        f->Ui.Files.push_back(f->Write(SmallKey()));
        AcceptNextDialog();
        Action("Openkey1")->trigger();
        QVERIFY(CurrentSession().Key.KeyOpen);
        QCOMPARE(CurrentSession().KeyHistory[0], f->Dir.Path() + "OAKS.DES");

        // Once a key was opened, or the settings named a working directory, the dialog
        // starts in the current directory.
        Action("Openkey1")->trigger();
        CurrentSession().WorkDir.clear();
        CurrentSession().InitialWorkDir = f->Dir.Path();
        Action("Openkey1")->trigger();
        QCOMPARE(f->Ui.Dialogs.size(), size_t(4));
        QCOMPARE(f->Ui.Dialogs[2].StartFolder, std::string());
        QCOMPARE(f->Ui.Dialogs[3].StartFolder, std::string());
    }

    void theDesktopDialogStartsInTheFolderAsked() {
        CurrentSession().WorkDir.clear();
        CurrentSession().InitialWorkDir.clear();
        QtUserInterface qt;
        UserInterface* scripted = SetUserInterface(&qt);
        QString shown;
        AnswerNextDialog([&](QDialog* dialog) {
            shown = qobject_cast<QFileDialog*>(dialog)->directory().canonicalPath();
            dialog->reject();
        });
        Action("Openkey1")->trigger();
        SetUserInterface(scripted);
        QCOMPARE(
            shown,
            QDir(QString::fromStdString(SampleKeysFolder(CurrentSession().Data))).canonicalPath());
    }

    void messagesShowTextFromFilesAsWritten() {
        QtUserInterface qt;
        QString text;
        Qt::TextFormat format = Qt::RichText;
        AnswerNextDialog([&](QDialog* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            QVERIFY(box);
            text = box->text();
            format = box->textFormat();
            box->accept();
        });
        qt.ShowMessage(MessageKind::Error, "Not found: <i>Quercus</i> &lt; b");
        QCOMPARE(text, QString("Not found: <i>Quercus</i> &lt; b"));
        QCOMPARE(format, Qt::PlainText);
    }

    void theFileDialogsLeaveNoSettingsFileOfTheirOwn() {
        const QString config =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QFileInfo before(config + "/QtProject.conf");
        QtUserInterface qt;
        UserInterface* scripted = SetUserInterface(&qt);
        AnswerNextDialog([](QDialog* dialog) { dialog->reject(); });
        Action("Openkey1")->trigger();
        SetUserInterface(scripted);
        // Where the dialogs would keep their folders: nowhere a file can be made.
        QVERIFY(!QSettings(QSettings::UserScope, "QtProject").fileName().startsWith(config));
        QFileInfo after(config + "/QtProject.conf");
        QCOMPARE(after.exists(), before.exists());
        if (after.exists()) QCOMPARE(after.lastModified(), before.lastModified());
    }

    void theOpenKeyDialogFindsKeysInAnyLetterCase() {
        CurrentSession().WorkDir = f->Dir.Path();  // keys were opened here before
        f->Write(SmallKey());
        testing::WriteFile(f->Dir.Path() + "lower.des", "");
        testing::WriteFile(f->Dir.Path() + "notes.txt", "");
        ChangeToDirectory(f->Dir.Path());
        QtUserInterface qt;
        UserInterface* scripted = SetUserInterface(&qt);
        QStringList shown;
        QString title;
        AnswerNextDialog([&](QDialog* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            QVERIFY(files);
            title = files->windowTitle();
            QVERIFY(!(files->filter() & QDir::CaseSensitive));
            QCOMPARE(files->fileMode(), QFileDialog::ExistingFile);
            auto* view = files->findChild<QListView*>("listView");
            QVERIFY(view);
            QTRY_VERIFY(view->model()->rowCount(view->rootIndex()) > 0);
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
                shown << view->model()->index(row, 0, view->rootIndex()).data().toString();
            }
            files->reject();
        });
        Action("Openkey1")->trigger();
        SetUserInterface(scripted);
        QCOMPARE(title, QString("Open Key"));
        shown.sort();
        QCOMPARE(shown, QStringList({"OAKS.DES", "lower.des"}));
        QVERIFY(!CurrentSession().Key.KeyOpen);
    }

    void webItemsOpenTheShippedPagesThroughTheDesktop() {
        std::vector<QUrl> opened;
        DesktopOpener = [&](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        Action("HomePage1")->trigger();
        Action("KeysPage1")->trigger();
        DesktopOpener = nullptr;
        QCOMPARE(opened.size(), size_t(2));
        QVERIFY(opened[0].isLocalFile());
        QVERIFY(QFileInfo::exists(opened[0].toLocalFile()));
        QVERIFY(opened[1].toLocalFile().endsWith("/keys/index.html"));
        QVERIFY(QFileInfo::exists(opened[1].toLocalFile()));
        QVERIFY(f->Ui.Messages.empty());
    }

    void aPageTheDesktopRefusesIsToldWithItsFolder() {
        int asked = 0;
        DesktopOpener = [&](const QUrl&) {
            ++asked;
            return false;  // no browser installed
        };
        Action("HomePage1")->trigger();
        DesktopOpener = nullptr;
        QCOMPARE(asked, 1);
        QCOMPARE(f->MessageTexts().size(), 1);
        QString text = f->MessageTexts()[0];
        QString folder = QString::fromStdString(CurrentSession().Data.Pages);
        folder.chop(1);
        QVERIFY2(text.startsWith("No program could open the file \"index.html\".  It is in the "
                                 "folder\n" +
                                 folder + "\n"),
                 qPrintable(text));
    }

    void aMissingPageIsToldWithTheFileLookedFor() {
        DataPaths shipped = CurrentSession().Data;
        CurrentSession().Data = DataPathsFor(f->Dir.Path() + "bin/vorn");
        int asked = 0;
        DesktopOpener = [&](const QUrl&) {
            ++asked;
            return true;
        };
        Action("KeysPage1")->trigger();
        DesktopOpener = nullptr;
        CurrentSession().Data = shipped;
        QCOMPARE(asked, 0);
        QCOMPARE(f->MessageTexts().size(), 1);
        QVERIFY2(f->MessageTexts()[0].contains(QString::fromStdString(f->Dir.Path()) +
                                               "share/vorn/docs/keys/index.html is missing"),
                 qPrintable(f->MessageTexts()[0]));
    }

    void openDocumentTrimsAndAsksNothingForAnEmptyTarget() {
        int asked = 0;
        DesktopOpener = [&](const QUrl& url) {
            ++asked;
            return url.scheme() == "https";
        };
        QVERIFY(!OpenDocument(""));
        QVERIFY(!OpenDocument(" \t\r\n\x01 "));
        QCOMPARE(asked, 0);
        QVERIFY(OpenDocument(" https://example.org/keys/ "));
        QVERIFY(!OpenDocument("nosuchscheme://x"));
        QCOMPARE(asked, 2);
        QVERIFY(f->Ui.Messages.empty());
        // The form that tells the user of a refusal.
        QVERIFY(ShowAddressOnDesktop("https://example.org/"));
        QVERIFY(!ShowAddressOnDesktop("nosuchscheme://x"));
        QCOMPARE(f->MessageTexts(),
                 QStringList({"No program could open the address \"nosuchscheme://x\"."}));
        DesktopOpener = nullptr;
    }

    void aboutBoxStandsOverTheMainWindow() {
        QCOMPARE(TAboutBox::Position(QSize(1200, 800), 45, QSize(488, 325)), QPoint(356, 295));
        // Division rounds toward zero, also below zero for a small main window.
        QCOMPARE(TAboutBox::Position(QSize(300, 200), 45, QSize(488, 325)), QPoint(-94, -5));
        AnswerNextDialog([this](QDialog* box) {
            QCOMPARE(box->objectName(), QString("AboutBox"));
            QCOMPARE(box->size(), QSize(488, 325));
            QCOMPARE(box->pos(), TAboutBox::Position(f->Main->ClientSize(), 45, QSize(488, 325)));
            for (const char* picture : {"VornIcon", "Image1", "Image2"}) {
                auto* label = box->findChild<QLabel*>(picture);
                QVERIFY2(label && !label->pixmap().isNull(), picture);
            }
            auto* ok = box->findChild<QPushButton*>("OKButton");
            QVERIFY(ok);
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        Action("About1")->trigger();
        QVERIFY(!QApplication::activeModalWidget());
    }
};

VORN_QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
