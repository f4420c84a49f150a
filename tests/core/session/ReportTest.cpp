// The report of an identification, read back as a program reads a page: what it says
// agrees with vorn-identify --json, the key's texts are escaped, pictures are embedded as
// thumbnails, and the lists follow the number of matching taxa. HTML Tidy checks every
// report written here.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>

#include "core/engine/Engine.h"
#include "core/session/Modes.h"
#include "core/session/Report.h"
#include "tests/kit/JpegWriter.h"
#include "tests/kit/KeyFixture.h"
#include "tests/kit/ReportReader.h"

namespace vorn {
namespace {

using testing::KeyFixture;
using testing::KeySpec;
using testing::ReadFile;
using testing::ReadReport;
using testing::ReadReportHtml;
using testing::TempDir;
using testing::WriteFile;

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct Ran {
    int Status = -1;
    std::string Out, Err;
};

// Runs `command` with its standard output and error kept in files of `dir`.
Ran Shell(const std::string& command, const TempDir& dir) {
    std::string out = dir.Path() + "stdout", err = dir.Path() + "stderr";
    int status = std::system((command + " >" + Quote(out) + " 2>" + Quote(err)).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

// HTML Tidy's errors about the file; empty when it finds none. Warnings are not errors.
// The tests need Debian's tidy.
std::string TidyErrors(const std::string& file, const TempDir& dir) {
    if (std::system("command -v tidy >/dev/null 2>&1") != 0)
        return "HTML Tidy is not installed (Debian package tidy)";
    Ran run = Shell("tidy -errors -quiet " + Quote(file), dir);
    if (run.Status >= 2 || !run.Err.empty() || !run.Out.empty())
        return "status " + std::to_string(run.Status) + ": " + run.Err + run.Out;
    return {};
}

std::vector<int> Ints(const QJsonArray& array) {
    std::vector<int> ints;
    for (const QJsonValue& v : array)
        ints.push_back(v.toInt());
    return ints;
}

// ---- Known sessions on the sample key, against vorn-identify --json ----------------------

class SampleKeyReport : public ::testing::TestWithParam<std::vector<std::string>> {
protected:
    Ran Identify(const std::vector<std::string>& args) {
        std::string command = "cd " + Quote(dir_.Path()) + " && " + Quote(VORN_IDENTIFY_BINARY) +
                              " " + Quote(VORN_SOURCE_DIR "/keys/TREES.DES");
        for (const std::string& arg : args)
            command += " " + Quote(arg);
        return Shell(command, dir_);
    }
    TempDir dir_;
};

TEST_P(SampleKeyReport, HoldsWhatTheJsonReportGives) {
    std::vector<std::string> actions = GetParam();
    std::vector<std::string> args = actions;
    args.insert(args.end(), {"--json", "--report", "walk.html", "--save-history", "saved.his"});
    Ran run = Identify(args);
    ASSERT_EQ(run.Status, 0) << run.Err;
    QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(run.Out)).object();
    ASSERT_FALSE(json.isEmpty()) << run.Out;
    std::string html = ReadFile(dir_.Path() + "walk.html");
    ReadReport report = ReadReportHtml(html);
    ASSERT_TRUE(report.WellFormed) << report.Error;

    EXPECT_EQ(report.Heading, "Identification with the key TREES");
    EXPECT_EQ(report.TitleLine, "Trees of Western and Central Europe");
    EXPECT_EQ(report.Program, std::string("VORN ") + VORN_VERSION);
    EXPECT_EQ(report.ToleranceValue, json["tolerance"].toInt());

    // The scored states: each state with a score, once, with its mark; members of "Or"
    // groups inside their group, open while the JSON says a group is open.
    QJsonArray scores = json["scores"].toArray();
    std::set<int> listed;
    for (const ReadReport::Scored& s : report.ScoredStates) {
        EXPECT_TRUE(listed.insert(s.State).second) << "state " << s.State << " listed twice";
        ASSERT_GE(s.State, 1);
        ASSERT_LE(s.State, scores.size());
        std::string mark = scores[s.State - 1].toString().toStdString();
        bool inGroup = mark == "o+" || mark == "o-";
        EXPECT_EQ(s.Group >= 0, inGroup) << "state " << s.State;
        EXPECT_EQ(s.Score, mark == "+" || mark == "o+" ? "present" : "absent") << s.State;
        EXPECT_EQ(s.Text.rfind(s.Score == "present" ? "Present: " : "Absent: ", 0), 0u) << s.Text;
    }
    int scored = 0;
    for (const QJsonValue& v : scores)
        scored += !v.toString().isEmpty();
    EXPECT_EQ(static_cast<int>(listed.size()), scored);
    bool openGroup = std::any_of(report.Groups.begin(), report.Groups.end(),
                                 [](const ReadReport::Group& g) { return g.Open; });
    EXPECT_EQ(openGroup, json["or_mode"].toBool());

    // The matching taxa: the count, and every one of them when 50 or fewer match.
    int count = json["matching_taxa_count"].toInt();
    EXPECT_EQ(report.MatchingHeading, MatchingCountText(count));
    std::vector<int> rows;
    for (const ReadReport::Taxon& t : report.Matching)
        rows.push_back(t.Number);
    std::vector<int> matching = Ints(json["matching_taxa"].toArray());
    if (json["tolerance"].toInt() > 0) {
        // Fewest mismatches first, as the Matching Taxa window lists them.
        std::vector<int> byMismatches;
        for (int t : Ints(json["taxa_by_mismatches"].toArray()))
            if (std::find(matching.begin(), matching.end(), t) != matching.end())
                byMismatches.push_back(t);
        matching = byMismatches;
    }
    EXPECT_EQ(rows, matching);

    // The table of differences: the states the JSON names, a column per matching taxon.
    std::vector<int> differing = Ints(json["differences_among_matching"].toArray());
    EXPECT_EQ(report.DifferenceStates, differing);
    if (!differing.empty()) {
        EXPECT_EQ(report.DifferenceTaxa, matching);
    }
    for (const auto& codes : report.DifferenceCodes)
        EXPECT_EQ(codes.size(), matching.size());

    // The first ten states of the Best order.
    std::vector<int> best;
    for (const QJsonValue& v : json["best_states"].toArray())
        if (best.size() < 10) best.push_back(v.toArray()[0].toInt());
    EXPECT_EQ(report.BestStates, best);

    // How to repeat it: the history list, the same as --save-history writes, beside the
    // report, shown in it and in its closing comment.
    std::string saved = ReadFile(dir_.Path() + "saved.his");
    EXPECT_EQ(ReadFile(dir_.Path() + "walk.HIS"), saved);
    std::string shown = saved;
    shown.erase(std::remove(shown.begin(), shown.end(), '\r'), shown.end());
    EXPECT_EQ(report.HistoryShown, shown);
    if (!saved.empty()) {
        EXPECT_EQ(report.HistoryComment, "\r\nVORN history list\r\n" + saved);
        EXPECT_EQ(report.Comments, 1);
    }

    EXPECT_EQ(TidyErrors(dir_.Path() + "walk.html", dir_), "");
}

// Nothing scored (30 match); 7, 23 and 1 taxa left; "Or" groups closed and open; a
// tolerance; a history list with a blank line; Undo.
INSTANTIATE_TEST_SUITE_P(
    Sessions, SampleKeyReport,
    ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"+3"},
                      std::vector<std::string>{"-3"}, std::vector<std::string>{"+3", "-7"},
                      std::vector<std::string>{"+3", "-7", "+1"},
                      std::vector<std::string>{"or", "+1", "-5", "or", "+3"},
                      std::vector<std::string>{"+3", "or", "+10", "-9"},
                      std::vector<std::string>{"--tolerance", "1", "+3", "-7", "+1"},
                      std::vector<std::string>{"@" VORN_SOURCE_DIR "/keys/TREES.HIS"},
                      std::vector<std::string>{"+3", "-7", "undo", "+5"}));

TEST(ReportOption, IsRefusedWhereItCannotBeWritten) {
    TempDir dir;
    std::string base = "cd " + Quote(dir.Path()) + " && " + Quote(VORN_IDENTIFY_BINARY) + " " +
                       Quote(VORN_SOURCE_DIR "/keys/TREES.DES") + " +3 ";
    // A report named as a history list would be overwritten by its own list.
    Ran run = Shell(base + "--report walk.his", dir);
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err,
              "vorn-identify: The report \"walk.his\" would be replaced by its own history "
              "list.  Give the report another extension, such as .html.\n");
    run = Shell(base + "--report", dir);
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err, "vorn-identify: --report needs a file name (try --help)\n");
    // A folder that is not there: the run fails, naming the file, and prints no report.
    run = Shell(base + "--report missing/walk.html", dir);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find(dir.Path() + "missing/walk."), std::string::npos) << run.Err;
    // Measuring the key writes no report.
    run = Shell("cd " + Quote(dir.Path()) + " && " + Quote(VORN_IDENTIFY_BINARY) + " " +
                    Quote(VORN_SOURCE_DIR "/keys/TREES.DES") + " --efficiency --report r.html",
                dir);
    EXPECT_EQ(run.Status, 2);
    EXPECT_FALSE(std::ifstream(dir.Path() + "r.html").good());
}

TEST(ReportFiles, TheHistoryListIsNamedAfterTheReport) {
    EXPECT_EQ(ReportHistoryFileName("/home/me/walk.html"), "/home/me/walk.HIS");
    EXPECT_EQ(ReportHistoryFileName("/home/me/walk.2024.pdf"), "/home/me/walk.2024.HIS");
    EXPECT_EQ(ReportHistoryFileName("/home/me.d/walk"), "/home/me.d/walk.HIS");
    EXPECT_EQ(WhyNoReportFile("walk.html"), "");
    EXPECT_NE(WhyNoReportFile("/tmp/WALK.His"), "");
}

// ---- Reports made in the session, on keys written here ------------------------------------

class Report : public KeyFixture {
protected:
    // The report of the session now, with the states listed in `listed`, written to a
    // file for Tidy and read back.
    ReadReport Make(const std::vector<int32_t>& listed = {}) {
        ReportRequest request;
        request.Listed = listed;
        request.HistoryFileName = "WALK.HIS";
        request.Made = 0;
        html_ = ReportHtml(session_, request);
        std::string file = dir_.Path() + "report.html";
        WriteFile(file, html_);
        EXPECT_EQ(TidyErrors(file, dir_), "") << html_;
        ReadReport report = ReadReportHtml(html_);
        EXPECT_TRUE(report.WellFormed) << report.Error << "\n" << html_;
        return report;
    }
    std::string html_;
};

TEST_F(Report, EscapesEveryTextOfTheKey) {
    KeySpec keySpec = MakeKey({"+-", "-+", "++"});
    keySpec.Name = "R&D\"<1>";
    keySpec.TitleLines = {"", "  Trees & <shrubs> of \"here\"  ", "second line"};
    // A taxon record ends its names at ">", "|" and "/"; the rest may be anything.
    keySpec.LongTaxonNames = true;
    keySpec.Taxa = {"Salix <alba & \"x\"/White & <grey willow", "Betula & co"};
    keySpec.States = {"Leaves: <5 cm & \"hairy\"", "Leaves: >5 cm",
                      "Bark: <!-- grey --><script>x()</script>"};
    Open(keySpec);
    session_.NameMode = BothNames;
    session_.ScoreState(2, RequestPresent);  // both taxa match, and differ on states 1, 2
    ReadReport report = Make({2});

    EXPECT_EQ(report.Heading, "Identification with the key R&D\"<1>");
    EXPECT_EQ(report.Title, "Identification with the key R&D\"<1>: 2 Taxa Match");
    // The first line with something on it.
    EXPECT_EQ(report.TitleLine, "Trees & <shrubs> of \"here\"");
    ASSERT_EQ(report.ScoredStates.size(), 1u);
    EXPECT_EQ(report.ScoredStates[0].Text, "Present: 3. Bark: <!-- grey --><script>x()</script>");
    ASSERT_EQ(report.Matching.size(), 2u);
    EXPECT_EQ(report.Matching[0].Name, "1. Salix <alba & \"x\", White & <grey willow");
    EXPECT_EQ(report.Matching[1].Name, "2. Betula & co");
    EXPECT_EQ(report.DifferenceStates, (std::vector<int>{1, 2}));
    EXPECT_NE(report.BodyText.find("1. Leaves: <5 cm & \"hairy\""), std::string::npos);
    // Nothing of the key became markup: there is no script, and the only comment is the
    // history list's.
    EXPECT_EQ(html_.find("<script"), std::string::npos);
    EXPECT_EQ(report.HistoryComment, "\r\nVORN history list\r\n+3\r\n");
    EXPECT_EQ(report.Comments, 1);
}

TEST_F(Report, NamesTaxaInTheNameMode) {
    KeySpec keySpec = MakeKey({"++"});
    keySpec.Taxa = {"Quercus robur/English oak", "Quercus cerris"};
    Open(keySpec);
    session_.NameMode = CommonNames;
    ReadReport report = Make();
    ASSERT_EQ(report.Matching.size(), 2u);
    EXPECT_EQ(report.Matching[0].Name, "1. English oak");
    EXPECT_EQ(report.Matching[1].Name, "2. (Quercus cerris)");
    session_.NameMode = ScientificNames;
    EXPECT_EQ(Make().Matching[0].Name, "1. Quercus robur");
}

// A picture of w x h pixels, grey.
std::string Picture(int w, int h) {
    return testing::EncodeJpeg(w, h, 1, std::vector<uint8_t>(static_cast<size_t>(w * h), 128));
}

std::string DataAddress(const std::string& jpeg) {
    return "data:image/jpeg;base64," + QByteArray::fromStdString(jpeg).toBase64().toStdString();
}

TEST_F(Report, EmbedsEachPictureAsAThumbnailOfItsHeadersSize) {
    KeySpec keySpec = MakeKey({"++++++"});
    keySpec.Taxa = {"Wide|wide",    "Tall|pics\\tall",       "Small|small",
                    "Missing|gone", "Not a picture|notjpeg", "No picture named"};
    std::string wide = Picture(400, 100), tall = Picture(90, 360), small = Picture(50, 80);
    ASSERT_EQ(::mkdir((dir_.Path() + "pics").c_str(), 0755), 0);
    WriteFile(dir_.Path() + "WIDE.JPG", wide);
    // Letter case forgiven, and "\" a folder, as for the Image window.
    WriteFile(dir_.Path() + "pics/tall.jpg", tall);
    WriteFile(dir_.Path() + "SMALL.JPG", small);
    WriteFile(dir_.Path() + "NOTJPEG.JPG", "GIF89a, not a JPEG picture");
    Open(keySpec);
    ReadReport report = Make();
    ASSERT_EQ(report.Matching.size(), 6u);
    ASSERT_EQ(report.Matching[0].Pictures.size(), 1u);
    const ReadReport::Picture& w = report.Matching[0].Pictures[0];
    EXPECT_EQ(w.Source, DataAddress(wide));  // the file as it is
    EXPECT_EQ(w.Width, 200);
    EXPECT_EQ(w.Height, 50);
    EXPECT_EQ(w.Alt, "Picture of 1. Wide");
    ASSERT_EQ(report.Matching[1].Pictures.size(), 1u);
    EXPECT_EQ(report.Matching[1].Pictures[0].Source, DataAddress(tall));
    EXPECT_EQ(report.Matching[1].Pictures[0].Width, 50);
    EXPECT_EQ(report.Matching[1].Pictures[0].Height, 200);
    // A small picture is not enlarged.
    ASSERT_EQ(report.Matching[2].Pictures.size(), 1u);
    EXPECT_EQ(report.Matching[2].Pictures[0].Width, 50);
    EXPECT_EQ(report.Matching[2].Pictures[0].Height, 80);
    // No file, no picture, no picture named: no thumbnail, and the taxon is still listed.
    for (size_t t = 3; t < 6; ++t) {
        EXPECT_TRUE(report.Matching[t].Pictures.empty()) << t;
        EXPECT_FALSE(report.Matching[t].Name.empty()) << t;
    }
}

// A key of 51 taxa: scoring state k Present leaves the taxa its codes give; the states
// after the first five are what the taxa differ on, or not.
class MatchingCounts : public Report {
protected:
    void SetUp() override {
        auto column = [](int present) {
            std::string codes(51, '-');
            std::fill(codes.begin(), codes.begin() + present, '+');
            return codes;
        };
        std::vector<std::string> codes = {column(10), column(11), column(2), column(1), column(0)};
        std::string alternating, variable, same(51, '+'), unknownOrAbsent;
        for (int t = 0; t < 51; ++t) {
            alternating += t % 2 ? '-' : '+';
            variable += t % 3 == 0 ? '*' : t % 3 == 1 ? '+' : '?';
            unknownOrAbsent += t < 5 ? '?' : '-';
        }
        // 6: differs among any taxa of both parities; 7: all alike; 8: "+", "*" and "?"
        // only, never certain; 9: "?" then "-", never a "+".
        codes.insert(codes.end(), {alternating, same, variable, unknownOrAbsent});
        keySpec_ = MakeKey(codes);
        Open(keySpec_);
    }

    // The states (from 1) on which two matching taxa are coded "+" and "-", from the codes.
    std::vector<int> Expected() const {
        std::vector<int> states;
        for (size_t s = 0; s < keySpec_.Codes.size(); ++s) {
            bool plus = false, minus = false;
            for (int t = 0; t < 51; ++t) {
                if (!session_.TaxonMatches(t)) continue;
                plus |= keySpec_.Codes[s][static_cast<size_t>(t)] == '+';
                minus |= keySpec_.Codes[s][static_cast<size_t>(t)] == '-';
            }
            if (plus && minus) states.push_back(static_cast<int>(s) + 1);
        }
        return states;
    }

    KeySpec keySpec_;
};

TEST_F(MatchingCounts, ListFiftyTaxaAndTableTheDifferencesOfTwoToTen) {
    struct Case {
        int state;  // scored Present, from 1; 0 for none
        int matching;
    };
    for (Case c : {Case{5, 0}, Case{4, 1}, Case{3, 2}, Case{1, 10}, Case{2, 11}, Case{0, 51}}) {
        SCOPED_TRACE("matching " + std::to_string(c.matching));
        session_.ResetScores();
        if (c.state) session_.ScoreState(c.state - 1, RequestPresent);
        ASSERT_EQ(session_.MatchingTaxaCount(), c.matching);
        ReadReport report = Make();
        EXPECT_EQ(report.MatchingHeading, MatchingCountText(c.matching));
        EXPECT_EQ(report.Matching.size(), static_cast<size_t>(std::min(c.matching, 50)));
        for (size_t i = 0; i < report.Matching.size(); ++i)
            EXPECT_EQ(report.Matching[i].Number, static_cast<int>(i) + 1);
        bool cut =
            report.BodyText.find("The first 50 of the 51 matching taxa") != std::string::npos;
        EXPECT_EQ(cut, c.matching == 51);
        EXPECT_EQ(report.BodyText.find("No taxon matches") != std::string::npos, c.matching == 0);

        std::vector<int> differing;
        for (int32_t s : DifferencesAmongMatching(session_))
            differing.push_back(s + 1);
        if (c.matching >= 2 && c.matching <= 10) {
            EXPECT_EQ(differing, Expected());
            EXPECT_EQ(report.DifferenceStates, differing);
            ASSERT_EQ(report.DifferenceTaxa.size(), static_cast<size_t>(c.matching));
            // Each cell is the taxon's code.
            for (size_t row = 0; row < report.DifferenceStates.size(); ++row) {
                for (size_t col = 0; col < report.DifferenceTaxa.size(); ++col) {
                    EXPECT_EQ(
                        report.DifferenceCodes[row][col],
                        std::string(
                            1,
                            keySpec_.Codes[static_cast<size_t>(report.DifferenceStates[row] - 1)]
                                          [static_cast<size_t>(report.DifferenceTaxa[col] - 1)]));
                }
            }
        } else {
            EXPECT_TRUE(differing.empty());
            EXPECT_TRUE(report.DifferenceStates.empty());
            EXPECT_TRUE(report.DifferenceTaxa.empty());
        }
        bool toldWhy =
            report.BodyText.find("are given when 10 taxa or fewer match") != std::string::npos;
        EXPECT_EQ(toldWhy, c.matching > 10);
    }
    // 2 match: state 4 is "+" for the first only, 6 alternates; 3 is "+" for both.
    session_.ResetScores();
    session_.ScoreState(2, RequestPresent);
    EXPECT_EQ(DifferencesAmongMatching(session_), (std::vector<int32_t>{3, 5}));
}

TEST_F(Report, ShowsOrGroupsAsGroupsAtTheirFirstMember) {
    // Taxa 0 to 3.
    Open(MakeKey({"++--", "+-+-", "-+-+", "--++", "++++", "+---"}));
    session_.ScoreState(4, RequestPresent);
    session_.ToggleOrMode();
    session_.ScoreState(1, RequestPresent);
    session_.ScoreState(0, RequestAbsent);
    session_.ToggleOrMode();
    session_.ToggleOrMode();
    session_.ScoreState(3, RequestAbsent);
    // Listed in this order; state 5 (index 5) is listed but not scored.
    ReadReport report = Make({4, 0, 5, 1, 3});
    ASSERT_EQ(report.Groups.size(), 2u);
    EXPECT_FALSE(report.Groups[0].Open);
    EXPECT_TRUE(report.Groups[1].Open);
    std::vector<std::tuple<int, std::string, int>> got;
    for (const ReadReport::Scored& s : report.ScoredStates)
        got.emplace_back(s.State, s.Score, s.Group);
    // The closed group at the place of its first listed member (state 1), its members in
    // the order they joined; the open group last.
    std::vector<std::tuple<int, std::string, int>> expected = {
        {5, "present", -1}, {2, "present", 0}, {1, "absent", 0}, {4, "absent", 1}};
    EXPECT_EQ(got, expected);
    EXPECT_NE(report.BodyText.find("\"Or\" group, not yet ended"), std::string::npos);
}

}  // namespace
}  // namespace vorn
