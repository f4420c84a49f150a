// Taxon notes: finding the file a record names, the message when there is none, and the
// text windows that show them: their layout, lines, limits and life beside the registry.
#include <sys/stat.h>

#include <QAction>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>
#include <filesystem>

#include "core/key/NotesText.h"
#include "tests/kit/TaxaWindows.h"

using namespace vorn;
using namespace vorn::testing;

class NotesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;
    TTaxMatch* w = nullptr;

    void OpenKeyAndWindow() {
        OpenKeyAccepted(f->Write(TreesKey()));
        QTest::mouseClick(f->Main->MatchButton, Qt::LeftButton);
        w = TaxMatchWindow();
        if (!w) qFatal("the Matching Taxa window did not open");
    }

    // Highlights a taxon and presses Notes; returns the text windows opened by it.
    std::vector<TTextForm*> PressNotes(int taxon) {
        std::vector<TTextForm*> before = TextWindows();
        int row = RowOf(w->VornListBox, taxon);
        if (w->VornListBox->SelectedRow() != row) ClickRow(w->VornListBox, row);
        QTest::mouseClick(w->NotesButton, Qt::LeftButton);
        std::vector<TTextForm*> after = TextWindows();
        return std::vector<TTextForm*>(after.begin() + static_cast<long>(before.size()),
                                       after.end());
    }

    static void Close(TTextForm* form) { QTest::mouseClick(form->CloseButton, Qt::LeftButton); }

private slots:
    void init() {
        f = std::make_unique<GuiFixture>();
        WriteFile(f->Dir.Path() + "QROB.TXT", "English oak.\r\nLobed leaves.\r\n");
        std::filesystem::create_directory(f->Dir.Path() + "notes");
        WriteFile(f->Dir.Path() + "notes/lime.txt", "Small-leaved lime.");
        OpenKeyAndWindow();
    }
    void cleanup() {
        f.reset();
        w = nullptr;
    }

    void textWindowLayout() {
        std::vector<TTextForm*> opened = PressNotes(0);
        QCOMPARE(opened.size(), size_t(1));
        TTextForm* t = opened[0];
        QCOMPARE(Windows().OpenWindow<TTextForm>(WindowKind::TextForm), t);
        QCOMPARE(t->Caption(), QString("Notes:  Quercus robur"));
        QCOMPARE(t->Memo1->toPlainText(), QString("English oak.\nLobed leaves."));

        // 592 x 288, centred in the frame's client area.
        QSize client = f->Main->MdiArea->viewport()->size();
        QCOMPARE(t->Bounds(),
                 QRect((client.width() - 592) / 2, (client.height() - 288) / 2, 592, 288));

        QCOMPARE(t->TopPanel->objectName(), QString("TopPanel"));
        QCOMPARE(t->TopPanel->height(), 19);
        QCOMPARE(t->CloseButton->objectName(), QString("CloseButton"));
        QCOMPARE(t->CloseButton->text(), QString("&Close"));
        QCOMPARE(t->CloseButton->geometry(), QRect(0, 0, 60, 19));
        QCOMPARE(t->CloseButton->toolTip(), QString("Close this window"));
        QCOMPARE(t->CloseButton->font().pixelSize(), 9);
        QVERIFY(t->CloseButton->font().bold());
        QCOMPARE(t->Memo1->objectName(), QString("Memo1"));
        QCOMPARE(t->Memo1->font().pixelSize(), 13);
        QCOMPARE(t->Memo1->geometry().top(), 19);
        // Two short lines need no scroll bars.
        QVERIFY(!t->Memo1->verticalScrollBar()->isVisible());
        QVERIFY(!t->Memo1->horizontalScrollBar()->isVisible());

        // The text cannot be changed, and neither a click nor typing reaches it.
        QVERIFY(t->Memo1->isReadOnly());
        QCOMPARE(t->Memo1->focusPolicy(), Qt::NoFocus);
        QTest::mouseClick(t->Memo1->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
        QVERIFY(!t->Memo1->hasFocus());
        QTest::keyClicks(t->Memo1, "typed");
        QTest::keyClick(t->Memo1, Qt::Key_Delete);
        QTest::keyClick(t->Memo1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(t->Memo1->toPlainText(), QString("English oak.\nLobed leaves."));
        Close(t);
        QVERIFY(!Windows().IsOpen(WindowKind::TextForm));
        QVERIFY(TextWindows().empty());
        QVERIFY(f->Ui.Messages.empty());
    }

    void scrollBarsComeWithNotesThatNeedThem() {
        std::string lines;
        for (int i = 1; i <= 40; ++i)
            lines += "Line " + std::to_string(i) + "\r\n";
        WriteFile(f->Dir.Path() + "QROB.TXT", lines);
        TTextForm* tall = PressNotes(0).at(0);
        QCoreApplication::processEvents();  // as the window is drawn
        QVERIFY(tall->Memo1->verticalScrollBar()->isVisible());
        QVERIFY(!tall->Memo1->horizontalScrollBar()->isVisible());
        // The text takes no focus, yet its scroll bar reaches the last line.
        QScrollBar* bar = tall->Memo1->verticalScrollBar();
        QVERIFY(bar->isEnabled() && bar->maximum() > 0);
        bar->setValue(bar->maximum());
        QVERIFY(tall->Memo1->cursorForPosition(QPoint(5, tall->Memo1->viewport()->height() - 8))
                    .block()
                    .text()
                    .startsWith("Line 40"));

        WriteFile(f->Dir.Path() + "QROB.TXT", std::string(400, 'w') + "\r\n");
        TTextForm* wide = PressNotes(0).at(0);
        QCoreApplication::processEvents();
        QVERIFY(wide->Memo1->horizontalScrollBar()->isVisible());
        QVERIFY(!wide->Memo1->verticalScrollBar()->isVisible());
    }

    void findingTheNotesFile() {
        // No such file: the name exactly as the record has it.
        QVERIFY(PressNotes(5).empty());
        // A record ending in ">" names no file at all.
        QVERIFY(PressNotes(2).empty());
        QCOMPARE(f->Ui.Texts(), std::vector<std::string>(
                                    {"Sorry, the notes file \"MISSING.TXT\" could not be found.",
                                     "Sorry, the notes file \"\" could not be found."}));
        QCOMPARE(f->Ui.Messages[0].Kind, MessageKind::Information);

        // "\" in the record is a folder; letter case is the file system's business.
        std::vector<TTextForm*> opened = PressNotes(4);
        QCOMPARE(opened.size(), size_t(1));
        QCOMPARE(opened[0]->Caption(), QString("Notes:  Tilia cordata"));
        QCOMPARE(opened[0]->Memo1->toPlainText(), QString("Small-leaved lime."));
        QCOMPARE(f->Ui.Messages.size(), size_t(2));

        // A folder of the notes' name is no notes file.
        std::filesystem::remove(f->Dir.Path() + "notes/lime.txt");
        std::filesystem::create_directory(f->Dir.Path() + "notes/LIME.TXT");
        QVERIFY(PressNotes(4).empty());
        QCOMPARE(f->Ui.Texts().back(),
                 "Sorry, the notes file \"notes\\LIME.TXT\" could not be found.");
    }

    void linesOfTheFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("LF") << QByteArray("one\ntwo\nthree\n") << "one\ntwo\nthree";
        QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\nthree\r\n") << "one\ntwo\nthree";
        QTest::newRow("CR") << QByteArray("one\rtwo\rthree\r") << "one\ntwo\nthree";
        QTest::newRow("mixed") << QByteArray("one\r\ntwo\nthree\rfour") << "one\ntwo\nthree\nfour";
        QTest::newRow("no line end") << QByteArray("a single line") << "a single line";
        QTest::newRow("blank lines") << QByteArray("one\r\n\r\n\ntwo\n\n") << "one\n\n\ntwo\n";
        QTest::newRow("LF CR is two ends") << QByteArray("one\n\rtwo") << "one\n\ntwo";
        QTest::newRow("blanks and tabs kept")
            << QByteArray("  indented\tcell \r\n") << "  indented\tcell ";
        QTest::newRow("Windows text") << QByteArray("caf\xe9 \x93quoted\x94 \xa9")
                                      << QString::fromUtf8("caf\u00e9 \u201cquoted\u201d \u00a9");
        QTest::newRow("empty file") << QByteArray() << "";
    }
    void linesOfTheFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        WriteFile(f->Dir.Path() + "QROB.TXT", bytes.toStdString());
        std::vector<TTextForm*> opened = PressNotes(0);
        QCOMPARE(opened.size(), size_t(1));
        QCOMPARE(opened[0]->Memo1->toPlainText(), shown);
        QVERIFY(f->Ui.Messages.empty());
    }

    void everyRequestGivesANewWindow() {
        std::vector<TTextForm*> first = PressNotes(0);
        std::vector<TTextForm*> second = PressNotes(0);
        QCOMPARE(first.size(), size_t(1));
        QCOMPARE(second.size(), size_t(1));
        TTextForm* older = first[0];
        TTextForm* newer = second[0];
        QCOMPARE(newer->Caption(), older->Caption());
        QCOMPARE(newer->Memo1->toPlainText(), older->Memo1->toPlainText());
        QCOMPARE(Windows().OpenWindow<TTextForm>(WindowKind::TextForm), newer);

        // Every text window is tracked: closing the older one leaves the newer one open,
        // and closing all windows closes every text window.
        Close(older);
        QCOMPARE(Windows().OpenWindow<TTextForm>(WindowKind::TextForm), newer);
        TTextForm* third = PressNotes(0)[0];
        QCOMPARE(Windows().OpenForms(WindowKind::TextForm).size(), size_t(2));
        f->Main->Closeallwindows1->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(TextWindows().empty());
        QVERIFY(!Windows().IsOpen(WindowKind::TextForm));
        Q_UNUSED(third);
    }

    void textWindowsKeepTheirTextAndCaption() {
        TTextForm* scientific = PressNotes(0)[0];
        // A caption follows the name mode when the window is opened, not afterwards.
        f->Main->Commononly1->trigger();
        QCOMPARE(scientific->Caption(), QString("Notes:  Quercus robur"));
        TTextForm* common = PressNotes(0)[0];
        QCOMPARE(common->Caption(), QString("Notes:  English oak"));
        f->Main->Bothnames1->trigger();
        QCOMPARE(PressNotes(0)[0]->Caption(), QString("Notes:  Quercus robur, English oak"));
        QCOMPARE(PressNotes(2).size(), size_t(0));

        // Nor does a change of the file or closing the key touch an open window.
        WriteFile(f->Dir.Path() + "QROB.TXT", "Changed.");
        f->Main->Close1->trigger();
        QCOMPARE(TextWindows().size(), size_t(3));
        QCOMPARE(scientific->Caption(), QString("Notes:  Quercus robur"));
        QCOMPARE(common->Caption(), QString("Notes:  English oak"));
        QCOMPARE(common->Memo1->toPlainText(), QString("English oak.\nLobed leaves."));
        QCOMPARE(TaxMatchWindow()->VornListBox->Count(), 0);
    }

    void unreadableNotesFile() {
        // A pipe passes for an existing file but would never deliver an end.
        std::string fifo = f->Dir.Path() + "QROB.TXT";
        std::filesystem::remove(fifo);
        QVERIFY(::mkfifo(fifo.c_str(), 0600) == 0);
        ClickRow(w->VornListBox, RowOf(w->VornListBox, 0));
        RunQueued(w, "NotesButtonClick");
        std::vector<TTextForm*> opened = TextWindows();
        QCOMPARE(opened.size(), size_t(1));
        QCOMPARE(opened[0]->Caption(), QString("Notes:  Quercus robur"));
        QCOMPARE(opened[0]->Memo1->toPlainText(), QString());
        QVERIFY(Windows().IsOpen(WindowKind::TextForm));
        QCOMPARE(f->Ui.Messages.size(), size_t(1));
        QCOMPARE(f->Ui.Messages[0].Kind, MessageKind::Error);
        QVERIFY2(f->Ui.Messages[0].Text.find("\"QROB.TXT\"") != std::string::npos,
                 f->Ui.Messages[0].Text.c_str());
    }

    void longNotesAreCut() {
        const std::string cut =
            "The notes file \"QROB.TXT\" is too long to show in full.  Only its beginning is "
            "shown.";

        // Up to the limit nothing is cut.
        WriteFile(f->Dir.Path() + "QROB.TXT", std::string(kMaxNotesBytes, 'x'));
        QCOMPARE(PressNotes(0)[0]->Memo1->toPlainText().size(), qsizetype(kMaxNotesBytes));
        QVERIFY(f->Ui.Messages.empty());

        // One line beyond the byte limit: its beginning is shown, and the user is told.
        WriteFile(f->Dir.Path() + "QROB.TXT", std::string(kMaxNotesBytes + 7, 'y'));
        QCOMPARE(PressNotes(0)[0]->Memo1->toPlainText().size(), qsizetype(kMaxNotesBytes));
        QCOMPARE(f->Ui.Texts(), std::vector<std::string>({cut}));

        // Many short lines: the first ones are shown.
        std::string lines;
        for (int i = 1; i <= kMaxNotesLines + 500; ++i)
            lines += std::to_string(i) + "\r\n";
        WriteFile(f->Dir.Path() + "QROB.TXT", lines);
        QPlainTextEdit* memo = PressNotes(0)[0]->Memo1;
        QCOMPARE(memo->document()->blockCount(), kMaxNotesLines);
        QCOMPARE(memo->document()->lastBlock().text(), QString::number(kMaxNotesLines));
        QCOMPARE(f->Ui.Texts().back(), cut);
        QCOMPARE(f->Ui.Messages.size(), size_t(2));
    }
};

VORN_QTEST_MAIN(NotesTest)
#include "NotesTest.moc"
