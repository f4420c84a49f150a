// Key, Check key: the text window of a check on keys worked out by hand, its lists cut at
// 1,000 lines, a check cancelled from its progress dialog, and nothing without a key; its
// Measure efficiency button, measured, cancelled, and once the key has closed.
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QtTest>

#include "tests/kit/TaxaWindows.h"
#include "windows/taxa/KeyCheckWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

// Codes of Alpha, Beta, Gamma and Delta. Alpha and Beta are separated by "Leaves: simple",
// Beta and Gamma by "Fruit: red"; no state has "+" for one and "-" for the other in the
// four other pairs. Nothing has red bark ("Smell: sweet" is "*" for Beta); Delta has no
// "+" at all, so no state is every taxon's.
KeySpec FourTaxa() {
    KeySpec keySpec;
    keySpec.Name = "FOUR";
    keySpec.Taxa = {"Alpha", "Beta", "Gamma/Common gamma", "Delta"};
    keySpec.States = {"Leaves: simple", "Bark: red", "Habit: woody", "Fruit: red", "Smell: sweet"};
    keySpec.Codes = {"+-??", "----", "+++?", "-+-?", "-*--"};
    return keySpec;
}

QString TextOf(const TTextForm* form) {
    return form->Memo1->toPlainText();
}

QPushButton* EfficiencyButton(const TTextForm* form) {
    return form->findChild<QPushButton*>("EfficiencyButton");
}

}  // namespace

class KeyCheckTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void listsWhatTheKeyCannotSeparateAndWhatNoOrEveryTaxonHas() {
        f->Main->Checkkey1->trigger();  // no key: nothing
        QVERIFY(TextWindows().empty());
        QVERIFY(f->Ui.Messages.empty());

        f->OpenAccepted(f->Write(FourTaxa()));
        f->Main->Checkkey1->trigger();
        QCOMPARE(TextWindows().size(), size_t(1));
        TTextForm* w = TextWindows().back();
        QCOMPARE(w->Caption(), QString("Key Check: FOUR"));
        QCOMPARE(TextOf(w),
                 QString("Taxa 4, states 5. Pairs of taxa no state separates for certain: 4. "
                         "States no taxon has: 1. States every taxon has: 0. "
                         "Taxa without \"+\": 1.\n"
                         "\n"
                         "Pairs of taxa that no state separates for certain (\"+\" for one, "
                         "\"-\" for the other): 4\n"
                         "  1. Alpha  and  3. Gamma\n"
                         "  1. Alpha  and  4. Delta\n"
                         "  2. Beta  and  4. Delta\n"
                         "  3. Gamma  and  4. Delta\n"
                         "\n"
                         "States that no taxon has (no \"+\" or \"*\"): 1\n"
                         "  2. Bark: red\n"
                         "\n"
                         "States that every taxon has (all \"+\"): 0\n"
                         "  (none)\n"
                         "\n"
                         "Taxa with no state coded \"+\": 1\n"
                         "  4. Delta\n"));

        // A second check opens a window of its own; the first stays.
        CurrentSession().ScoreState(0, RequestPresent);  // the scores change nothing in the check
        f->Main->Checkkey1->trigger();
        QCOMPARE(TextWindows().size(), size_t(2));
        QCOMPARE(TextOf(TextWindows().back()), TextOf(w));
        // Check windows stay open when the key closes.
        f->Main->Close1->trigger();
        QCOMPARE(TextWindows().size(), size_t(2));
    }

    void longListsStopAtAThousandLines() {
        // 50 taxa coded "?" for the one state: 1,225 pairs, none separated, and no taxon
        // with a "+". The thousandth pair is 29 and 35 (1 to 28 make 49 + 48 + ... + 22 = 994).
        KeySpec keySpec;
        keySpec.Name = "FOGGY";
        for (int t = 1; t <= 50; ++t)
            keySpec.Taxa.push_back("Taxon " + std::to_string(t));
        keySpec.States = {"Leaves: unknown"};
        keySpec.Codes = {std::string(50, '?')};
        f->OpenAccepted(f->Write(keySpec));
        f->Main->Checkkey1->trigger();
        QStringList lines = TextOf(TextWindows().back()).split('\n');
        int pairs = lines.indexOf(
            "Pairs of taxa that no state separates for certain (\"+\" for "
            "one, \"-\" for the other): 1225");
        QVERIFY(pairs > 0);
        QCOMPARE(lines[pairs + 1], QString("  1. Taxon 1  and  2. Taxon 2"));
        QCOMPARE(lines[pairs + 1000], QString("  29. Taxon 29  and  35. Taxon 35"));
        QCOMPARE(lines[pairs + 1001], QString("  ... and 225 more"));
        QCOMPARE(lines[pairs + 1002], QString());
        // The 50 taxa without "+" are all shown.
        int without = lines.indexOf("Taxa with no state coded \"+\": 50");
        QCOMPARE(lines[without + 50], QString("  50. Taxon 50"));
    }

    void cancellingShowsHowFarTheCheckGot() {
        // The most taxa a key may have, told apart by 16 states that spell each taxon's
        // number in binary: two billion pairs, which take seconds to check.
        KeySpec keySpec;
        keySpec.Name = "MANY";
        const int taxa = MaxKeyItems;
        for (int t = 0; t < taxa; ++t)
            keySpec.Taxa.push_back("T" + std::to_string(t + 1));
        for (int bit = 0; bit < 16; ++bit) {
            keySpec.States.push_back("Bit " + std::to_string(bit));
            std::string codes(taxa, '-');
            for (int t = 0; t < taxa; ++t)
                if (t >> bit & 1) codes[static_cast<size_t>(t)] = '+';
            keySpec.Codes.push_back(codes);
        }
        f->OpenAccepted(f->Write(keySpec));

        QString label;
        AnswerNextDialog([&](QDialog* dialog) {
            auto* progress = qobject_cast<QProgressDialog*>(dialog);
            QVERIFY(progress);
            label = progress->labelText();
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        f->Main->Checkkey1->trigger();
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(label, QString("Checking the key MANY..."));
        QCOMPARE(TextWindows().size(), size_t(1));
        QStringList lines = TextOf(TextWindows().back()).split('\n');
        QRegularExpressionMatch done =
            QRegularExpression(
                "^Cancelled after (\\d+) of 65535 taxa: the pairs below are those "
                "that include one of the first (\\d+) taxa\\.$")
                .match(lines[1]);
        QVERIFY2(done.hasMatch(), qPrintable(lines[1]));
        int n = done.captured(1).toInt();
        QVERIFY(n > 0 && n < taxa);
        QCOMPARE(done.captured(2).toInt(), n);
        QVERIFY(lines.contains("Taxa with no state coded \"+\": 1"));
        QVERIFY(lines.contains("  1. T1"));
    }

    void measuringEfficiencyAddsTheFiguresBelowTheCheck() {
        f->OpenAccepted(f->Write(FourTaxa()));
        f->Main->Checkkey1->trigger();
        TTextForm* w = TextWindows().back();
        QString check = TextOf(w);
        QPushButton* button = EfficiencyButton(w);
        QVERIFY(button);
        QCOMPARE(button->text(), QString("Measure &efficiency"));
        QVERIFY(button->isEnabled());
        CurrentSession().ScoreState(2, RequestPresent);  // the scores change nothing in the measure
        QTest::mouseClick(button, Qt::LeftButton);
        // Both orders ask "Fruit: red" early; Delta, "?" there and on "Leaves: simple" and
        // "Habit: woody", can answer only "Smell: sweet". Every taxon stays with those the
        // check could not separate it from.
        QCOMPARE(
            TextOf(w),
            check +
                "\n"
                "How many answers a user needs\n"
                "Taxa 4; log2 4 = 2, the fewest yes/no answers that can single out one "
                "taxon.\n"
                "Every taxon played as the specimen, at tolerance 0.\n"
                "\n"
                "Answers in the Best order: mean 2.25, median 2.5, largest 3. Reached alone: 0 "
                "of 4.\n"
                "Taxa not reached in the Best order, with the taxa left with them: 4\n"
                "  1. Alpha  with  3. Gamma, 4. Delta\n"
                "  2. Beta  with  4. Delta\n"
                "  3. Gamma  with  1. Alpha, 4. Delta\n"
                "  4. Delta  with  1. Alpha, 2. Beta, 3. Gamma\n"
                "\n"
                "Answers in the Differentiating order: mean 1.75, median 2, largest 2. "
                "Reached alone: 0 of 4.\n"
                "Taxa not reached in the Differentiating order, with the taxa left with "
                "them: 4\n"
                "  1. Alpha  with  3. Gamma, 4. Delta\n"
                "  2. Beta  with  4. Delta\n"
                "  3. Gamma  with  1. Alpha, 4. Delta\n"
                "  4. Delta  with  1. Alpha, 2. Beta, 3. Gamma\n");
        QVERIFY(!button->isEnabled());
        // The figures are in view: the first line shown is their heading.
        QCOMPARE(w->Memo1->cursorForPosition(QPoint(2, 2)).block().text(),
                 QString("How many answers a user needs"));
        QVERIFY(f->Ui.Messages.empty());

        // At the tolerance in force.
        CurrentSession().ChangeTolerance(1);
        f->Main->Checkkey1->trigger();
        QTest::mouseClick(EfficiencyButton(TextWindows().back()), Qt::LeftButton);
        QVERIFY(TextOf(TextWindows().back())
                    .contains("\nEvery taxon played as the specimen, at tolerance 1.\n"));
        CurrentSession().ChangeTolerance(0);

        // A window whose key has closed only says so.
        f->Main->Checkkey1->trigger();
        w = TextWindows().back();
        check = TextOf(w);
        f->Main->Close1->trigger();
        QTest::mouseClick(EfficiencyButton(w), Qt::LeftButton);
        QCOMPARE(f->MessageTexts(),
                 QStringList{"The key FOUR is no longer open.  Open it again to measure its "
                             "efficiency."});
        QCOMPARE(TextOf(w), check);
    }

    void cancellingTheMeasureAddsNothing() {
        // 10,000 taxa and 300 states: a sample of 2,000 played twice takes seconds.
        KeySpec keySpec = RandomKey(10000, 300, 5);
        keySpec.Name = "LARGE";
        f->OpenAccepted(f->Write(keySpec));
        f->Main->Checkkey1->trigger();
        TTextForm* w = TextWindows().back();
        QString check = TextOf(w);

        QString label;
        AnswerNextDialog([&](QDialog* dialog) {
            auto* progress = qobject_cast<QProgressDialog*>(dialog);
            QVERIFY(progress);
            label = progress->labelText();
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(EfficiencyButton(w), Qt::LeftButton);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(label, QString("Measuring the efficiency of the key LARGE..."));
        QCOMPARE(TextOf(w), check);
        QVERIFY(EfficiencyButton(w)->isEnabled());
    }
};

VORN_QTEST_MAIN(KeyCheckTest)
#include "KeyCheckTest.moc"
