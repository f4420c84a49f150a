#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <string>
#include <vector>

namespace vorn::testing {

// What a report holds, read back from its HTML as a program reads a page: with an XML
// reader, which also proves the document well formed (every "<", "&" and quote of the
// key's texts escaped). Texts are UTF-8, as a browser shows them, entities resolved.
// Needs Qt Core.
struct ReadReport {
    struct Scored {
        int State = 0;      // from 1
        std::string Score;  // "present" or "absent"
        int Group = -1;     // the index in Groups of its "Or" group, or -1
        std::string Text;   // "Present: 3. Foliage: evergreen"
    };
    struct Group {
        bool Open = false;
    };
    struct Picture {
        std::string Source;  // the src address
        int Width = 0, Height = 0;
        std::string Alt;
    };
    struct Taxon {
        int Number = 0;          // from 1
        std::string Name;        // "24. Pinus sylvestris"
        std::string Mismatches;  // the column shown with a tolerance, else empty
        std::vector<Picture> Pictures;
    };

    bool WellFormed = false;
    std::string Error;      // the XML reader's complaint when it is not
    std::string Title;      // the document's title
    std::string Heading;    // the h1
    std::string TitleLine;  // the key's title page's first line, or empty
    std::string Made, Program, Tolerance;
    int ToleranceValue = -1;
    std::vector<Scored> ScoredStates;
    std::vector<Group> Groups;
    std::string MatchingHeading;  // "2 Taxa Match"
    std::vector<Taxon> Matching;
    std::vector<int> DifferenceTaxa;                        // the table's columns, taxa from 1
    std::vector<int> DifferenceStates;                      // its rows, states from 1
    std::vector<std::vector<std::string>> DifferenceCodes;  // per row, a code per column
    std::vector<int> BestStates;
    std::string HistoryShown;  // the visible history list (pre)
    // The comment at the end, as the file holds it (an XML reader would turn its CR LF into
    // LF), and how many comments the document holds.
    std::string HistoryComment;
    int Comments = 0;
    std::string BodyText;  // every text of the body, joined
};

inline std::string Utf8(const QString& text) {
    return text.toStdString();
}

inline ReadReport ReadReportHtml(const std::string& html) {
    ReadReport report;
    QXmlStreamReader xml(QByteArray::fromStdString(html));
    // What is being read: the element names from the root down, and per element its class
    // or id, so that a text lands where its element belongs.
    struct Open {
        QString Name, Class, Id;
    };
    std::vector<Open> stack;
    auto inside = [&stack](const char* cls) {
        for (const Open& open : stack)
            if (open.Class == cls) return true;
        return false;
    };
    std::vector<int> groupStack;
    int matchingColumns = 0;      // the headings of the table of matching taxa
    int cell = 0;                 // the cells of its current row so far
    std::string* text = nullptr;  // where the texts of the current element go
    std::vector<std::string*> textStack;
    while (!xml.atEnd()) {
        QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            QXmlStreamAttributes a = xml.attributes();
            Open open{xml.name().toString(), a.value("class").toString(), a.value("id").toString()};
            QString name = open.Name;
            std::string* target = text;
            if (name == "title") {
                target = &report.Title;
            } else if (name == "h1") {
                target = &report.Heading;
            } else if (name == "p" && open.Class == "title") {
                target = &report.TitleLine;
            } else if (name == "dd" && open.Id == "made") {
                target = &report.Made;
            } else if (name == "dd" && open.Id == "program") {
                target = &report.Program;
            } else if (name == "dd" && open.Id == "tolerance") {
                target = &report.Tolerance;
                report.ToleranceValue = a.value("data-tolerance").toInt();
            } else if (name == "li" && open.Class == "or-group" && inside("scored")) {
                report.Groups.push_back({a.value("data-group") == QLatin1String("open")});
                groupStack.push_back(static_cast<int>(report.Groups.size()) - 1);
                target = nullptr;
            } else if (name == "li" && inside("scored") && a.hasAttribute("data-state")) {
                report.ScoredStates.push_back({a.value("data-state").toInt(),
                                               Utf8(a.value("data-score").toString()),
                                               groupStack.empty() ? -1 : groupStack.back(), ""});
                target = &report.ScoredStates.back().Text;
            } else if (name == "h2" && open.Id == "matching-count") {
                target = &report.MatchingHeading;
            } else if (name == "tr" && inside("matching") && a.hasAttribute("data-taxon")) {
                report.Matching.push_back({a.value("data-taxon").toInt(), "", "", {}});
                cell = 0;
                target = nullptr;
            } else if (name == "th" && inside("matching")) {
                ++matchingColumns;
            } else if (name == "td" && inside("matching") && !report.Matching.empty()) {
                // The name first; with a tolerance the mismatches next; the picture last.
                ReadReport::Taxon& taxon = report.Matching.back();
                if (cell == 0) target = &taxon.Name;
                if (cell == 1 && matchingColumns == 3) target = &taxon.Mismatches;
                ++cell;
            } else if (name == "img" && inside("matching") && !report.Matching.empty()) {
                report.Matching.back().Pictures.push_back(
                    {Utf8(a.value("src").toString()), a.value("width").toInt(),
                     a.value("height").toInt(), Utf8(a.value("alt").toString())});
            } else if (name == "th" && inside("differences") && a.hasAttribute("data-taxon")) {
                report.DifferenceTaxa.push_back(a.value("data-taxon").toInt());
            } else if (name == "tr" && inside("differences") && a.hasAttribute("data-state")) {
                report.DifferenceStates.push_back(a.value("data-state").toInt());
                report.DifferenceCodes.emplace_back();
            } else if (name == "td" && open.Class == "code" && inside("differences")) {
                report.DifferenceCodes.back().emplace_back();
                target = &report.DifferenceCodes.back().back();
            } else if (name == "li" && inside("best")) {
                report.BestStates.push_back(a.value("data-state").toInt());
            } else if (name == "pre" && open.Class == "history") {
                target = &report.HistoryShown;
            }
            stack.push_back(open);
            textStack.push_back(text);
            text = target;
        } else if (token == QXmlStreamReader::EndElement) {
            if (!stack.empty() && stack.back().Class == "or-group") groupStack.pop_back();
            if (!stack.empty()) stack.pop_back();
            if (!textStack.empty()) {
                text = textStack.back();
                textStack.pop_back();
            }
        } else if (token == QXmlStreamReader::Characters) {
            std::string chars = Utf8(xml.text().toString());
            if (text) *text += chars;
            bool inBody = false;
            for (const Open& open : stack)
                inBody |= open.Name == "body";
            if (inBody) report.BodyText += chars;
        } else if (token == QXmlStreamReader::Comment) {
            ++report.Comments;
        }
    }
    size_t begin = html.rfind("<!--");
    size_t end = html.rfind("-->");
    if (begin != std::string::npos && end != std::string::npos && end > begin)
        report.HistoryComment = html.substr(begin + 4, end - begin - 4);
    report.WellFormed = !xml.hasError();
    if (xml.hasError()) {
        report.Error = Utf8(xml.errorString()) + " at line " + std::to_string(xml.lineNumber());
    }
    return report;
}

}  // namespace vorn::testing
