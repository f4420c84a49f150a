// The report of an identification from the Key menu: saved as a web page or as a PDF
// document with its history list beside it, and handed to the print dialog.
#include <QAction>
#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <algorithm>

#include "core/session/Report.h"
#include "frame/PrintedDocument.h"
#include "tests/kit/CharWindowHelpers.h"
#include "tests/kit/JpegWriter.h"
#include "tests/kit/ReportReader.h"
#include "windows/states/HistoryWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

// Four oaks; English and sessile oak have pictures, only the first a file of it.
KeySpec Oaks() {
    KeySpec keySpec;
    keySpec.Name = "OAKS";
    keySpec.TitleLines = {"Oaks of Europe"};
    keySpec.Taxa = {"Quercus robur/English oak|qrob", "Quercus petraea/Sessile oak|qpet",
                    "Quercus ilex/Holm oak", "Quercus cerris"};
    keySpec.States = {"Leaves: evergreen", "Leaves: deciduous", "Acorn: stalked", "Acorn: sessile",
                      "Cupule: mossy"};
    keySpec.Codes = {"--+-", "++-+", "+-*-", "-+*+", "---+"};
    return keySpec;
}

// The text poppler reads from a PDF file; empty when it cannot.
QString PdfText(const QString& file) {
    QProcess run;
    run.start("pdftotext", {"-layout", file, "-"});
    if (!run.waitForFinished(30000) || run.exitCode() != 0) return {};
    return QString::fromUtf8(run.readAllStandardOutput());
}

// How many pictures poppler finds in a PDF file; -1 when it cannot tell.
int PdfPictures(const QString& file) {
    QProcess run;
    run.start("pdfimages", {"-list", file});
    if (!run.waitForFinished(30000) || run.exitCode() != 0) return -1;
    // Two lines of headings, then a line per picture.
    return static_cast<int>(
               QString::fromUtf8(run.readAllStandardOutput()).trimmed().split('\n').size()) -
           2;
}

// The tests read PDF files with poppler's tools.
bool HavePoppler() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty() &&
           !QStandardPaths::findExecutable("pdfimages").isEmpty();
}
constexpr const char* kNoPoppler =
    "pdftotext and pdfimages are not installed (Debian package poppler-utils)";

// The text with every run of blanks and line ends made one blank, as a PDF's lines fall,
// and ligatures ("fi" drawn as one glyph, read back as U+FB01) as their letters.
QString Words(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).simplified();
}

}  // namespace

class ReportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;
    std::string folder_;  // where reports are saved

    void OpenOaks() {
        f->OpenAccepted(f->Write(Oaks()));
        QVERIFY(CurrentSession().Key.KeyOpen);
    }
    // Scores the states (from 1) Present, in this order.
    void Score(std::initializer_list<int> states) {
        for (int s : states)
            CurrentSession().ScoreState(s - 1, RequestPresent);
    }
    QStringList Files() const {
        return QDir(QString::fromStdString(folder_)).entryList(QDir::Files, QDir::Name);
    }

private slots:
    void init() {
        f = std::make_unique<GuiFixture>();
        folder_ = f->Dir.Path() + "reports/";
        QVERIFY(QDir().mkpath(QString::fromStdString(folder_)));
        // A picture of 300 x 150 for English oak.
        WriteFile(f->Dir.Path() + "QROB.JPG",
                  EncodeJpeg(300, 150, 3, std::vector<uint8_t>(300 * 150 * 3, 90)));
    }
    void cleanup() { f.reset(); }

    void theItemsServeAnOpenKey() {
        QCOMPARE(f->Main->Savereport1->text(), QString("Save re&port..."));
        QCOMPARE(f->Main->Print1->text(), QString("Pr&int..."));
        QCOMPARE(f->Main->Print1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QVERIFY(!f->Main->Savereport1->isEnabled());
        QVERIFY(!f->Main->Print1->isEnabled());
        OpenOaks();
        QVERIFY(f->Main->Savereport1->isEnabled());
        QVERIFY(f->Main->Print1->isEnabled());
        CloseKey(CurrentSession());
        QVERIFY(!f->Main->Savereport1->isEnabled());
        QVERIFY(!f->Main->Print1->isEnabled());
        // Triggered all the same (a shortcut on its way), they do nothing.
        f->Main->Savereport1->trigger();
        f->Main->Print1->trigger();
        QVERIFY(f->Ui.Dialogs.empty());
        QVERIFY(f->Ui.Prints.empty());
    }

    void savesAWebPageWithItsHistoryListBeside() {
        OpenOaks();
        Score({5, 2});
        CurrentSession().ScoreState(1, RequestAbsent);  // state 2 again: keeps its place
        Score({2});
        f->Ui.Files.push_back(folder_ + "walk");
        f->Main->Savereport1->trigger();
        QCOMPARE(f->Ui.Dialogs.size(), size_t{1});
        const FileDialogRequest& dialog = f->Ui.Dialogs[0];
        QCOMPARE(dialog.Title, std::string("Save Report"));
        QCOMPARE(dialog.Filter, std::string("Web page (*.html);;PDF document (*.pdf)"));
        QCOMPARE(dialog.DefaultSuffix, std::string("html"));
        QVERIFY(dialog.ConfirmOverwrite);
        QCOMPARE(Files(), QStringList({"walk.HIS", "walk.html"}));
        QVERIFY(f->Ui.Messages.empty());

        // The states in the order they were first scored.
        QCOMPARE(ReadFile(folder_ + "walk.HIS"), std::string("+5\r\n+2\r\n"));
        ReadReport report = ReadReportHtml(ReadFile(folder_ + "walk.html"));
        QVERIFY2(report.WellFormed, report.Error.c_str());
        QCOMPARE(report.Heading, std::string("Identification with the key OAKS"));
        QCOMPARE(report.TitleLine, std::string("Oaks of Europe"));
        QCOMPARE(report.ScoredStates.size(), size_t{2});
        QCOMPARE(report.ScoredStates[0].Text, std::string("Present: 5. Cupule: mossy"));
        QCOMPARE(report.ScoredStates[1].Text, std::string("Present: 2. Leaves: deciduous"));
        QCOMPARE(report.MatchingHeading, std::string("1 Taxon Matches"));
        QCOMPARE(report.Matching.size(), size_t{1});
        QCOMPARE(report.Matching[0].Name, std::string("4. Quercus cerris"));
        QVERIFY(report.HistoryShown == "+5\n+2\n");
        QVERIFY(report.BodyText.find("saved beside this report as walk.HIS") != std::string::npos);
    }

    void repeatsTheHistoryWindowsListWhenItIsOpen() {
        OpenOaks();
        Score({5, 2});
        // Opened now, the window lists the states scored so far in state order, and the
        // report repeats what the window holds.
        Windows().ShowWindow(WindowKind::CharHistory);
        auto* history = Windows().OpenWindow<TCharHistory>(WindowKind::CharHistory);
        QVERIFY(history);
        QCOMPARE(history->ListedStates(), (std::vector<int32_t>{1, 4}));
        f->Ui.Files.push_back(folder_ + "walk.html");
        f->Main->Savereport1->trigger();
        QCOMPARE(ReadFile(folder_ + "walk.HIS"), std::string("+2\r\n+5\r\n"));
        ReadReport report = ReadReportHtml(ReadFile(folder_ + "walk.html"));
        QCOMPARE(report.ScoredStates.size(), size_t{2});
        QCOMPARE(report.ScoredStates[0].State, 2);
        QCOMPARE(report.ScoredStates[1].State, 5);
    }

    void savesAPdfWhoseTextIsText() {
        QVERIFY2(HavePoppler(), kNoPoppler);
        OpenOaks();
        Score({2});
        CurrentSession().ScoreState(4, RequestAbsent);  // English and sessile oak are left
        f->Ui.Files.push_back(folder_ + "walk.pdf");
        f->Main->Savereport1->trigger();
        QCOMPARE(Files(), QStringList({"walk.HIS", "walk.pdf"}));
        QVERIFY(f->Ui.Messages.empty());
        QCOMPARE(ReadFile(folder_ + "walk.HIS"), std::string("+2\r\n-5\r\n"));
        QString pdf = QString::fromStdString(folder_ + "walk.pdf");
        QVERIFY(ReadFile(folder_ + "walk.pdf").rfind("%PDF-", 0) == 0);
        QString text = Words(PdfText(pdf));
        for (const char* expected :
             {"Identification with the key OAKS", "Oaks of Europe", "Present: 2. Leaves: deciduous",
              "Absent: 5. Cupule: mossy", "2 Taxa Match", "1. Quercus robur", "2. Quercus petraea",
              "How the matching taxa differ", "4. Acorn: sessile", "Best states to score next",
              "How to repeat this identification", "+2 -5"}) {
            QVERIFY2(text.contains(expected), qPrintable(QString(expected) + " in:\n" + text));
        }
        // English oak's picture; sessile oak's file is not there.
        QCOMPARE(PdfPictures(pdf), 1);
    }

    void refusesANameItsHistoryListWouldTake() {
        OpenOaks();
        f->Ui.Files.push_back(folder_ + "walk.his");
        f->Main->Savereport1->trigger();
        QCOMPARE(f->MessageTexts(),
                 QStringList({"The report \"" + QString::fromStdString(folder_) +
                              "walk.his\" would be replaced by its own history list.  Give the "
                              "report another extension, such as .html."}));
        QVERIFY(Files().isEmpty());
        // Cancelled, nothing is written either.
        f->Main->Savereport1->trigger();
        QVERIFY(Files().isEmpty());
    }

    void printsTheSameDocument() {
        OpenOaks();
        Score({2});
        f->Ui.PrintAnswers.push_back(true);
        f->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->Main));
        QTest::keyClick(f->Main, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(f->Ui.Prints.size(), size_t{1});
        const PrintRequest& print = f->Ui.Prints[0];
        QCOMPARE(print.Title, std::string("Identification with the key OAKS"));
        ReadReport report = ReadReportHtml(print.Html);
        QVERIFY2(report.WellFormed, report.Error.c_str());
        QCOMPARE(report.MatchingHeading, std::string("3 Taxa Match"));
        QCOMPARE(report.Matching.size(), size_t{3});
        QCOMPARE(report.Matching[0].Pictures.size(), size_t{1});
        // A printout has no history list file beside it: it says how to make one.
        QVERIFY(report.BodyText.find("Save the lines below as a history list file") !=
                std::string::npos);
        QCOMPARE(report.HistoryShown, std::string("+2\n"));
        QVERIFY(Files().isEmpty());
        QVERIFY(f->Ui.Dialogs.empty());

        // What the printer is given: the same layout as the PDF, here printed to a file.
        QVERIFY2(HavePoppler(), kNoPoppler);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        QString out = QString::fromStdString(folder_ + "printed.pdf");
        printer.setOutputFileName(out);
        printer.setPageSize(LocalePageSize());
        PrintHtml(print.Html, printer);
        QString text = Words(PdfText(out));
        QVERIFY2(text.contains("3 Taxa Match") && text.contains("4. Quercus cerris"),
                 qPrintable(text));
        QCOMPARE(PdfPictures(out), 1);
    }
};

VORN_QTEST_MAIN(ReportTest)
#include "ReportTest.moc"
