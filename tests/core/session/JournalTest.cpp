// The journal of an identification: written whole, read back exactly, refused whole when
// it is cut short, damaged or made for other key files, and kept per process with a lock
// that tells the journals of running programs from those of programs that are gone.
#include "core/session/Journal.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>

#include "core/platform/IoError.h"
#include "core/platform/JournalFile.h"
#include "core/session/HistoryList.h"
#include "core/session/OpenKey.h"
#include "tests/kit/EngineFixture.h"

namespace vorn {
namespace {

using testing::EngineFixture;
using testing::ReadFile;
using testing::WriteFile;

class Journals : public EngineFixture {
protected:
    void SetUp() override { Open(MakeKey({"+-+-", "--++", "+-?*", "-+-+", "++--"})); }

    // Scores, groups and the tolerance of a little identification.
    void Identify() {
        session_.ChangeTolerance(1);
        session_.ScoreState(0, RequestPresent);
        session_.ToggleOrMode();
        session_.ScoreState(1, RequestAbsent);
        session_.ScoreState(2, RequestPresent);
        session_.ToggleOrMode();
        session_.ToggleOrMode();
        session_.ScoreState(4, RequestAbsent);
    }
    std::string Write(const std::string& text) {
        std::string path = dir_.Path() + "J.HIS";
        WriteFile(path, text);
        return path;
    }
};

TEST_F(Journals, AJournalRestoresTheIdentificationExactly) {
    Identify();
    std::string text = JournalText(session_, "2026-12-09 14:05");
    EXPECT_EQ(text.substr(0, text.find("#file")),
              "#VORN journal\r\n#key " + session_.OpenKeyPath + "\r\n");
    std::string path = Write(text);
    JournalInfo info = ReadJournal(path);
    ASSERT_EQ(info.Problem, "");
    EXPECT_EQ(info.KeyPath, session_.OpenKeyPath);
    EXPECT_EQ(info.Tolerance, 1);
    EXPECT_EQ(info.Date, "2026-12-09 14:05");
    EXPECT_EQ(info.Scored, 4);
    ASSERT_EQ(info.Files.size(), 4u);
    EXPECT_EQ(info.Files[3].Name, session_.WorkDir + "TEST.DAT");
    EXPECT_EQ(WhyJournalKeyChanged(info), "");

    Session fresh;
    OpenKey(fresh, info.KeyPath);
    RestoreJournal(fresh, path, info);
    for (int32_t s = 0; s < 5; ++s)
        EXPECT_EQ(fresh.StateScore(s), session_.StateScore(s)) << s;
    EXPECT_EQ(fresh.Tolerance(), 1);
    EXPECT_TRUE(fresh.OrMode());
    ASSERT_EQ(fresh.OpenEngine()->ClosedGroups().size(), 1u);
    EXPECT_EQ(fresh.OpenEngine()->ClosedGroups()[0].Members, (std::vector<int32_t>{1, 2}));
    for (int32_t t = 0; t < 4; ++t)
        EXPECT_EQ(fresh.TaxonMatches(t), session_.TaxonMatches(t)) << t;
    // One step: undone, nothing is scored.
    EXPECT_EQ(fresh.Steps().Done(), 1u);
    fresh.Undo();
    EXPECT_EQ(fresh.StateScore(0), ScoreNone);
    EXPECT_FALSE(fresh.OrMode());

    // It is a history list too: loaded by hand, the same scores.
    session_.ResetScores();
    LoadHistoryList(session_, path, nullptr);
    EXPECT_EQ(Scores(), "+AP.A");
}

TEST_F(Journals, AJournalCutShortEmptyOrDamagedIsRefusedWhole) {
    Identify();
    std::string text = JournalText(session_, "2026-12-09 14:05");
    for (size_t cut : {size_t{0}, size_t{13}, text.size() / 2, text.size() - 3, text.size() - 1})
        EXPECT_NE(ReadJournal(Write(text.substr(0, cut))).Problem, "") << cut;
    EXPECT_EQ(ReadJournal(Write("")).Problem, "it is empty");
    EXPECT_EQ(ReadJournal(Write(text.substr(0, text.size() - 10))).Problem,
              "it is cut short or damaged");
    std::string changed = text;
    changed[changed.find("\r\n+1") + 3] = '2';
    EXPECT_EQ(ReadJournal(Write(changed)).Problem, "it is cut short or damaged");
    EXPECT_EQ(ReadJournal(Write("+1\r\n-2\r\n")).Problem, "it is not a journal of VORN");
    EXPECT_EQ(ReadJournal(dir_.Path() + "none.HIS").Problem.rfind("it cannot be read", 0), 0u);
}

TEST_F(Journals, AJournalOfKeyFilesThatChangedOrWentIsNotForThisKey) {
    Identify();
    JournalInfo info = ReadJournal(Write(JournalText(session_, "2026-12-09 14:05")));
    ASSERT_EQ(info.Problem, "");
    std::string dat = session_.WorkDir + "TEST.DAT";
    // The same size, another time: changed all the same.
    struct stat before;
    ASSERT_EQ(::stat(dat.c_str(), &before), 0);
    struct utimbuf times {
        before.st_atime, before.st_mtime + 60
    };
    ASSERT_EQ(::utime(dat.c_str(), &times), 0);
    EXPECT_EQ(WhyJournalKeyChanged(info), "the key's file " + dat + " has changed since");
    std::filesystem::remove(session_.WorkDir + "TEST.DES");
    EXPECT_EQ(WhyJournalKeyChanged(info),
              "the key's file " + session_.WorkDir + "TEST.DES is gone");
}

TEST(JournalFiles, OneJournalAProcessLockedWhileItRuns) {
    testing::TempDir dir;
    std::string folder = dir.Path() + "state/vorn/";
    std::string kept;
    {
        JournalFile running;
        running.Open(folder);
        running.Write("first");
        running.Write("second");
        running.Sync();
        EXPECT_EQ(ReadFile(running.Path()), "second");
        // A running program's journal is not offered; a second one keeps its own.
        EXPECT_TRUE(JournalFile::Orphans(folder).empty());
        JournalFile other;
        other.Open(folder);
        EXPECT_NE(other.Path(), running.Path());
        other.Write("other");
        EXPECT_TRUE(JournalFile::Orphans(folder).empty());
        other.Close();  // ended normally: nothing left
        EXPECT_FALSE(std::filesystem::exists(other.Path()));
        kept = running.Path();
    }  // ended without Close: killed, as far as the journal can tell
    EXPECT_EQ(JournalFile::Orphans(folder), std::vector<std::string>{kept});

    // Set aside: one journal kept, never more.
    std::string aside = JournalFile::SetAside(kept);
    EXPECT_EQ(ReadFile(aside), "second");
    EXPECT_EQ(JournalFile::Aside(folder), aside);
    EXPECT_TRUE(JournalFile::Orphans(folder).empty());
    {
        JournalFile later;
        later.Open(folder);
        later.Write("later");
        kept = later.Path();
    }
    EXPECT_EQ(JournalFile::SetAside(kept), aside);
    EXPECT_EQ(ReadFile(aside), "later");
    JournalFile::RemoveAside(folder);
    EXPECT_EQ(JournalFile::Aside(folder), "");
    // Only the folder itself is left: no lock, no journal.
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST(JournalFiles, AWriteThatFailsLeavesTheLastJournalWhole) {
    testing::TempDir dir;
    JournalFile journal;
    journal.Open(dir.Path());
    journal.Write("whole");
    for (const char* step : {"create", "write", "rename", "sync"}) {
        JournalFile::SetWriteFault([step](std::string_view s) { return s == step ? EIO : 0; });
        EXPECT_THROW(
            {
                journal.Write("torn?");
                journal.Sync();
            },
            IoError)
            << step;
        JournalFile::SetWriteFault(nullptr);
        EXPECT_EQ(ReadFile(journal.Path()), std::string(step) == "sync" ? "torn?" : "whole")
            << step;
        journal.Write("whole");
    }
    journal.Close();
}

}  // namespace
}  // namespace vorn
