// The taxa Mismatch window: every taxon ranked by its mismatches with the count always
// shown, the question on large keys, clicks that open and re-target the Mismatched States
// window, and the numbered GIF pictures handed to the desktop.
#include <QSignalSpy>
#include <QtTest>

#include <QElapsedTimer>
#include "core/session/Session.h"

#include "frame/OpenDocument.h"
#include "tests/kit/CharWindowHelpers.h"
#include "tests/kit/TaxaWindows.h"
#include "windows/states/MismatchedStatesWindow.h"
#include "windows/taxa/TaxonMismatchWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

const char* const kLargeKeyQuestion =
    "Calculating Mismatched States for large keys can require some time.  Do you want to "
    "continue this operation?";

KeySpec KeyOfTaxa(int taxa) {
    KeySpec keySpec;
    keySpec.Name = "MANY";
    for (int t = 0; t < taxa; ++t)
        keySpec.Taxa.push_back("Taxon " + std::to_string(t + 1));
    keySpec.States = {"Leaves: hairy"};
    keySpec.Codes = {std::string(static_cast<size_t>(taxa), '+')};
    return keySpec;
}

}  // namespace

class TaxMismatchTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    TTaxMismatch* Open() {
        QTest::mouseClick(f->Main->MismatchButton, Qt::LeftButton);
        return Windows().OpenWindow<TTaxMismatch>(WindowKind::TaxMismatch);
    }
    static QStringList Lines(const TTaxMismatch* w) {
        QStringList lines;
        for (int row = 0; row < w->VornListBox->Count(); ++row)
            lines << QString::fromStdString(IndicText(w->VornListBox->Indicator(row)));
        return lines;
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() {
        DesktopOpener = nullptr;
        OpenerCommand = {"xdg-open"};
        f.reset();
    }

    void ranksEveryTaxonWithItsCount() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TTaxMismatch* w = Open();
        QVERIFY(w);
        QCOMPARE(w->Caption(), QString("Mismatched Character States"));
        QCOMPARE(w->Bounds(), QRect(0, 0, f->Main->LeftPaneWidth, f->Main->PaneHeight));
        QCOMPARE(w->VornListBox->ItemHeight(), 21);
        QCOMPARE(Lines(w), QStringList({"(0)    Rosa canina", "(0)    Prunus spinosa",
                                        "(0)    Crataegus monogyna", "(0)    Sambucus nigra",
                                        "(0)    Cornus sanguinea", "(0)    Ligustrum vulgare"}));

        // Simple leaves present, thorny stems absent: counts 1 0 2 1 2 1. The counts show
        // whatever the count mode says, and ties keep the order of the taxon file.
        CurrentSession().ScoreState(0, RequestPresent);
        CurrentSession().ScoreState(3, RequestAbsent);
        QVERIFY(!CurrentSession().CountMode);
        QCOMPARE(Lines(w), QStringList({"(0)    Prunus spinosa", "(1)    Rosa canina",
                                        "(1)    Sambucus nigra", "(1)    Ligustrum vulgare",
                                        "(2)    Crataegus monogyna", "(2)    Cornus sanguinea"}));
        f->Main->Close1->trigger();
        QCOMPARE(Windows().OpenWindow<TTaxMismatch>(WindowKind::TaxMismatch), w);
        QCOMPARE(w->VornListBox->Count(), 0);
    }

    void asksOnKeysOfMoreThan101Taxa() {
        f->OpenAccepted(f->Write(KeyOfTaxa(101)));
        QCOMPARE(Open()->VornListBox->Count(), 101);
        QVERIFY(f->Ui.Questions.empty());
        Windows().CloseAllWindows();

        f->OpenAccepted(f->Write(KeyOfTaxa(102)));
        f->Ui.Answers = {true};
        TTaxMismatch* w = Open();
        QVERIFY(w);
        QCOMPARE(w->VornListBox->Count(), 102);
        QCOMPARE(f->Ui.Questions.size(), size_t(1));
        QCOMPARE(QString::fromStdString(f->Ui.Questions[0].Text), QString(kLargeKeyQuestion));
        f->Ui.Answers = {true};
        CurrentSession().ScoreState(0, RequestAbsent);  // asked again at the rebuild
        QCOMPARE(f->Ui.Questions.size(), size_t(2));
        QCOMPARE(w->VornListBox->Indicator(0).Index, 0);
        CurrentSession().ScoreState(0, RequestClear);  // No: the window closes
        QCOMPARE(f->Ui.Questions.size(), size_t(3));
        QVERIFY(!Windows().IsOpen(WindowKind::TaxMismatch));
    }

    // Opening a large key with both windows that ask open: the taxa Mismatch window asks
    // once, after the title page is accepted (the Differentiating window closes with the
    // key before), and a tick then holds until the key closes.
    void openingAKeyAsksEachWindowOnce() {
        KeySpec keySpec = KeyOfTaxa(102);
        keySpec.Name = "LARGE";
        while (keySpec.States.size() < 202) {
            keySpec.States.push_back("More " + std::to_string(keySpec.States.size()));
            std::string codes(102, '-');
            codes[keySpec.States.size() % 102] = '+';
            keySpec.Codes.push_back(codes);
        }
        std::string des = f->Write(keySpec);
        f->Ui.Answers = {true, true};
        f->OpenAccepted(f->Write(KeyOfTaxa(2)));  // a small key first, with the windows
        QVERIFY(Open());
        QVERIFY(Windows().ShowWindow(WindowKind::CharDiff));
        QVERIFY(f->Ui.Questions.empty());

        f->Ui.Answers = {true};
        f->Ui.CheckBoxAnswers = {true};
        f->OpenAccepted(des);
        QCOMPARE(f->Ui.Questions.size(), size_t(1));
        QCOMPARE(QString::fromStdString(f->Ui.Questions[0].Text), QString(kLargeKeyQuestion));
        QVERIFY(Windows().IsOpen(WindowKind::TaxMismatch));
        QCOMPARE(Open()->VornListBox->Count(), 102);
        // Ticked: scoring rebuilds the list without asking, and so does the Differentiating
        // window's own question once ticked.
        CurrentSession().ScoreState(1, RequestAbsent);  // 101 taxa left
        QCOMPARE(f->Ui.Questions.size(), size_t(1));
        f->Ui.Answers = {true};
        f->Ui.CheckBoxAnswers = {true};
        QVERIFY(Windows().ShowWindow(WindowKind::CharDiff));
        QCOMPARE(f->Ui.Questions.size(), size_t(2));
        CurrentSession().ScoreState(2, RequestAbsent);
        QCOMPARE(f->Ui.Questions.size(), size_t(2));
        QVERIFY(Windows().IsOpen(WindowKind::CharDiff));
    }

    void clicksOpenAndRetargetMismatchedStates() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TTaxMismatch* w = Open();
        CurrentSession().ScoreState(
            0, RequestPresent);  // simple leaves: Crataegus and the rest mismatch
        TVornListBox* list = w->VornListBox;
        QSignalSpy clicks(list, &TVornListBox::VornListBoxClick);
        QApplication::setActiveWindow(f->Main);
        list->setFocus();

        ClickRow(list, 2);  // (1) Crataegus monogyna
        auto* miss = Windows().OpenWindow<TCharMiss>(WindowKind::CharMiss);
        QVERIFY(miss);
        QCOMPARE(miss->Caption(), QString("Mismatched States:  Crataegus monogyna"));
        QCOMPARE(vorn::testing::Lines(miss), QStringList({"  +Leaves: simple"}));
        QVERIFY(!w->ImageButton->isEnabled() && !w->NotesButton->isEnabled());

        // Another taxon re-targets the same window, which comes up without taking the focus
        // from the list being browsed; the arrow keys go on browsing.
        ClickRow(list, 0);  // (0) Rosa canina
        QCOMPARE(Windows().OpenWindow<TCharMiss>(WindowKind::CharMiss), miss);
        QCOMPARE(miss->Caption(), QString("Mismatched States:  Rosa canina"));
        QVERIFY(vorn::testing::Lines(miss).isEmpty());
        QCOMPARE(QApplication::focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(miss->Caption(), QString("Mismatched States:  Prunus spinosa"));

        // A click on the highlighted taxon counts too: it opens the closed window again.
        miss->CloseForm();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ClickRow(list, 1);
        QVERIFY(Windows().IsOpen(WindowKind::CharMiss));
        QCOMPARE(clicks.count(), 4);  // one report per click or key, never two
    }

    void gifPicturesUpToTheFirstGap() {
        QStringList opened;
        DesktopOpener = [&opened](const QUrl& url) {
            opened << url.toLocalFile();
            return true;
        };
        KeySpec keySpec = TreesKey();
        keySpec.Taxa[1] = "Fagus sylvatica/Beech|beech";
        keySpec.Taxa[2] = "Quercus ilex/Ch\xEAne vert|ch\xEAne";
        f->OpenAccepted(f->Write(keySpec));
        for (const char* name : {"QROB01.GIF", "QROB02.GIF", "QROB04.GIF", "beech02.GIF"})
            WriteFile(f->Dir.Path() + name, "GIF89a");
        TTaxMismatch* w = Open();

        ClickRow(w->VornListBox, 0);  // the oak: 01 and 02, not 04 after the gap
        QVERIFY(w->ImageButton->isEnabled() && w->NotesButton->isEnabled());
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        QCOMPARE(opened, QStringList({QString::fromStdString(f->Dir.Path() + "QROB01.GIF"),
                                      QString::fromStdString(f->Dir.Path() + "QROB02.GIF")}));
        QVERIFY(f->Ui.Messages.empty());

        opened.clear();
        ClickRow(w->VornListBox, 1);  // the beech has 02 but no 01; the name keeps its case
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        QVERIFY(opened.isEmpty());
        QCOMPARE(f->MessageTexts(),
                 QStringList({"Sorry, the image file \"beech01.GIF\" could not be found."}));

        // A Windows-1252 name finds its files in those bytes or in UTF-8, and the desktop
        // gets each file's own bytes, percent-encoded.
        QStringList addresses;
        DesktopOpener = [&addresses](const QUrl& url) {
            addresses << QString::fromLatin1(url.toEncoded());
            return true;
        };
        WriteFile(f->Dir.Path() + "CH\xCANE01.GIF", "GIF89a");
        WriteFile(f->Dir.Path() + "ch\xC3\xAAne02.GIF", "GIF89a");
        ClickRow(w->VornListBox, 2);
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        QString folder = QString::fromLatin1(
            QUrl::fromLocalFile(QString::fromStdString(f->Dir.Path())).toEncoded());
        QCOMPARE(addresses, QStringList({folder + "CH%CANE01.GIF", folder + "ch%C3%AAne02.GIF"}));

        QCOMPARE(GifFileName("QALBA", 9), std::string("QALBA09.GIF"));
        QVERIFY(f->Ui.Messages.size() == 1);
    }

    void aPictureTheDesktopRefusesIsToldOncePerClick() {
        QStringList asked;
        DesktopOpener = [&asked](const QUrl& url) {
            asked << url.toLocalFile();
            return false;  // no viewer installed
        };
        f->OpenAccepted(f->Write(TreesKey()));
        for (const char* name : {"QROB01.GIF", "QROB02.GIF"})
            WriteFile(f->Dir.Path() + name, "GIF89a");
        TTaxMismatch* w = Open();
        ClickRow(w->VornListBox, 0);
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        // The first refusal ends the series: one message, naming the file and its folder.
        QCOMPARE(asked, QStringList({QString::fromStdString(f->Dir.Path() + "QROB01.GIF")}));
        std::string folder = f->Dir.Path().substr(0, f->Dir.Path().size() - 1);
        QCOMPARE(f->MessageTexts(),
                 QStringList({QString::fromStdString(
                     "No program could open the file \"QROB01.GIF\".  It is in the folder\n" +
                     folder + "\nOpen it from there with a program of your choice.")}));
        QCOMPARE(f->Ui.Messages[0].Kind, MessageKind::Warning);
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        QCOMPARE(f->Ui.Messages.size(), size_t(2));
        QCOMPARE(GifFileName("QALBA", 10), std::string("QALBA10.GIF"));
        QCOMPARE(GifFileName("QALBA", 100), std::string("QALBA100.GIF"));
    }

    // The desktop's opener for real: a program that fails after it started is told once
    // per click, when it has failed; one that goes on (waiting for its viewer) is never
    // waited for.
    void anOpenerThatFailsLaterIsToldAndASlowOneIsNotWaitedFor() {
        f->OpenAccepted(f->Write(TreesKey()));
        for (const char* name : {"QROB01.GIF", "QROB02.GIF"})
            WriteFile(f->Dir.Path() + name, "GIF89a");
        TTaxMismatch* w = Open();
        ClickRow(w->VornListBox, 0);
        QVERIFY(w->ImageButton->isEnabled());

        // As xdg-open exits when the browser refuses to start.
        OpenerCommand = {"sh", "-c", "exit 4", "sh"};
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(f->Ui.Messages.size(), size_t(1), 3000);
        QTest::qWait(300);  // the second picture's opener fails too, and is not told again
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
        // Whichever of the two openers fails first is the one told.
        QVERIFY(f->MessageTexts()[0].startsWith("No program could open the file \"QROB0"));

        // No opener at all: told at once.
        OpenerCommand = {f->Dir.Path() + "no-such-opener"};
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        QCOMPARE(f->Ui.Messages.size(), size_t(2));

        // An opener that stays (the viewer it started is running): the click returns at
        // once, and nothing is told, even after the opener is no longer watched.
        OpenerCommand = {"sh", "-c", "sleep 30", "sh"};
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(w->ImageButton, Qt::LeftButton);
        QVERIFY(clock.elapsed() < 2000);
        QTest::qWait(kOpenerWatchMs + 500);
        QCOMPARE(f->Ui.Messages.size(), size_t(2));
    }
};

VORN_QTEST_MAIN(TaxMismatchTest)
#include "TaxMismatchTest.moc"
