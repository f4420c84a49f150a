#include "core/session/Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "core/key/JpegDecoder.h"
#include "core/key/KeyFiles.h"
#include "core/key/PictureNames.h"
#include "core/key/TitlePage.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/Text.h"
#include "core/platform/WholeFile.h"
#include "core/session/HistoryList.h"
#include "core/session/Modes.h"
#include "core/session/Session.h"

namespace vorn {
namespace {

// Printable without styles; the styles only tidy it up. Qt's rich text understands this
// much CSS too, so the PDF and the printout look like the page.
constexpr char kStyle[] =
    "body { font-family: sans-serif; color: #000; background: #fff; max-width: 60em; }\n"
    "h1 { font-size: 150%; margin-bottom: 0.2em; }\n"
    "h2 { font-size: 120%; margin-top: 18px; border-bottom: 1px solid #888; }\n"
    "table { border-collapse: collapse; }\n"
    "th, td { border: 1px solid #999; padding: 3px 6px; text-align: left; vertical-align: top; }\n"
    "td.code { text-align: center; font-weight: bold; }\n"
    "dt { font-weight: bold; }\n"
    "pre { font-family: monospace; }\n"
    "@media print {\n"
    "  h2 { page-break-after: avoid; break-after: avoid; }\n"
    "  tr, li { page-break-inside: avoid; break-inside: avoid; }\n"
    "}\n";

// Text for HTML, in element content and in attribute values within double quotes.
std::string Escape(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Bytes of the key's 8-bit text, as HTML: control characters, which no document may hold,
// are replaced as on a terminal.
std::string KeyHtml(std::string_view bytes) {
    return Escape(ReplaceControls(KeyTextToUtf8(bytes)));
}

std::string FileNameHtml(std::string_view bytes) {
    return Escape(ReplaceControls(FileNameToUtf8(bytes)));
}

std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        uint32_t n = static_cast<uint8_t>(bytes[i]) << 16 |
                     static_cast<uint8_t>(bytes[i + 1]) << 8 | static_cast<uint8_t>(bytes[i + 2]);
        out += kDigits[n >> 18];
        out += kDigits[n >> 12 & 63];
        out += kDigits[n >> 6 & 63];
        out += kDigits[n & 63];
    }
    if (size_t rest = bytes.size() - i) {
        uint32_t n = static_cast<uint8_t>(bytes[i]) << 16 |
                     (rest == 2 ? static_cast<uint8_t>(bytes[i + 1]) << 8 : 0);
        out += kDigits[n >> 18];
        out += kDigits[n >> 12 & 63];
        out += rest == 2 ? kDigits[n >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

// The picture of a taxon as an image embedded in the document, shown at most
// kThumbnailSide pixels wide and high; nothing when the taxon names no picture or its file
// is missing, too large or no JPEG picture.
std::string Thumbnail(const std::optional<std::string>& imageName, const std::string& altHtml) {
    if (!imageName || imageName->empty()) return {};
    std::string path = KeyNameToPath(JpegFileName(*imageName));
    if (!FileExists(path)) return {};
    JpegLimits limits;
    try {
        FileBytes file = ReadWholeFile(path, limits.MaxFileBytes);
        if (file.More) return {};
        JpegSize size = ReadJpegSize(file.Bytes, path, limits);
        double scale =
            std::min(1.0, static_cast<double>(kThumbnailSide) / std::max(size.Width, size.Height));
        int width = std::max(1, static_cast<int>(std::lround(size.Width * scale)));
        int height = std::max(1, static_cast<int>(std::lround(size.Height * scale)));
        return "<img src=\"data:image/jpeg;base64," + Base64(file.Bytes) + "\" width=\"" +
               std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" alt=\"" +
               altHtml + "\"/>";
    } catch (const IoError&) {
        return {};
    }
}

std::string LocalTime(std::time_t when) {
    std::tm local{};
    char text[64] = "";
    if (localtime_r(&when, &local)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

std::string ToleranceText(int tolerance) {
    if (tolerance == 0) return "0: a taxon matches only when no scored state contradicts it";
    return std::to_string(tolerance) + ": a taxon matches with up to " + std::to_string(tolerance) +
           (tolerance == 1 ? " mismatched state" : " mismatched states");
}

// The first line of the title page with something on it; empty when there is none.
std::string FirstTitleLine(const KeyRecord& key) {
    for (const std::string& line : ReadTitlePage(key.DesFileName)) {
        if (!line.empty()) return line;
    }
    return {};
}

// "12. Leaves: simple"
std::string StateHtml(KeyRecord& key, int32_t state) {
    return std::to_string(state + 1) + ". " + KeyHtml(key.ReadStateText(state));
}

// The taxon's number and name in the session's name mode, and its picture's name.
struct TaxonNames {
    std::string Html;
    std::optional<std::string> ImageName;
};
TaxonNames NamesOf(Session& session, int32_t taxon) {
    TaxonRecordFields fields = SplitTaxonRecord(session.Key.ReadTaxonName(taxon));
    return {std::to_string(taxon + 1) + ". " +
                KeyHtml(TaxonListName(fields.Text, fields.CommonName, session.NameMode)),
            std::move(fields.ImageName)};
}

// The scored states in the order they first appeared: the listed ones, then the others in
// state order; each once.
std::vector<int32_t> ScoredInOrder(const Session& session, const std::vector<int32_t>& listed) {
    const int32_t states = session.Key.StateCount;
    std::vector<bool> taken(static_cast<size_t>(states), false);
    std::vector<int32_t> order;
    auto take = [&](int32_t s) {
        if (s < 0 || s >= states || taken[static_cast<size_t>(s)]) return;
        if (session.StateScore(s) == ScoreNone) return;
        taken[static_cast<size_t>(s)] = true;
        order.push_back(s);
    };
    for (int32_t s : listed)
        take(s);
    for (int32_t s = 0; s < states; ++s)
        take(s);
    return order;
}

const char* ScoreWord(uint8_t score) {
    return score == ScorePresent || score == ScoreOrPresent ? "Present" : "Absent";
}

std::string ScoredItem(Session& session, int32_t state) {
    uint8_t score = session.StateScore(state);
    bool present = score == ScorePresent || score == ScoreOrPresent;
    return "<li data-state=\"" + std::to_string(state + 1) + "\" data-score=\"" +
           (present ? "present" : "absent") + "\">" + ScoreWord(score) + ": " +
           StateHtml(session.Key, state) + "</li>\n";
}

void WriteScoredStates(std::string& html, Session& session, const std::vector<int32_t>& listed) {
    html += "<h2>Scored states</h2>\n";
    std::vector<int32_t> order = ScoredInOrder(session, listed);
    if (order.empty()) {
        html += "<p>No state has been scored.</p>\n";
        return;
    }
    // Every group, open or closed, shown once, at the place of its first member to appear.
    const Engine* engine = session.OpenEngine();
    std::vector<const OrGroup*> groups;
    for (const OrGroup& group : engine->ClosedGroups())
        groups.push_back(&group);
    const OrGroup* open = engine->OpenGroup() ? &*engine->OpenGroup() : nullptr;
    if (open) groups.push_back(open);
    std::vector<bool> shown(groups.size(), false);

    html += "<ul class=\"scored\">\n";
    for (int32_t state : order) {
        uint8_t score = session.StateScore(state);
        if (score == ScorePresent || score == ScoreAbsent) {
            html += ScoredItem(session, state);
            continue;
        }
        for (size_t g = 0; g < groups.size(); ++g) {
            const std::vector<int32_t>& members = groups[g]->Members;
            if (shown[g] || std::find(members.begin(), members.end(), state) == members.end())
                continue;
            shown[g] = true;
            bool isOpen = groups[g] == open;
            html += std::string("<li class=\"or-group\" data-group=\"") +
                    (isOpen ? "open" : "closed") + "\">\"Or\" group" +
                    (isOpen ? ", not yet ended" : "") + ": at least one of\n<ul>\n";
            for (int32_t member : members)
                html += ScoredItem(session, member);
            html += "</ul>\n</li>\n";
        }
    }
    html += "</ul>\n";
}

// The matching taxa in the order the Matching Taxa window lists them: with a tolerance,
// fewest mismatches first.
std::vector<int32_t> MatchingInOrder(const Session& session) {
    if (session.Tolerance() > 0) return session.MatchingTaxaByMismatches();
    std::vector<int32_t> taxa;
    for (int32_t t = 0; t < session.Key.TaxonCount; ++t) {
        if (session.TaxonMatches(t)) taxa.push_back(t);
    }
    return taxa;
}

void WriteMatchingTaxa(std::string& html, Session& session, const std::vector<int32_t>& matching) {
    const int32_t count = static_cast<int32_t>(matching.size());
    html += "<h2 id=\"matching-count\">" + MatchingCountText(count) + "</h2>\n";
    if (count == 0) {
        html += "<p>No taxon matches the scored states.</p>\n";
        return;
    }
    if (count > kReportedTaxa) {
        html += "<p>The first " + std::to_string(kReportedTaxa) + " of the " +
                std::to_string(count) + " matching taxa:</p>\n";
    }
    bool mismatches = session.Tolerance() > 0;
    html += "<table class=\"matching\">\n<thead><tr><th>Taxon</th>";
    if (mismatches) html += "<th>Mismatched states</th>";
    html += "<th>Picture</th></tr></thead>\n<tbody>\n";
    for (int32_t i = 0; i < count && i < kReportedTaxa; ++i) {
        int32_t taxon = matching[static_cast<size_t>(i)];
        TaxonNames names = NamesOf(session, taxon);
        html += "<tr data-taxon=\"" + std::to_string(taxon + 1) + "\"><td>" + names.Html + "</td>";
        if (mismatches)
            html += "<td>" + std::to_string(session.TaxonMismatchCount(taxon)) + "</td>";
        html += "<td>" + Thumbnail(names.ImageName, "Picture of " + names.Html) + "</td></tr>\n";
    }
    html += "</tbody>\n</table>\n";
}

const char* CodeText(int code) {
    return code == CodePresent ? "+" : code == CodeAbsent ? "-" : code == CodeVariable ? "*" : "?";
}

void WriteDifferences(std::string& html, Session& session, const std::vector<int32_t>& matching) {
    const int32_t count = static_cast<int32_t>(matching.size());
    if (count < 2) return;
    html += "<h2>How the matching taxa differ</h2>\n";
    if (count > kComparedTaxa) {
        html += "<p>The states on which the matching taxa differ are given when " +
                std::to_string(kComparedTaxa) + " taxa or fewer match.</p>\n";
        return;
    }
    std::vector<int32_t> states = DifferencesAmongMatching(session);
    if (states.empty()) {
        html +=
            "<p>No state tells the matching taxa apart for certain: on every state they "
            "are alike, or not known.</p>\n";
        return;
    }
    html +=
        "<p>The states on which at least two of them differ for certain, with each taxon's "
        "code: + it has the state, - it lacks it, * it may have it or lack it, ? not "
        "known.</p>\n";
    html += "<table class=\"differences\">\n<thead><tr><th>State</th>";
    for (int32_t taxon : matching) {
        html += "<th data-taxon=\"" + std::to_string(taxon + 1) + "\">" +
                NamesOf(session, taxon).Html + "</th>";
    }
    html += "</tr></thead>\n<tbody>\n";
    for (int32_t state : states) {
        html += "<tr data-state=\"" + std::to_string(state + 1) + "\"><td>" +
                StateHtml(session.Key, state) + "</td>";
        for (int32_t taxon : matching)
            html += std::string("<td class=\"code\">") +
                    CodeText(session.Key.TaxonCode(state, taxon)) + "</td>";
        html += "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
}

void WriteBestStates(std::string& html, Session& session) {
    html += "<h2>Best states to score next</h2>\n";
    std::vector<StateSeparation> best = session.BestStates();
    if (best.empty()) {
        html += "<p>No unscored state separates the taxa that are left.</p>\n";
        return;
    }
    html +=
        "<p>Best first, each with how well one answer about it separates the taxa that are "
        "left: 1 splits them in halves, 0 not at all.</p>\n<ul class=\"best\">\n";
    for (size_t i = 0; i < best.size() && i < static_cast<size_t>(kReportedBestStates); ++i) {
        char separation[32];
        std::snprintf(separation, sizeof separation, "%.2f", best[i].Separation);
        html += "<li data-state=\"" + std::to_string(best[i].State + 1) + "\">" +
                StateHtml(session.Key, best[i].State) + " (" + separation + ")</li>\n";
    }
    html += "</ul>\n";
}

void WriteRepetition(std::string& html, Session& session, const ReportRequest& request,
                     const std::string& history) {
    // The list's lines are the history list format's own; the words only say where it goes.
    html += "<h2>How to repeat this identification</h2>\n<p>";
    std::string key = FileNameHtml(session.Key.KeyName);
    if (!request.HistoryFileName.empty()) {
        std::string file = FileNameHtml(request.HistoryFileName);
        html += "The history list below was saved beside this report as " + file +
                ".  Open the key " + key +
                " in VORN and load that file with the Load button of the Character State "
                "History window, or run <code>vorn-identify " +
                key + ".DES @" + file + "</code>.";
    } else {
        html +=
            "Save the lines below as a history list file (for example WALK.HIS), open the "
            "key " +
            key +
            " in VORN and load that file with the Load button of the Character State "
            "History window.";
    }
    html += "</p>\n";
    if (history.empty()) {
        html += "<p>The history list is empty.</p>\n";
    } else {
        std::string lines;
        for (char c : history) {
            if (c != '\r') lines += c;
        }
        html += "<pre class=\"history\">" + Escape(lines) + "</pre>\n";
    }
}

}  // namespace

std::vector<int32_t> DifferencesAmongMatching(const Session& session) {
    int32_t count = session.MatchingTaxaCount();
    if (count < 2 || count > kComparedTaxa) return {};
    std::vector<int32_t> matching;
    for (int32_t t = 0; t < session.Key.TaxonCount; ++t) {
        if (session.TaxonMatches(t)) matching.push_back(t);
    }
    return session.CertainDifferencesAmong(matching);
}

std::string ReportHtml(Session& session, const ReportRequest& request) {
    KeyRecord& key = session.Key;
    const std::vector<int32_t> matching = MatchingInOrder(session);
    const std::string history = HistoryListText(session, request.Listed);
    const std::string keyName = FileNameHtml(key.KeyName);

    std::string html;
    html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n";
    html += "<title>Identification with the key " + keyName + ": " +
            MatchingCountText(static_cast<int32_t>(matching.size())) + "</title>\n";
    html += "<meta name=\"generator\" content=\"VORN " VORN_VERSION "\"/>\n";
    html += std::string("<style>\n") + kStyle + "</style>\n</head>\n<body>\n";

    html += "<h1>Identification with the key " + keyName + "</h1>\n";
    std::string title = FirstTitleLine(key);
    if (!title.empty()) html += "<p class=\"title\">" + KeyHtml(title) + "</p>\n";
    html += "<dl>\n";
    html += "<dt>Made</dt><dd id=\"made\">" + LocalTime(request.Made) + "</dd>\n";
    html += "<dt>Program</dt><dd id=\"program\">VORN " VORN_VERSION "</dd>\n";
    html += "<dt>Tolerance</dt><dd id=\"tolerance\" data-tolerance=\"" +
            std::to_string(session.Tolerance()) + "\">" + ToleranceText(session.Tolerance()) +
            "</dd>\n";
    html += "</dl>\n";

    WriteScoredStates(html, session, request.Listed);
    WriteMatchingTaxa(html, session, matching);
    WriteDifferences(html, session, matching);
    WriteBestStates(html, session);
    WriteRepetition(html, session, request, history);

    // The list once more, whole, for a program to find: everything between the comment's
    // marks is a history list file (its first line is a remark that readers skip). No line
    // of the format can hold "--", which would end the comment early.
    if (!history.empty() && history.find("--") == std::string::npos)
        html += "<!--\r\nVORN history list\r\n" + history + "-->\n";
    html += "</body>\n</html>\n";
    return html;
}

std::string ReportHistoryFileName(const std::string& reportFile) {
    size_t name = reportFile.rfind('/') + 1;  // 0 when there is no folder
    size_t dot = reportFile.rfind('.');
    std::string base =
        dot != std::string::npos && dot > name ? reportFile.substr(0, dot) : reportFile;
    return base + ".HIS";
}

std::string WhyNoReportFile(const std::string& reportFile) {
    if (EndsWithIgnoringCase(reportFile, ".his")) {
        return "The report \"" + FileNameToUtf8(reportFile) +
               "\" would be replaced by its own history list.  Give the report another "
               "extension, such as .html.";
    }
    return {};
}

void SaveReportFiles(const Session& session, const std::string& reportFile,
                     const std::string& document, const std::vector<int32_t>& listed) {
    SaveHistoryList(session, ReportHistoryFileName(reportFile), listed);
    WriteFileAtomically(reportFile, document);
}

}  // namespace vorn
