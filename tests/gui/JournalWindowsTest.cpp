// Nothing lost, as a user meets it: the journal follows the identification and goes when
// it ends normally; the next start offers an identification that did not end normally,
// and restores it or keeps it aside; a journal that cannot be written is told once; and
// the settings are written when they change, not only at a clean exit.
#include <QLabel>
#include <QtTest>
#include <filesystem>

#include "core/platform/JournalFile.h"
#include "core/session/Journal.h"
#include "core/session/Session.h"
#include "core/session/Settings.h"
#include "tests/kit/CharWindowHelpers.h"
#include "tests/kit/TaxaWindows.h"

using namespace vorn;
using namespace vorn::testing;

class JournalWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    std::string StateFolderOfFixture() const { return f->Dir.Path() + "state/"; }
    std::string JournalOfFixture() const { return f->Main->Journal().File().Path(); }

    // A journal left by a VORN that was killed while identifying with `des`: written by a
    // session of its own, its lock let go.
    std::string LeaveOrphan(const std::string& des, const std::vector<std::string>& actions) {
        Session killed;
        OpenKey(killed, des);
        for (const std::string& action : actions) {
            if (action == "or") {
                killed.ToggleOrMode();
            } else {
                killed.ScoreState(std::stoi(action.substr(1)) - 1,
                                  action[0] == '+' ? RequestPresent : RequestAbsent);
            }
        }
        JournalFile journal;
        journal.Open(StateFolderOfFixture());
        journal.Write(JournalText(killed, "2026-12-09 14:05"));
        return journal.Path();
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void theJournalFollowsTheIdentificationAndGoesWhenItEnds() {
        f->OpenAccepted(f->Write(ShrubKey()));
        QCOMPARE(JournalOfFixture(), std::string());  // nothing scored, nothing kept
        CurrentSession().ScoreState(3, RequestPresent);
        std::string journal = JournalOfFixture();
        QVERIFY(std::filesystem::exists(journal));
        JournalInfo info = ReadJournal(journal);
        QCOMPARE(info.Problem, std::string());
        QCOMPARE(info.Scored, 1);
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(0, RequestAbsent);
        QCOMPARE(ReadJournal(journal).Scored, 2);
        f->Main->ToleranceItems[2]->trigger();
        QCOMPARE(ReadJournal(journal).Tolerance, 2);
        // Undo takes the journal back too; closing the key ends the identification.
        f->Main->Undo1->trigger();
        QCOMPARE(ReadJournal(journal).Scored, 1);
        f->Main->Close1->trigger();
        QVERIFY(!std::filesystem::exists(journal));
        // A normal end leaves no journal and no lock.
        f->OpenAccepted(f->Write(ShrubKey()));
        CurrentSession().ScoreState(3, RequestPresent);
        f->Main->close();
        QVERIFY(std::filesystem::is_empty(StateFolderOfFixture()));
    }

    void aStartOffersTheIdentificationOfAVornThatWasKilled() {
        std::string des = f->Write(ShrubKey());
        std::string orphan = LeaveOrphan(des, {"+4", "or", "+1", "+6", "or"});
        f->Ui.Answers = {true};
        QPointer<QTimer> poll = AcceptNextDialog();
        QVERIFY(f->Main->Journal().OfferRestore());
        if (poll) poll->deleteLater();
        QCOMPARE(f->Ui.Questions.size(), size_t(1));
        QCOMPARE(f->Ui.Questions[0].Text,
                 std::string("VORN did not close normally while identifying with SHRUBS (3 states "
                             "scored, 2026-12-09 14:05).  Restore that identification?"));
        QCOMPARE(CurrentSession().OpenKeyPath, des);
        QCOMPARE(f->Main->MatchingCount->text(), QString("2 Taxa Match"));
        QCOMPARE(CurrentSession().OpenEngine()->ClosedGroups().size(), size_t(1));
        // The orphan is taken over: this program's journal holds the identification now.
        QVERIFY(!std::filesystem::exists(orphan));
        QCOMPARE(ReadJournal(JournalOfFixture()).Scored, 3);
        // Restored as one step.
        QCOMPARE(f->Main->Undo1->text(), QString("&Undo Load History List"));
        f->Main->Undo1->trigger();
        QCOMPARE(f->Main->MatchingCount->text(), QString("6 Taxa Match"));
    }

    void noKeepsItAsideAndAChangedKeyIsNotRestored() {
        std::string des = f->Write(ShrubKey());
        std::string orphan = LeaveOrphan(des, {"+4"});
        f->Ui.Answers = {false};
        QVERIFY(!f->Main->Journal().OfferRestore());
        QVERIFY(!CurrentSession().Key.KeyOpen);
        std::string aside = JournalFile::Aside(StateFolderOfFixture());
        QVERIFY(!aside.empty());
        QVERIFY(JournalFile::Orphans(StateFolderOfFixture()).empty());  // asked once

        // Yes, but the key's files changed since: told, with where the journal is kept.
        LeaveOrphan(des, {"+4", "-7"});
        std::filesystem::last_write_time(
            f->Dir.Path() + "SHRUBS.DAT",
            std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
        f->Ui.Answers = {true};
        QVERIFY(!f->Main->Journal().OfferRestore());
        QVERIFY(!CurrentSession().Key.KeyOpen);
        QCOMPARE(f->Ui.Texts().back(),
                 "The identification with SHRUBS cannot be restored: the key's file " +
                     f->Dir.Path() + "SHRUBS.DAT has changed since.  It is kept in " + aside +
                     ", a history list you can load by hand.");
        QCOMPARE(ReadJournal(aside).Scored, 2);  // the newer journal, alone

        // A journal cut short is refused whole, never applied in part.
        std::string cut = LeaveOrphan(des, {"+4"});
        std::string text = ReadFile(cut);
        WriteFile(cut, text.substr(0, text.size() - 5));
        size_t asked = f->Ui.Questions.size();
        QVERIFY(!f->Main->Journal().OfferRestore());
        QCOMPARE(f->Ui.Questions.size(), asked);
        QCOMPARE(f->Ui.Texts().back(),
                 "VORN found the journal of an identification that it did not close normally, "
                 "but cannot use it: it is cut short or damaged.  It is kept in " +
                     aside + ".");
        // A normal end takes the journal kept aside with it.
        f->Main->close();
        QCOMPARE(JournalFile::Aside(StateFolderOfFixture()), std::string());
    }

    void aJournalThatCannotBeWrittenIsToldOnce() {
        f->OpenAccepted(f->Write(ShrubKey()));
        JournalFile::SetWriteFault(
            [](std::string_view step) { return step == "write" ? ENOSPC : 0; });
        CurrentSession().ScoreState(3, RequestPresent);
        CurrentSession().ScoreState(0, RequestPresent);
        JournalFile::SetWriteFault(nullptr);
        QCOMPARE(f->Ui.Texts().size(), size_t(1));
        QVERIFY(QString::fromStdString(f->Ui.Texts()[0])
                    .startsWith("VORN cannot keep the journal that restores this identification"));
        QVERIFY(f->Ui.Texts()[0].find("No space left on device") != std::string::npos);
        QCOMPARE(f->Main->MatchingCount->text(), QString("1 Taxon Matches"));
        // Once the disk has room again, the journal follows.
        CurrentSession().ScoreState(5, RequestPresent);
        QCOMPARE(ReadJournal(JournalOfFixture()).Scored, 3);
    }

    // A VORN killed after it opened a key and changed a mode keeps them for its next start.
    void settingsAreWrittenWhenTheyChange() {
        std::string des = f->Write(ShrubKey());
        f->OpenAccepted(des);
        f->Main->Counttoggle1->trigger();
        f->Main->ToleranceItems[1]->trigger();
        std::string ini = f->Main->SettingsPath();
        QTRY_VERIFY_WITH_TIMEOUT(ReadFile(ini).find("CountMode=1") != std::string::npos, 2000);
        Session next;
        ReadSettings(next, ini);
        QCOMPARE(next.KeyHistory[0], des);
        QCOMPARE(next.StartupKeyPath, des);
        QVERIFY(next.CountMode);
        QCOMPARE(next.ToleranceMode, 1);
    }
};

VORN_QTEST_MAIN(JournalWindowsTest)
#include "JournalWindowsTest.moc"
