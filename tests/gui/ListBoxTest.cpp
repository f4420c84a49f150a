// The list every window draws: rows that keep no text of their own, widths measured once
// for all lists, rows told to the view at once, and lines whose texts cannot be read.
// Reads of the key's state file are counted through the record files' fault hook.
#include <QSignalSpy>
#include <QtTest>
#include <cerrno>
#include <set>
#include <stdexcept>

#include "core/platform/RecordFile.h"
#include "core/session/Session.h"
#include "frame/LineWidths.h"
#include "tests/kit/CharWindowHelpers.h"
#include "tests/kit/TaxaWindows.h"
#include "windows/states/ScoreWindow.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

int64_t BodiesMeasured() {
    return Windows().Widths().BodiesMeasured();
}

// The text a row offers (what assistive technology reads; the same line is drawn).
QString Shown(const TVornListBox* list, int row) {
    return list->model()->data(list->model()->index(row, 0)).toString();
}

// Records which records of the state file are read while it lives; `failing` fails.
class StateFileReads {
public:
    explicit StateFileReads(int32_t failing = -1) {
        RecordFile::SetReadFault([this, failing](const std::string& file, int32_t record) {
            if (!file.ends_with(".CHR")) return 0;
            Records.insert(record);
            return record == failing ? EIO : 0;
        });
    }
    ~StateFileReads() { RecordFile::SetReadFault(nullptr); }
    std::set<int32_t> Records;
};

void Settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

}  // namespace

class ListBoxTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    // A line is measured once for a font, whichever list shows it and however often the
    // lists are rebuilt; a mode that changes the lines, or a key opened again, measures
    // the lines shown anew.
    void linesAreMeasuredOnceForEveryList() {
        std::string des = f->Write(ShrubKey());
        int64_t start = BodiesMeasured();
        f->OpenAccepted(des);  // opens the Score window
        auto* score = dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
        QVERIFY(score);
        QCOMPARE(BodiesMeasured() - start, 8);
        CurrentSession().ScoreState(3, RequestPresent);
        auto* active = dynamic_cast<TCharForm*>(Windows().ShowWindow(WindowKind::CharActive));
        QCOMPARE(Lines(active), QStringList({"  +Stems: thorny"}));
        QCOMPARE(BodiesMeasured() - start, 8);       // the Score window measured it
        Windows().ShowWindow(WindowKind::TaxMatch);  // three taxa match
        QCOMPARE(BodiesMeasured() - start, 11);
        Windows().ShowWindow(WindowKind::TaxMismatch);  // all six taxa, in its own larger font
        QCOMPARE(BodiesMeasured() - start, 17);

        // Each action rebuilds the Active, Matching Taxa and taxa Mismatch lists.
        CurrentSession().ScoreState(0, RequestAbsent);
        CurrentSession().ScoreState(3, RequestClear);
        Settle();
        QCOMPARE(Lines(active), QStringList({"  -Leaves: simple"}));
        QCOMPARE(Listed(TaxMatchWindow()->VornListBox), std::vector<int>({2, 3, 4, 5}));
        QCOMPARE(BodiesMeasured() - start, 19);  // taxa 3 and 5 had not matched before

        // Numbers change every body: the 8 states and the 4 matching taxa in the small
        // font, the 6 taxa in the large one.
        f->Main->Numbertoggle1->trigger();
        Settle();
        QCOMPARE(BodiesMeasured() - start, 19 + 18);
        QCOMPARE(Lines(score)[0], QString("  -1. Leaves: simple"));
        CurrentSession().ScoreState(6,
                                    RequestAbsent);  // no taxon has blue fruit: the same taxa match
        Settle();
        QCOMPARE(Lines(active), QStringList({"  -1. Leaves: simple", "  -7. Fruit: blue"}));
        QCOMPARE(BodiesMeasured() - start, 19 + 18);

        // The same key opened again may have other texts: measured anew.
        f->OpenAccepted(des);
        Settle();
        QVERIFY(BodiesMeasured() - start > 19 + 18);
    }

    // In number mode the numbers stand right-aligned in a cell as wide as the key's
    // largest, so the texts after "9." and "10." begin at the same x and are drawn alike;
    // the line's text is as before.
    void numbersAreRightAlignedSoTheTextsLineUp() {
        KeySpec keySpec;
        keySpec.Name = "TWELVE";
        keySpec.Taxa = {"Alpha", "Beta"};
        for (int s = 1; s <= 12; ++s) {
            keySpec.States.push_back(s >= 9 && s <= 11 ? "Alike" : "State " + std::to_string(s));
            keySpec.Codes.push_back("+-");
        }
        f->OpenAccepted(f->Write(keySpec));
        auto* score = dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
        TVornListBox* list = score->VornListBox;
        QCOMPARE(list->Places(8).NumberRight, -1);  // no numbers, no cell
        f->Main->Numbertoggle1->trigger();
        Settle();
        QCOMPARE(Lines(score).mid(7, 3),
                 QStringList({"   8. State 8", "   9. Alike", "   10. Alike"}));

        TVornListBox::LinePlaces nine = list->Places(8), ten = list->Places(9);
        QVERIFY(nine.NumberRight > 0);
        QCOMPARE(nine.NumberRight, ten.NumberRight);
        QCOMPARE(nine.TextLeft, ten.TextLeft);
        QCOMPARE(list->Places(0).TextLeft, nine.TextLeft);
        const QFontMetrics metrics = list->fontMetrics();
        // Nothing is cut at the right.
        QVERIFY(list->LineWidth() >= ten.TextLeft + metrics.horizontalAdvance(" State 12"));

        // What is drawn: from the cell's end on, rows 9, 10 and 11 are the same pixels,
        // and there is text there; the cells themselves differ.
        QImage drawn = list->viewport()->grab().toImage();
        auto part = [&](int row, int left, int right) {
            QRect item = list->visualRect(list->model()->index(row, 0));
            return drawn.copy(QRect(QPoint(left, item.top()), QPoint(right, item.bottom())));
        };
        int end = ten.TextLeft + metrics.horizontalAdvance(" Alike") + 2;
        QImage text9 = part(8, nine.TextLeft, end);
        QCOMPARE(part(9, ten.TextLeft, end), text9);
        QCOMPARE(part(10, ten.TextLeft, end), text9);
        int inked = 0;
        for (int y = 0; y < text9.height(); ++y)
            for (int x = 0; x < text9.width(); ++x)
                inked += qGray(text9.pixel(x, y)) < 128;
        QVERIFY(inked > 10);
        QVERIFY(part(8, 0, nine.NumberRight) != part(9, 0, ten.NumberRight));
    }

    // A rebuild of lines measured before reads nothing; drawing reads the texts of the
    // visible lines only.
    void aRebuildReadsNothingAndDrawingOnlyTheVisibleLines() {
        f->OpenAccepted(f->Write(RandomKey(10, 300, 1)));
        auto* score = dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
        TVornListBox* list = score->VornListBox;
        Settle();
        list->viewport()->grab();
        QCOMPARE(list->Count(), 300);

        StateFileReads reads;
        score->LoadList();
        QCOMPARE(list->Count(), 300);
        QVERIFY(reads.Records.empty());

        Settle();
        list->scrollTo(list->model()->index(150, 0), QAbstractItemView::PositionAtTop);
        Settle();
        reads.Records.clear();
        list->viewport()->grab();
        int first = list->indexAt(QPoint(1, 0)).row();
        int last = list->indexAt(QPoint(1, list->viewport()->height() - 1)).row();
        QCOMPARE(first, 150);
        QVERIFY(last > first + 10 && last < 299);
        std::set<int32_t> visible;
        for (int row = first; row <= last; ++row)
            visible.insert(row);
        QCOMPARE(reads.Records, visible);
    }

    // A line whose text cannot be read when it is measured or drawn shows its prefix
    // alone, and the error is told once.
    void anUnreadableLineShowsItsPrefixAndIsToldOnce() {
        f->OpenAccepted(f->Write(ShrubKey()));
        auto* score = dynamic_cast<TCharScore*>(Windows().ShowWindow(WindowKind::CharScore));
        TVornListBox* list = score->VornListBox;
        CurrentSession().ScoreState(5, RequestPresent);
        StateFileReads reads(5);
        f->Main->Numbertoggle1->trigger();  // every line is measured again
        Settle();
        list->viewport()->grab();
        Settle();
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
        QVERIFY(f->Ui.Messages[0].Text.find("SHRUBS.CHR") != std::string::npos);
        QCOMPARE(Shown(list, 4), QString("   5. Flowers: scented"));
        QCOMPARE(Shown(list, 5), QString("  +"));
        QCOMPARE(Shown(list, 6), QString("   7. Fruit: blue"));
        // The widest line is still measured from the readable ones.
        int widest = list->fontMetrics().horizontalAdvance("   5. Flowers: scented");
        QVERIFY(list->LineWidth() >= widest);
        list->viewport()->grab();
        Settle();
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
    }

    // Rows appended together reach the view at once; those added before an error stay,
    // and the error goes on to the caller.
    void rowsAddedTogetherReachTheViewAtOnce() {
        f->OpenAccepted(f->Write(ShrubKey()));
        TVornListBox list(nullptr);
        QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
        list.AddIndics([&] {
            for (int32_t state : {7, 2, 5})
                list.AddIndic(TIndicatorObj::IndicState, state, TIndicatorObj::CountStandard);
            QCOMPARE(list.model()->rowCount(), 0);
        });
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(list.model()->rowCount(), 3);
        QCOMPARE(Shown(&list, 1), QString("   Leaves: palmate"));

        QVERIFY_THROWS_EXCEPTION(std::runtime_error, list.AddIndics([&] {
            list.AddIndic(TIndicatorObj::IndicState, 0, TIndicatorObj::CountStandard);
            throw std::runtime_error("stopped");
        }));
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(list.model()->rowCount(), 4);
        QCOMPARE(list.IndexAt(3), 0);

        // One at a time outside a batch, as the History window adds a scored state.
        list.AddIndic(TIndicatorObj::IndicState, 4, TIndicatorObj::CountStandard);
        QCOMPARE(inserted.count(), 3);
        QCOMPARE(Shown(&list, 4), QString("   Flowers: scented"));
    }
};

VORN_QTEST_MAIN(ListBoxTest)
#include "ListBoxTest.moc"
