// The report of an identification on a key made of any bytes. The input holds the key's
// four files, a list of actions and a picture, separated by "\n@@\n"; every taxon whose
// record names a picture finds that one. Whatever the key's texts and the picture hold,
// the report is UTF-8 and its markup is only the report's own: every tag one of the
// elements the report writes, its attribute values quoted with no quote or "<" inside,
// no ">" in a text, every "&" an entity, one comment, at the end, holding no "--".
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/key/JpegDecoder.h"
#include "core/key/KeyFiles.h"
#include "core/key/PictureNames.h"
#include "core/platform/IoError.h"
#include "core/platform/Text.h"
#include "core/session/OpenKey.h"
#include "core/session/Report.h"
#include "core/session/Session.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"

namespace vorn {
namespace {

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// Checks the markup of `html` and returns how many elements of each name it opens.
void CheckMarkup(std::string_view html, int& taxonRows, int& scoredItems) {
    static const std::vector<std::string_view> kElements = {
        "html", "head", "meta", "title", "style", "body",  "h1", "h2", "p",  "dl",  "dt",  "dd",
        "ul",   "ol",   "li",   "table", "thead", "tbody", "tr", "th", "td", "img", "pre", "code"};
    constexpr std::string_view kDoctype = "<!DOCTYPE html>\n";
    FUZZ_CHECK(html.substr(0, kDoctype.size()) == kDoctype, "the report begins as HTML");
    size_t i = kDoctype.size();
    bool inStyle = false;
    bool sawComment = false;
    while (i < html.size()) {
        char c = html[i];
        if (c == '<' && html.substr(i, 4) == "<!--") {
            FUZZ_CHECK(!sawComment, "one comment");
            sawComment = true;
            size_t end = html.find("-->", i + 4);
            FUZZ_CHECK(end != std::string_view::npos, "the comment ends");
            FUZZ_CHECK(html.substr(i + 4, end - i - 4).find("--") == std::string_view::npos,
                       "the comment holds no \"--\"");
            FUZZ_CHECK(html.substr(end) == "-->\n</body>\n</html>\n",
                       "the comment is the last thing of the body");
            i = end + 3;
            continue;
        }
        if (c == '<') {
            size_t at = i + 1;
            bool closing = at < html.size() && html[at] == '/';
            if (closing) ++at;
            size_t nameEnd = at;
            while (nameEnd < html.size() && IsNameChar(html[nameEnd]))
                ++nameEnd;
            std::string_view name = html.substr(at, nameEnd - at);
            FUZZ_CHECK(std::find(kElements.begin(), kElements.end(), name) != kElements.end(),
                       "every tag is one of the report's elements");
            if (inStyle) FUZZ_CHECK(closing && name == "style", "the style holds no tag");
            inStyle = !closing && name == "style";
            // Attributes: name="value", the value without a quote or "<".
            size_t j = nameEnd;
            std::string tag(name);
            std::string attributes;
            while (true) {
                FUZZ_CHECK(j < html.size(), "a tag ends");
                if (html[j] == '>') break;
                if (html[j] == '/' && j + 1 < html.size() && html[j + 1] == '>') {
                    ++j;
                    break;
                }
                FUZZ_CHECK(html[j] == ' ', "attributes are separated by a blank");
                size_t equals = html.find("=\"", j);
                FUZZ_CHECK(equals != std::string_view::npos, "an attribute has a value");
                std::string_view attribute = html.substr(j + 1, equals - j - 1);
                FUZZ_CHECK(std::all_of(attribute.begin(), attribute.end(), IsNameChar) &&
                               !attribute.empty(),
                           "an attribute's name is plain");
                size_t close = html.find('"', equals + 2);
                FUZZ_CHECK(close != std::string_view::npos, "an attribute value ends");
                std::string_view value = html.substr(equals + 2, close - equals - 2);
                FUZZ_CHECK(value.find('<') == std::string_view::npos,
                           "no \"<\" in an attribute value");
                attributes += " " + std::string(attribute);
                j = close + 1;
            }
            if (!closing && tag == "tr" && attributes.find("data-taxon") != std::string::npos &&
                attributes.find("data-state") == std::string::npos)
                ++taxonRows;
            if (!closing && tag == "li" && attributes.find("data-score") != std::string::npos)
                ++scoredItems;
            i = j + 1;
            continue;
        }
        if (!inStyle) {
            FUZZ_CHECK(c != '>', "no \">\" in a text");
            if (c == '&') {
                bool entity = false;
                for (std::string_view e : {"&amp;", "&lt;", "&gt;", "&quot;"})
                    entity |= html.substr(i, e.size()) == e;
                FUZZ_CHECK(entity, "every \"&\" of a text is an entity");
            }
        }
        ++i;
    }
    FUZZ_CHECK(!inStyle, "the style ends");
}

}  // namespace
}  // namespace vorn

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    fuzz::KeepDirectory keep;
    Session session;
    std::vector<std::string_view> parts =
        fuzz::SplitParts({reinterpret_cast<const char*>(data), size}, 6);
    fuzz::WriteWorkFile("KEY.DES", parts[0]);
    fuzz::WriteWorkFile("KEY.TAX", parts[1]);
    fuzz::WriteWorkFile("KEY.CHR", parts[2]);
    fuzz::WriteWorkFile("KEY.DAT", parts[3]);
    try {
        OpenKey(session, fuzz::WorkFolder() + "KEY.DES");
    } catch (const IoError&) {
        return 0;
    }
    if (!session.Key.KeyOpen) return 0;
    // The picture every taxon's record names, under the name the report looks for.
    for (int32_t t = 0; t < session.Key.TaxonCount && t < 64; ++t) {
        TaxonRecordFields fields = SplitTaxonRecord(session.Key.ReadTaxonName(t));
        if (!fields.ImageName || fields.ImageName->empty()) continue;
        std::string file = JpegFileName(*fields.ImageName);
        if (file.find_first_of("/\\") == std::string::npos && file.find('\0') == std::string::npos)
            fuzz::WriteWorkFile(file, parts[5]);
    }

    std::string_view actions = parts[4];
    std::vector<int32_t> listed;
    session.NameMode =
        static_cast<NameModeValue>(actions.empty() ? 0 : static_cast<uint8_t>(actions[0]) % 3);
    for (size_t i = 1; i + 1 < actions.size() && i < 60; i += 2) {
        auto a = static_cast<uint8_t>(actions[i]);
        auto b = static_cast<uint8_t>(actions[i + 1]);
        if (a % 9 == 8) {
            session.ToggleOrMode();
        } else if (a % 9 == 7) {
            session.ChangeTolerance(b % 3);
        } else if (session.Key.StateCount > 0) {
            int32_t state = b % session.Key.StateCount;
            session.ScoreState(state, static_cast<ScoreRequest>(a % 4));
            listed.push_back(state);
        }
    }

    ReportRequest request;
    request.Listed = listed;
    request.HistoryFileName = "WALK.HIS";
    std::string html;
    try {
        html = ReportHtml(session, request);
    } catch (const IoError&) {
        return 0;
    }
    FUZZ_CHECK(IsUtf8(html), "the report is UTF-8");
    int taxonRows = 0, scoredItems = 0;
    CheckMarkup(html, taxonRows, scoredItems);
    FUZZ_CHECK(taxonRows == std::min(session.MatchingTaxaCount(), kReportedTaxa),
               "the report lists the matching taxa, 50 at most");
    int32_t scored = 0;
    for (int32_t s = 0; s < session.Key.StateCount; ++s)
        scored += session.StateScore(s) != ScoreNone;
    FUZZ_CHECK(scoredItems == scored, "the report lists every scored state once");
    return 0;
}
