#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace vorn {

class Session;

// The report of an identification: what a user keeps of it for a herbarium sheet, a
// notebook or a colleague. One self-contained HTML document, written here without any
// toolkit so that vorn-identify writes the same one the desktop saves, turns into a PDF
// and prints.

// A report names this many matching taxa at most, each with its picture.
constexpr int32_t kReportedTaxa = 50;
// The report tables the differences among the matching taxa when 2 to this many match.
constexpr int32_t kComparedTaxa = 10;
// The report gives this many states of the Best order.
constexpr int kReportedBestStates = 10;
// A thumbnail is shown at most this many pixels wide and high.
constexpr int kThumbnailSide = 200;

// The states on which at least two of the matching taxa differ for certain (one coded
// "+", another "-"), in state order, when 2 to kComparedTaxa taxa match; empty otherwise.
// The rows of the report's table of differences.
std::vector<int32_t> DifferencesAmongMatching(const Session& session);

// What a report is made of besides the session.
struct ReportRequest {
    // The history list: the states scored or listed, in the order they first appeared,
    // as the History window and vorn-identify --save-history keep it. Scored states that
    // are missing from it follow in state order.
    std::vector<int32_t> Listed;
    // The name of the history list file saved beside the report, as the report names it;
    // empty when there is none (a printout).
    std::string HistoryFileName;
    // When the report was made; shown in local time.
    std::time_t Made = 0;
};

// The report of the session's identification as one HTML document in UTF-8: the key's
// name and the first line of its title page; when it was made, and by which VORN; the
// tolerance; the scored states, Present or Absent, "Or" groups as groups; the matching
// taxa, the first kReportedTaxa of them named in the session's name mode with their
// JPEG pictures embedded as thumbnails; when 2 to kComparedTaxa match, the states on
// which they differ for certain with every taxon's codes; the first states of the Best
// order; and how to repeat the identification, with the history list, which an HTML
// comment at the end also holds. Every text from the key is escaped. Reads the key's
// files and the pictures (a picture that cannot be read gets no thumbnail); throws
// IoError when the key's own files fail. A key must be open.
std::string ReportHtml(Session& session, const ReportRequest& request);

// The history list saved beside the report `reportFile`: its name with ".HIS" in place
// of its extension (walk.html: walk.HIS).
std::string ReportHistoryFileName(const std::string& reportFile);

// Why a report cannot be saved as `reportFile`, in words for the user; empty when it
// can. A report named like a history list would be replaced by its own list.
std::string WhyNoReportFile(const std::string& reportFile);

// Saves the report: the history list (HistoryListText of `listed`) to
// ReportHistoryFileName(reportFile) first, then `document` (the report's HTML, or a PDF
// made from it) to `reportFile`, each replaced whole or not at all. Throws IoError
// naming the file that could not be written.
void SaveReportFiles(const Session& session, const std::string& reportFile,
                     const std::string& document, const std::vector<int32_t>& listed);

}  // namespace vorn
