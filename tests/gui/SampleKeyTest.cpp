// The sample key in keys/: it opens, every taxon's notes and picture are where its record
// says, and the pictures of its index are there too.
#include <QAction>
#include <QFile>
#include <QImageReader>
#include <QPlainTextEdit>
#include <QtTest>

#include "core/platform/FileLookup.h"
#include "tests/kit/TaxaWindows.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

// The picture file the image window looks for: the name in upper case, then ".JPG".
std::string PictureFile(const std::string& imageName) {
    std::string name = KeyNameToPath(imageName);
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name + ".JPG";
}

void CheckPicture(const std::string& imageName) {
    std::string file = PictureFile(imageName);
    QVERIFY2(FileExists(file), file.c_str());
    QImageReader reader(QString::fromStdString(ResolveFileName(file)));
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QImage picture = reader.read();
    QVERIFY2(!picture.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(picture.size(), QSize(400, 300));
    QVERIFY(QFile(QString::fromStdString(file)).size() < 60000);
}

}  // namespace

class SampleKeyTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

private slots:
    void init() {
        f = std::make_unique<GuiFixture>();
        OpenKeyAccepted(VORN_SOURCE_DIR "/keys/TREES.DES");
    }
    void cleanup() { f.reset(); }

    void opensWithItsIndex() {
        QVERIFY(CurrentSession().Key.KeyOpen);
        QCOMPARE(CurrentSession().Key.TaxonCount, 30);
        QCOMPARE(CurrentSession().Key.StateCount, 108);
        QVERIFY(!CurrentSession().Key.IndFileName.empty());
        QVERIFY(f->Main->Index1->isEnabled());
        QVERIFY(f->Ui.Messages.empty());
    }

    void everyTaxonsNotesAndPicture() {
        QTest::mouseClick(f->Main->MatchButton, Qt::LeftButton);
        TTaxMatch* w = TaxMatchWindow();
        QVERIFY(w);
        TVornListBox* list = w->VornListBox;
        QCOMPARE(list->Count(), 30);
        int notes = 0, pictures = 0;
        for (int row = 0; row < list->Count(); ++row) {
            const TIndicatorObj& taxon = list->Indicator(row);
            QVERIFY(taxon.CommonName);
            if (taxon.ImageName) {
                ++pictures;
                CheckPicture(*taxon.ImageName);
            }
            if (taxon.NotesName) {
                ++notes;
                ClickRow(list, row);
                size_t before = TextWindows().size();
                QTest::mouseClick(w->NotesButton, Qt::LeftButton);
                QCOMPARE(TextWindows().size(), before + 1);
                TTextForm* text = TextWindows().back();
                QCOMPARE(text->Caption(), "Notes:  " + QString::fromStdString(*taxon.Text));
                QVERIFY(text->Memo1->document()->blockCount() >= 3);
            }
        }
        QCOMPARE(pictures, 12);
        QCOMPARE(notes, 24);
        QVERIFY(f->Ui.Messages.empty());
    }

    void pictureOfEveryIndexEntry() {
        // Entry lines are the only lines of the index with a "|"; the picture name follows it.
        QFile index(QString::fromStdString(ResolveFileName(CurrentSession().Key.IndFileName)));
        QVERIFY(index.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = index.readAll().split('\n');
        QCOMPARE(lines.first(), QByteArray("6 26 2\r"));
        int pictures = 0;
        for (QByteArray line : lines) {
            line = line.trimmed();
            if (int bar = line.indexOf('|'); bar >= 0) {
                ++pictures;
                CheckPicture(line.mid(bar + 1).toStdString());
            }
        }
        QCOMPARE(pictures, 6);
    }
};

VORN_QTEST_MAIN(SampleKeyTest)
#include "SampleKeyTest.moc"
