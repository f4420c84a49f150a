// The Differentiating Character States window: which states it lists and in which order,
// with and without an "Or" group, and the question on large keys with its "Don't ask
// again" box, scripted and clicked in a real message box.
#include <QCheckBox>
#include <QMessageBox>
#include <QtTest>

#include "core/session/Session.h"
#include "tests/kit/CharWindowHelpers.h"
#include "windows/states/BestWindow.h"
#include "windows/states/DifferentiatingWindow.h"
#include "windows/states/SubsetWindow.h"
#include "windows/taxa/TaxonMismatchWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

const char* const kQuestion =
    "If more than about 10 taxa match in a large key, the Differentiating States function may "
    "require some time to complete.  Do you want to continue this operation?";
const char* const kDontAskAgain = "Don't ask again while this key is open";

// `taxa` taxa and `states` states; state s is present in taxa 0..s and absent in the rest.
KeySpec Staircase(int taxa, int states) {
    KeySpec keySpec;
    keySpec.Name = "STAIRS";
    for (int t = 0; t < taxa; ++t)
        keySpec.Taxa.push_back("Taxon " + std::to_string(t + 1));
    for (int s = 0; s < states; ++s) {
        keySpec.States.push_back("State " + std::to_string(s + 1));
        std::string codes(static_cast<size_t>(taxa), '-');
        for (int t = 0; t <= s && t < taxa; ++t)
            codes[static_cast<size_t>(t)] = '+';
        keySpec.Codes.push_back(codes);
    }
    return keySpec;
}

}  // namespace

class DiffWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    TCharDiff* Open() {
        QTest::mouseClick(f->Main->DiffButton, Qt::LeftButton);
        return Windows().OpenWindow<TCharDiff>(WindowKind::CharDiff);
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void listsTheStatesThatSplitTheMatchingTaxa() {
        f->OpenAccepted(f->Write(ShrubKey()));
        CurrentSession().CountMode = true;
        TCharDiff* w = Open();
        QVERIFY(w);
        QCOMPARE(w->Caption(), QString("Differentiating Character States"));
        const LayoutMetrics m = f->Main->Metrics();
        QCOMPARE(w->Bounds(), QRect(m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight));
        // Counts 2 2 2 3 6 4 0 6 of six taxa: the scented flowers (all unknown), the blue
        // fruit (none) and the woody habit (all) split nothing.
        QCOMPARE(Lines(w), QStringList({"(2)        Leaves: simple", "(2)        Leaves: pinnate",
                                        "(2)        Leaves: palmate", "(3)        Stems: thorny",
                                        "(4)        Fruit: red"}));

        // Thorny stems present leaves Rosa, Crataegus and Cornus; the scored state goes.
        DoubleClickRow(w, 3);
        const QStringList thorny = {"(1)        Leaves: simple", "(1)        Leaves: pinnate",
                                    "(1)        Leaves: palmate", "(2)        Fruit: red"};
        QCOMPARE(Lines(w), thorny);

        // A member of an open "Or" group is scored, so it leaves the list at once; the
        // closed group leaves only Rosa canina, and with one taxon nothing splits.
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(0, RequestPresent);
        QVERIFY(!Lines(w).join('|').contains("simple"));
        CurrentSession().ToggleOrMode();
        CurrentSession().ScoreState(6, RequestAbsent);
        QCOMPARE(CurrentSession().MatchingTaxaCount(), 1);
        QCOMPARE(Lines(w), QStringList({"Only 1 taxon matches: nothing is left to separate"}));
        CurrentSession().ScoreState(0, RequestClear);
        QCOMPARE(Lines(w), thorny);
    }

    // An empty Differentiating, Best or Subset list says why in a note that cannot be
    // highlighted or scored; the note goes as soon as a state is listed again.
    void anEmptyListSaysWhy() {
        KeySpec keySpec;
        keySpec.Name = "ALIKE";
        keySpec.Taxa = {"Alpha", "Beta", "Gamma", "Delta"};
        keySpec.States = {"Leaves: simple", "Leaves: pinnate", "Fruit: red"};
        keySpec.Codes = {"+++-", "---+", "???+"};  // Alpha, Beta and Gamma are alike
        f->OpenAccepted(f->Write(keySpec));
        TCharDiff* diff = Open();
        auto* best = dynamic_cast<TCharBest*>(Windows().ShowWindow(WindowKind::CharBest));
        QVERIFY(diff && best);
        auto subsetOf = [](EntryRange range) {
            IndexEntry entry;
            entry.Text = "Some states";
            entry.Ranges = {range};
            Windows().ShowCharSubset(entry);
            return Windows().OpenWindow<TCharSubset>(WindowKind::CharSubset);
        };
        TCharSubset* subset = subsetOf({1, 2});
        QCOMPARE(Lines(diff).size(), 2);  // red fruit may be in every taxon: it splits none
        QCOMPARE(Lines(subset), QStringList({"   Leaves: pinnate"}));

        CurrentSession().ScoreState(0, RequestPresent);
        QCOMPARE(Lines(diff), QStringList({"No state separates the 3 matching taxa"}));
        QCOMPARE(Lines(best),
                 QStringList({"Nothing is left to ask: no state divides the 3 matching taxa"}));
        QCOMPARE(Lines(subset),
                 QStringList({"No state of this entry separates the 3 matching taxa"}));
        QVERIFY(diff->VornListBox->IsNote(0));
        ClickRow(diff, 0);
        QCOMPARE(diff->VornListBox->SelectedIndic(), -1);
        Click(diff->AbsentButton);
        DoubleClickRow(best, 0);
        QCOMPARE(CurrentSession().StateScore(1), uint8_t(ScoreNone));
        QCOMPARE(CurrentSession().StateScore(2), uint8_t(ScoreNone));

        // One taxon, or none: nothing to separate, said plainly.
        CurrentSession().ScoreState(2, RequestAbsent);  // "?" is no mismatch: still three
        QCOMPARE(Lines(diff), QStringList({"No state separates the 3 matching taxa"}));
        CurrentSession().ScoreState(0, RequestAbsent);
        QCOMPARE(CurrentSession().MatchingTaxaCount(), 0);
        QCOMPARE(Lines(diff), QStringList({"No taxon matches"}));
        CurrentSession().ScoreState(2, RequestClear);
        QCOMPARE(CurrentSession().MatchingTaxaCount(), 1);
        QCOMPARE(Lines(best), QStringList({"Only 1 taxon matches: nothing is left to separate"}));

        // An entry of no states, or only of states the key lacks, says so whatever matches.
        QCOMPARE(Lines(subsetOf({-1, -1})), QStringList({"This entry has no states"}));
        QCOMPARE(Lines(subsetOf({10, 12})), QStringList({"This entry has no states"}));

        CurrentSession().ResetScores();
        QCOMPARE(Lines(diff).size(), 2);
        QVERIFY(!diff->VornListBox->IsNote(0));
        QCOMPARE(Lines(subsetOf({1, 2})), QStringList({"   Leaves: pinnate"}));
    }

    void asksOnLargeKeysWithManyTaxaLeft() {
        // 201 states never ask.
        f->OpenAccepted(f->Write(Staircase(20, 201)));
        QVERIFY(Open());
        QVERIFY(f->Ui.Questions.empty());
        Windows().CloseAllWindows();

        // 202 states ask while 11 or more taxa match, at every rebuild; No closes.
        f->OpenAccepted(f->Write(Staircase(20, 202)));
        f->Ui.Answers = {true};
        TCharDiff* w = Open();
        QVERIFY(w);
        QCOMPARE(f->Ui.Questions.size(), size_t(1));
        QCOMPARE(QString::fromStdString(f->Ui.Questions[0].Text), QString(kQuestion));
        QCOMPARE(w->VornListBox->Count(), 19);            // states 1 to 19 split the 20 taxa
        CurrentSession().ScoreState(10, RequestPresent);  // 11 taxa left: asked, answered No
        QCOMPARE(f->Ui.Questions.size(), size_t(2));
        QVERIFY(!Windows().IsOpen(WindowKind::CharDiff));

        CurrentSession().ScoreState(10, RequestClear);
        CurrentSession().ScoreState(9, RequestPresent);  // 10 taxa left: no question
        QVERIFY(Open());
        QCOMPARE(f->Ui.Questions.size(), size_t(2));
        QCOMPARE(Windows().OpenWindow<TCharDiff>(WindowKind::CharDiff)->VornListBox->Count(), 9);
    }

    // Yes with the box checked stops the question for this kind of window until the key
    // is closed; the taxa Mismatch window, which asks too, still asks.
    void yesWithTheBoxCheckedAsksNoMoreWhileTheKeyIsOpen() {
        std::string des = f->Write(Staircase(102, 202));
        f->OpenAccepted(des);
        f->Ui.Answers = {true};
        f->Ui.CheckBoxAnswers = {true};
        TCharDiff* w = Open();
        QVERIFY(w);
        QCOMPARE(f->Ui.Questions.size(), size_t(1));
        QCOMPARE(f->Ui.Questions[0].CheckBox, std::optional<std::string>(kDontAskAgain));
        QCOMPARE(w->VornListBox->Count(), 101);

        CurrentSession().ScoreState(60, RequestPresent);  // 61 taxa left: rebuilt without asking
        QVERIFY(Windows().IsOpen(WindowKind::CharDiff));
        QCOMPARE(w->VornListBox->Count(), 60);
        QVERIFY(w->close());
        QCOMPARE(Open()->VornListBox->Count(), 60);
        QCOMPARE(f->Ui.Questions.size(), size_t(1));

        // Another kind of window asks, with the box; it is remembered for that kind too.
        f->Ui.Answers = {true};
        f->Ui.CheckBoxAnswers = {true};
        QTest::mouseClick(f->Main->MismatchButton, Qt::LeftButton);
        auto* mismatch = Windows().OpenWindow<TTaxMismatch>(WindowKind::TaxMismatch);
        QVERIFY(mismatch);
        QCOMPARE(f->Ui.Questions.size(), size_t(2));
        QCOMPARE(f->Ui.Questions[1].CheckBox, std::optional<std::string>(kDontAskAgain));
        CurrentSession().ScoreState(60, RequestClear);
        QVERIFY(Windows().IsOpen(WindowKind::CharDiff) &&
                Windows().IsOpen(WindowKind::TaxMismatch));
        QCOMPARE(f->Ui.Questions.size(), size_t(2));

        // The same key opened again asks again: the taxa Mismatch window, reloaded with the
        // key, and the Differentiating window, which closed with it. No closes them.
        f->OpenAccepted(des);
        QCOMPARE(f->Ui.Questions.size(), size_t(3));
        QVERIFY(!Windows().IsOpen(WindowKind::TaxMismatch));
        QVERIFY(!Open());
        QCOMPARE(f->Ui.Questions.size(), size_t(4));
        CloseKey(CurrentSession());
    }

    // No with the box checked closes the window as No does, and is not remembered.
    void noWithTheBoxCheckedIsNotRemembered() {
        f->OpenAccepted(f->Write(Staircase(20, 202)));
        f->Ui.CheckBoxAnswers = {true};
        QVERIFY(!Open());
        QVERIFY(!Windows().IsOpen(WindowKind::CharDiff));
        f->Ui.Answers = {true};
        TCharDiff* w = Open();
        QVERIFY(w);
        QCOMPARE(f->Ui.Questions.size(), size_t(2));
        CurrentSession().ScoreState(10, RequestPresent);  // asked again, answered No
        QCOMPARE(f->Ui.Questions.size(), size_t(3));
        QVERIFY(!Windows().IsOpen(WindowKind::CharDiff));
    }

    // On the desktop the question is a message box with the check box under its text,
    // unchecked; the user checks it and presses Yes.
    void theBoxIsCheckedWithTheMouse() {
        f->OpenAccepted(f->Write(Staircase(20, 202)));
        QtUserInterface qt;
        UserInterface* scripted = SetUserInterface(&qt);
        QString label;
        bool checkedAtFirst = true;
        AnswerNextDialog([&](QDialog* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            QVERIFY(box && box->checkBox());
            QCOMPARE(box->text(), QString(kQuestion));
            label = box->checkBox()->text();
            checkedAtFirst = box->checkBox()->isChecked();
            QTest::mouseClick(box->checkBox(), Qt::LeftButton);
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        });
        TCharDiff* w = Open();
        QCOMPARE(label, QString(kDontAskAgain));
        QVERIFY(!checkedAtFirst);
        QVERIFY(w);

        // Asking now would show a box: it would be answered No and close the window.
        int shown = 0;
        QPointer<QTimer> poll = AnswerNextDialog([&](QDialog* dialog) {
            ++shown;
            qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::No)->click();
        });
        CurrentSession().ScoreState(10, RequestPresent);
        CurrentSession().ScoreState(10, RequestClear);
        QCoreApplication::processEvents();
        delete poll;
        SetUserInterface(scripted);
        QCOMPARE(shown, 0);
        QVERIFY(Windows().IsOpen(WindowKind::CharDiff));
        QCOMPARE(w->VornListBox->Count(), 19);
    }
};

VORN_QTEST_MAIN(DiffWindowTest)
#include "DiffWindowTest.moc"
