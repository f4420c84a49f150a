// Opening keys on the desktop: the title page, declining it, the key history menu, and
// the messages of every failed opening as the user sees them.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "core/key/TitlePage.h"
#include "tests/kit/GuiFixture.h"
#include "windows/TitlePageDialog.h"

using namespace vorn;
using vorn::testing::AcceptNextDialog;
using vorn::testing::AnswerNextDialog;
using vorn::testing::GuiFixture;
using vorn::testing::KeySpec;

class KeyOpeningTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    KeySpec Key(const std::string& name, std::vector<std::string> title) {
        KeySpec keySpec;
        keySpec.Name = name;
        keySpec.TitleLines = std::move(title);
        keySpec.Taxa = {"Alnus glutinosa", "Betula pendula"};
        keySpec.States = {"Bark: white", "Bark: dark"};
        keySpec.Codes = {"-+", "+-"};
        return keySpec;
    }

    // Opens the key and looks at its title page before answering it.
    void OpenAndLook(const std::string& path, std::function<void(TKeyTitle*)> look,
                     bool accept = true) {
        AnswerNextDialog([look, accept](QDialog* dialog) {
            auto* title = qobject_cast<TKeyTitle*>(dialog);
            QVERIFY(title);
            look(title);
            if (accept) {
                QTest::mouseClick(title->BitBtn3, Qt::LeftButton);
            } else {
                title->close();  // the close box
            }
        });
        OpenKey(CurrentSession(), path);
    }

    QAction* Action(const char* name) { return f->Main->findChild<QAction*>(name); }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void titlePageTrimsCentresAndMarksTheCopyright() {
        std::vector<std::string> lines = {"   Trees of Europe   ", "\x03Second line",
                                          "  (c) 2026 (c) VORN  ", "(C) stays", ""};
        QStringList shown;
        QList<QRect> places;
        QString caption;
        int pitch = 0;
        OpenAndLook(f->Write(Key("TREES", lines)), [&](TKeyTitle* title) {
            caption = title->windowTitle();
            pitch = title->Pitch;
            for (QLabel* label : title->Lines) {
                shown << label->text();
                places << label->geometry();
                QVERIFY(label->alignment() & Qt::AlignHCenter);
            }
            QCOMPARE(title->Panel1->geometry(), QRect(5, 8, 714, 431));
            QCOMPARE(title->BitBtn3->geometry(), QRect(317, 451, 89, 40));
            QVERIFY(title->windowState() & Qt::WindowMaximized);
            // The block of panel and button sits in the middle of the maximized dialog,
            // whatever its size; in a dialog smaller than the block its corner stays in view.
            for (QSize size : {QSize(1600, 1000), QSize(1001, 700), QSize(600, 400)}) {
                title->setWindowState(Qt::WindowNoState);
                title->resize(size);
                QCOMPARE(title->size(), size);
                QRect block = title->Content->geometry();
                QCOMPARE(block.size(), QSize(723, 499));
                QCOMPARE(block.topLeft(), QPoint(std::max(0, (size.width() - 723) / 2),
                                                 std::max(0, (size.height() - 499) / 2)));
            }
            title->resize(1600, 1000);
            QRect panel(title->Panel1->mapTo(title, QPoint(0, 0)), title->Panel1->size());
            QCOMPARE(panel, QRect(438 + 5, 250 + 8, 714, 431));
        });
        QCOMPARE(caption, QString("TREES KEY"));
        QCOMPARE(shown, QStringList({"Trees of Europe", "Second line",
                                     QString::fromUtf8("\u00A9 2026 (c) VORN"), "(C) stays", ""}));
        QCOMPARE(pitch, 18);
        int top = (431 - 5 * 18) / 2;
        for (int i = 0; i < places.size(); ++i) {
            QCOMPARE(places[i], QRect(4, top + 18 * i, 714 - 8, 20));
        }
        QVERIFY(CurrentSession().Key.KeyOpen);
        QCOMPARE(CurrentSession().KeyHistory[0], f->Dir.Path() + "TREES.DES");
    }

    void pitchShrinksForLongTitlePages() {
        const std::pair<int, int> cases[] = {{0, 18}, {23, 18}, {24, 17}, {30, 14}, {421, 1}};
        for (auto [count, expected] : cases) {
            std::vector<std::string> lines(static_cast<size_t>(count), "line");
            int pitch = -1, labels = -1;
            OpenAndLook(f->Write(Key("LONG", lines)), [&](TKeyTitle* title) {
                pitch = title->Pitch;
                labels = static_cast<int>(title->Lines.size());
            });
            QCOMPARE(pitch, expected);
            QCOMPARE(labels, count);
        }
        // A title page far beyond what fits shows its first lines only, without hanging.
        std::vector<std::string> huge(100000, "line");
        int labels = -1;
        OpenAndLook(f->Write(Key("HUGE", huge)),
                    [&](TKeyTitle* title) { labels = static_cast<int>(title->Lines.size()); });
        QCOMPARE(labels, kMaxTitleLines);
    }

    void decliningTheTitlePageClosesTheKeyAndKeepsTheHistory() {
        CurrentSession().KeyHistory = {"/elsewhere/OLD.DES", "", "", "", "", ""};
        OpenAndLook(
            f->Write(Key("ALDER", {"Alders"})), [](TKeyTitle*) {}, false);
        QVERIFY(!CurrentSession().Key.KeyOpen);
        QCOMPARE(f->Main->windowTitle(), QString("VORN"));
        QCOMPARE(CurrentSession().KeyHistory[0], std::string("/elsewhere/OLD.DES"));
        QCOMPARE(CurrentSession().KeyHistory[1], std::string());
    }

    void aboutTheKeyShowsTheTitleAgainAndDecliningClosesTheKey() {
        f->OpenAccepted(f->Write(Key("ALDER", {"Alders"})));
        AcceptNextDialog();
        Action("Aboutkey1")->trigger();
        QVERIFY(CurrentSession().Key.KeyOpen);
        AnswerNextDialog([](QDialog* d) { d->reject(); });
        Action("Aboutkey1")->trigger();
        QVERIFY(!CurrentSession().Key.KeyOpen);
        QVERIFY(!Action("Aboutkey1")->isEnabled());
    }

    void historyMenuListsOtherKeysNumberedWithoutGaps() {
        std::string here = CurrentDirectory();
        CurrentSession().KeyHistory = {};
        BuildAndCheck({}, false);

        std::string alder = f->Write(Key("ALDER", {"Alders"}));
        std::string birch = f->Write(Key("BIRCH", {"Birches"}));
        CurrentSession().KeyHistory = {"/far/away/OAK.DES", "", "", "", "", ""};
        f->OpenAccepted(birch);
        f->OpenAccepted(alder);
        QCOMPARE(CurrentSession().KeyHistory[0], alder);
        QCOMPARE(CurrentSession().KeyHistory[1], birch);
        // The open key is left out; the rest are named relative to its directory.
        BuildAndCheck({"", "&1  BIRCH.DES", "&2  /far/away/OAK.DES"}, true);
        CloseKey(CurrentSession());
        BuildAndCheck({"&1  ALDER.DES", "&2  BIRCH.DES", "&3  /far/away/OAK.DES"}, true);

        // Item 1 opens entry 1; a key that has gone leaves the history with a message.
        AcceptNextDialog();
        f->Main->KeyHistoryItems[1]->trigger();
        QCOMPARE(QString::fromStdString(CurrentSession().Key.KeyName), QString("BIRCH"));
        QCOMPARE(CurrentSession().KeyHistory[0], birch);
        f->Main->KeyHistoryItems[2]->trigger();
        QCOMPARE(f->Ui.Texts().back(),
                 std::string("Sorry, the directory \"/far/away/\" does not exist."));
        QCOMPARE(CurrentSession().KeyHistory[2], std::string());
        ChangeToDirectory(here);
    }

    void aMissingFileIsNamedAndItsEntryLeavesTheHistory() {
        std::string path = f->Write(Key("ASH", {"Ashes"}));
        std::remove((f->Dir.Path() + "ASH.DAT").c_str());
        CurrentSession().KeyHistory = {path, "", "", "", "", ""};
        f->Main->KeyHistoryItems[0]->trigger();
        QCOMPARE(f->Ui.Texts(),
                 std::vector<std::string>{
                     "Sorry, one or more of the VORN files needed for the ASH key could not be "
                     "found in the subdirectory " +
                     f->Dir.Path() + ".  Not found:  ASH.DAT."});
        QCOMPARE(CurrentSession().KeyHistory[0], std::string());
        QVERIFY(!CurrentSession().Key.KeyOpen);
    }

    void aDamagedKeyFileIsReportedAndNoKeyIsOpen() {
        std::string path = f->Write(Key("ASH", {"Ashes"}));
        testing::WriteFile(f->Dir.Path() + "ASH.TAX", "short");
        f->Ui.Files.push_back(path);
        f->Main->Openkey1->trigger();
        QCOMPARE(f->Ui.Texts(),
                 std::vector<std::string>{
                     "Cannot read \"ASH.TAX\": the file is shorter than one taxon record."});
        QCOMPARE(f->Ui.Messages[0].Kind, MessageKind::Error);
        QVERIFY(!CurrentSession().Key.KeyOpen);
        QCOMPARE(f->Main->windowTitle(), QString("VORN"));
    }

private:
    void BuildAndCheck(const std::vector<const char*>& captions, bool line) {
        f->Main->BuildKeyHistoryMenu();
        QCOMPARE(f->Main->KeyHistoryLine->isVisible(), line);
        for (size_t i = 0; i < 6; ++i) {
            QAction* item = f->Main->KeyHistoryItems[i];
            bool shown = i < captions.size() && *captions[i];
            QCOMPARE(item->isVisible(), shown);
            if (shown) QCOMPARE(item->text(), QString(captions[i]));
        }
    }
};

VORN_QTEST_MAIN(KeyOpeningTest)
#include "KeyOpeningTest.moc"
