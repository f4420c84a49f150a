// The Character State History window: the order of first scoring, Delete, Load and Save
// of history list files, and what a failed save leaves behind.
#include <QtTest>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/platform/AtomicFile.h"
#include "core/session/Session.h"
#include "tests/kit/CharWindowHelpers.h"
#include "windows/states/HistoryWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

// Twelve states, so that the example list "+3, 7, -12" fits; taxa differ on each.
KeySpec TwelveStates() {
    KeySpec keySpec;
    keySpec.Name = "TWELVE";
    keySpec.Taxa = {"Alpha", "Beta", "Gamma"};
    for (int s = 1; s <= 12; ++s) {
        keySpec.States.push_back("State " + std::to_string(s));
        keySpec.Codes.push_back(s % 2 ? "+-?" : "-+*");
    }
    return keySpec;
}

}  // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    TCharHistory* Open() {
        QTest::mouseClick(f->Main->HistoryButton, Qt::LeftButton);
        return Windows().OpenWindow<TCharHistory>(WindowKind::CharHistory);
    }
    // Loads `bytes` as a history list file through the Load button.
    void Load(TCharHistory* w, const std::string& bytes) {
        std::string path = f->Dir.Path() + "LIST.HIS";
        WriteFile(path, bytes);
        f->Ui.Files = {path};
        Click(w->LoadButton);
    }
    static std::vector<int32_t> Listed(const TCharHistory* w) { return w->ListedStates(); }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() {
        SetWriteFault(nullptr);
        f.reset();
    }

    void keepsTheOrderOfFirstScoring() {
        f->OpenAccepted(f->Write(ShrubKey()));
        CurrentSession().ScoreState(6, RequestAbsent);
        CurrentSession().ScoreState(2, RequestPresent);
        TCharHistory* w = Open();  // opened late: the scored states in state order
        QCOMPARE(Listed(w), std::vector<int32_t>({2, 6}));

        CurrentSession().ScoreState(4, RequestPresent);
        CurrentSession().ScoreState(0, RequestPresent);
        CurrentSession().ScoreState(4, RequestAbsent);
        CurrentSession().ScoreState(4, RequestClear);  // still listed, at its first place, unmarked
        QCOMPARE(Listed(w), std::vector<int32_t>({2, 6, 4, 0}));
        QCOMPARE(Lines(w)[2], QString("   Flowers: scented"));

        // Delete (also by its access key while the list has the focus, although the
        // Desktop menu shares Alt+D) leaves the score; scoring again appends at the end.
        QApplication::setActiveWindow(f->Main);
        ClickRow(w, 1);
        w->VornListBox->setFocus();
        QTest::keyClick(w->VornListBox, Qt::Key_D, Qt::AltModifier);
        QCOMPARE(Listed(w), std::vector<int32_t>({2, 4, 0}));
        QCOMPARE(CurrentSession().StateScore(6), uint8_t(ScoreAbsent));
        CurrentSession().ScoreState(6, RequestClear);
        QCOMPARE(Listed(w), std::vector<int32_t>({2, 4, 0}));
        CurrentSession().ScoreState(6, RequestPresent);
        QCOMPARE(Listed(w), std::vector<int32_t>({2, 4, 0, 6}));
        Click(w->DeleteButton);  // nothing highlighted
        QCOMPARE(Listed(w).size(), size_t(4));

        // A state refused in an "Or" group still has its score and stays listed once.
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(2, RequestAbsent);
        CurrentSession().ToggleOrMode();
        QCOMPARE(Listed(w), std::vector<int32_t>({2, 4, 0, 6}));

        // Reset keeps the items with blank marks; closing the key empties the window, and
        // opening one does not fill it.
        QTest::mouseClick(f->Main->ResetButton, Qt::LeftButton);
        QCOMPARE(Listed(w), std::vector<int32_t>({2, 4, 0, 6}));
        QCOMPARE(Lines(w)[0], QString("   Leaves: palmate"));
        f->OpenAccepted(f->Write(ShrubKey()));
        QCOMPARE(Windows().OpenWindow<TCharHistory>(WindowKind::CharHistory), w);
        QVERIFY(Listed(w).empty());
    }

    void loadsAndSavesHistoryLists() {
        f->OpenAccepted(f->Write(TwelveStates()));
        TCharHistory* w = Open();
        CurrentSession().ScoreState(0, RequestPresent);
        Load(w, "+3\r\n 7\r\n-12\r\n");
        QCOMPARE(Listed(w), std::vector<int32_t>({0, 2, 6, 11}));
        QCOMPARE(CurrentSession().StateScore(2), uint8_t(ScorePresent));
        QCOMPARE(CurrentSession().StateScore(6), uint8_t(ScoreNone));
        QCOMPARE(CurrentSession().StateScore(11), uint8_t(ScoreAbsent));
        QCOMPARE(f->Ui.Dialogs.back().Title, std::string("Load History List"));

        // Twice: nothing new. Out-of-range numbers and other characters are skipped;
        // the last state counts; a line without a number ends the load with a message.
        Load(w, "+3\r\n 7\r\n-12\r\n");
        QCOMPARE(Listed(w).size(), size_t(4));
        Load(w, "+0\r\n+13\r\n--5\r\n*4\r\n 12\r\n+2 and the rest\r\n-\r\n+9\r\n");
        QCOMPARE(Listed(w), std::vector<int32_t>({0, 2, 6, 11, 1}));
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
        QCOMPARE(CurrentSession().StateScore(8), uint8_t(ScoreNone));
        f->Ui.Files = {};  // cancelled
        Click(w->LoadButton);
        QCOMPARE(Listed(w).size(), size_t(5));

        // Save writes the list as Load reads it; loaded into a fresh window it is the same.
        std::string saved = f->Dir.Path() + "SAVED.HIS";
        f->Ui.Files = {saved};
        Click(w->SaveButton);
        QCOMPARE(f->Ui.Dialogs.back().Title, std::string("Save History List"));
        QVERIFY(f->Ui.Dialogs.back().ConfirmOverwrite);
        QCOMPARE(ReadFile(saved), std::string("+1\r\n+3\r\n 7\r\n-12\r\n+2\r\n"));
        w->CloseForm();
        QTest::mouseClick(f->Main->ResetButton, Qt::LeftButton);
        TCharHistory* fresh = Open();
        f->Ui.Files = {saved};
        Click(fresh->LoadButton);
        QCOMPARE(Listed(fresh), std::vector<int32_t>({0, 2, 6, 11, 1}));
        QCOMPARE(CurrentSession().StateScore(1), uint8_t(ScorePresent));
    }

    void aListOfAnotherKeyIsAppliedInPartAndSaysSo() {
        f->OpenAccepted(f->Write(TwelveStates()));
        TCharHistory* w = Open();
        Load(w, "+3\r\n+40\r\n 7\r\n-0\r\n# a remark\r\n-12\r\n 13\r\n");
        QCOMPARE(Listed(w), std::vector<int32_t>({2, 6, 11}));
        QCOMPARE(CurrentSession().StateScore(11), uint8_t(ScoreAbsent));
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
        QCOMPARE(f->Ui.Messages[0].Kind, MessageKind::Information);
        QCOMPARE(QString::fromStdString(f->Ui.Messages[0].Text),
                 QString::fromStdString("3 lines of the history list \"" + f->Dir.Path() +
                                        "LIST.HIS\" were skipped: their state numbers are outside "
                                        "the 12 states of the key TWELVE.  The list may have been "
                                        "written for another key."));
        // A list that fits the key says nothing.
        Load(w, "+2\r\n");
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
    }

    void savingAddsTheExtensionAndRefusesAMissingFolder() {
        f->OpenAccepted(f->Write(TwelveStates()));
        TCharHistory* w = Open();
        CurrentSession().ScoreState(4, RequestPresent);
        // The dialog adds ".HIS" to a name typed without an extension, as Qt's does.
        f->Ui.Files = {f->Dir.Path() + "WALK"};
        Click(w->SaveButton);
        QCOMPARE(f->Ui.Dialogs.back().DefaultSuffix, std::string("HIS"));
        QCOMPARE(ReadFile(f->Dir.Path() + "WALK.HIS"), std::string("+5\r\n"));
        QVERIFY(!std::filesystem::exists(f->Dir.Path() + "WALK"));
        QVERIFY(f->Ui.Messages.empty());
        // Loading asks for no extension of its own.
        f->Ui.Files = {};
        Click(w->LoadButton);
        QCOMPARE(f->Ui.Dialogs.back().DefaultSuffix, std::string());

        // A folder that does not exist: a message naming it, and nothing written.
        std::string missing = f->Dir.Path() + "nowhere/";
        f->Ui.Files = {missing + "WALK"};
        Click(w->SaveButton);
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
        QVERIFY2(QString::fromStdString(f->Ui.Messages[0].Text)
                     .contains(QString::fromStdString(missing + "WALK.HIS")),
                 f->Ui.Messages[0].Text.c_str());
        QVERIFY(!std::filesystem::exists(missing));
    }

    void aFailedSaveKeepsTheOldFile() {
        f->OpenAccepted(f->Write(TwelveStates()));
        TCharHistory* w = Open();
        CurrentSession().ScoreState(3, RequestAbsent);
        std::string path = f->Dir.Path() + "OLD.HIS";
        WriteFile(path, "+1\r\n");

        SetWriteFault([](std::string_view step) { return step == "write" ? ENOSPC : 0; });
        f->Ui.Files = {path};
        Click(w->SaveButton);
        SetWriteFault(nullptr);
        QCOMPARE(ReadFile(path), std::string("+1\r\n"));
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
        QString message = QString::fromStdString(f->Ui.Messages[0].Text);
        QVERIFY2(message.contains("OLD.HIS") && message.contains(strerror(ENOSPC)),
                 qPrintable(message));

        // A folder of the chosen name is refused and stays a folder.
        std::string folder = f->Dir.Path() + "FOLDER.HIS";
        std::filesystem::create_directory(folder);
        f->Ui.Files = {folder};
        Click(w->SaveButton);
        QCOMPARE(f->Ui.Messages.size(), size_t(2));
        QVERIFY(std::filesystem::is_directory(folder));
    }

    // The History window and vorn-identify --save-history keep one list by two roads;
    // the same actions must give the same file.
    void theWindowAndTheCommandLineSaveTheSameList() {
        std::string des = f->Write(TwelveStates());
        f->OpenAccepted(des);
        TCharHistory* w = Open();
        std::string loaded = f->Dir.Path() + "IN.HIS";
        WriteFile(loaded, "-5\r\n 9\r\n+3\r\n");
        CurrentSession().ScoreState(6, RequestPresent);
        CurrentSession().ScoreState(1, RequestAbsent);
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(10, RequestPresent);
        CurrentSession().ScoreState(11, RequestAbsent);
        CurrentSession().ToggleOrMode();
        f->Ui.Files = {loaded};
        Click(w->LoadButton);
        CurrentSession().ScoreState(1, RequestToggle);  // absent -> cleared, still listed
        CurrentSession().ScoreState(2, RequestPresent);
        std::string fromWindow = f->Dir.Path() + "WINDOW.HIS";
        f->Ui.Files = {fromWindow};
        Click(w->SaveButton);

        std::string fromCommand = f->Dir.Path() + "COMMAND.HIS";
        std::string command = "'" VORN_IDENTIFY_BINARY "' '" + des + "' +7 -2 or +11 -12 or @" +
                              loaded + " ~2 +3 --save-history '" + fromCommand + "' > /dev/null";
        QCOMPARE(std::system(command.c_str()), 0);
        QVERIFY(!ReadFile(fromWindow).empty());
        QCOMPARE(ReadFile(fromCommand), ReadFile(fromWindow));
    }
};

VORN_QTEST_MAIN(HistoryWindowTest)
#include "HistoryWindowTest.moc"
