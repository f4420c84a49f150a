// The Image window: where it opens, how it sizes the picture, and what it says about files
// that are missing, are no JPEG pictures, are cut short or declare an absurd size; and the
// two windows that open it.
#include <sys/stat.h>

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include "tests/kit/JpegWriter.h"
#include "tests/kit/TaxaWindows.h"
#include "windows/states/IndexWindow.h"
#include "windows/states/SubsetWindow.h"
#include "windows/taxa/ImageWindow.h"
#include "windows/taxa/JpegImage.h"

using namespace vorn;
using namespace vorn::testing;

namespace {

// The sample key's picture of the English oak: 400 x 300 pixels.
const std::string kOak = VORN_SOURCE_DIR "/keys/QROB.JPG";

TImageForm* ImageWindow() {
    return Windows().OpenWindow<TImageForm>(WindowKind::ImageForm);
}

// The JPEG bytes with the frame header's height and width replaced.
std::string WithDeclaredSize(std::string jpeg, int width, int height) {
    size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos) qFatal("no frame header");
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height & 0xFF);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

}  // namespace

class ImageWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;

    // The six-tree key in the fixture's folder, with the oak's picture (image name QROB).
    void OpenTreesWithOak() {
        OpenKeyAccepted(f->Write(TreesKey()));
        WriteFile(f->Dir.Path() + "QROB.JPG", ReadFile(kOak));
    }

private slots:
    void init() { f = std::make_unique<GuiFixture>(); }
    void cleanup() { f.reset(); }

    void pictureArea() {
        // Relatively taller free area: full width; wider: full height; equal: full height.
        QCOMPARE(TImageForm::PictureArea({453, 469}, 100, 100), QSize(453, 453));
        QCOMPARE(TImageForm::PictureArea({500, 300}, 100, 100), QSize(300, 300));
        QCOMPARE(TImageForm::PictureArea({453, 469}, 400, 300), QSize(453, 339));
        QCOMPARE(TImageForm::PictureArea({453, 200}, 400, 300), QSize(266, 200));
        QCOMPARE(TImageForm::PictureArea({400, 300}, 4, 3), QSize(400, 300));
    }

    void decodesOnlyWhatIsShownInItsColours() {
        TJPEGImage picture;
        for (auto [area, eighths] : {std::pair{QSize(100, 75), 2},
                                     {QSize(101, 75), 3},
                                     {QSize(50, 10), 1},
                                     {QSize(), 8},
                                     {QSize(800, 600), 8}}) {
            picture.ReadFile(kOak);
            QCOMPARE(QSize(picture.Width(), picture.Height()), QSize(400, 300));
            picture.Decode(area);
            QCOMPARE(picture.ScaleEighths(), eighths);
            QCOMPARE(picture.Picture().size(), TJPEGImage::ScaledSize(400, 300, eighths));
        }
        // The oak's picture is green at its centre, not grey filler.
        QColor centre = picture.Picture().pixelColor(200, 150);
        QVERIFY2(centre.green() > centre.red() + 30, qPrintable(centre.name()));
        QVERIFY(picture.Warning().empty());

        // Grey, RGB and CMYK pictures come out in their own colours.
        struct Model {
            int components;
            std::vector<uint8_t> pixel;
            QColor colour;
        } models[] = {
            {1, {200}, QColor(200, 200, 200)},
            {3, {200, 40, 40}, QColor(200, 40, 40)},
            {4, {255, 0, 0, 255}, QColor(255, 0, 0)},  // inverted: magenta and yellow ink
        };
        for (const Model& m : models) {
            std::vector<uint8_t> pixels;
            for (int i = 0; i < 16 * 16; ++i)
                pixels.insert(pixels.end(), m.pixel.begin(), m.pixel.end());
            std::string jpeg = EncodeJpeg(16, 16, m.components, pixels, 100);
            picture.ReadBytes({jpeg.begin(), jpeg.end()}, "COLOUR.JPG");
            picture.Decode();
            QColor got = picture.Picture().pixelColor(8, 8);
            QVERIFY2(std::abs(got.red() - m.colour.red()) <= 4 &&
                         std::abs(got.green() - m.colour.green()) <= 4 &&
                         std::abs(got.blue() - m.colour.blue()) <= 4,
                     qPrintable(got.name() + " for " + m.colour.name()));
        }
    }

    void opensBesideTheTaxaAndFillsItsArea() {
        OpenTreesWithOak();
        Windows().ShowImageForm("Quercus robur", "qrob");
        TImageForm* w = ImageWindow();
        QVERIFY(w);
        QCOMPARE(w->Caption(), QString("Quercus robur"));
        QSize client = f->Main->MdiArea->viewport()->size();
        QCOMPARE(w->Bounds(), QRect(f->Main->LeftPaneWidth, (client.height() - 534) / 2, 469, 534));
        QCOMPARE(w->Panel1->geometry(), QRect(0, 0, w->width(), 19));
        for (QPushButton* b : {w->NextButton, w->PrevButton}) {
            QVERIFY(!b->isEnabled());
            // Dimmed, not the black of a usable button.
            QVERIFY(b->palette().color(QPalette::Disabled, QPalette::ButtonText) != Qt::black);
        }
        QVERIFY(w->CloseButton->isEnabled());

        QSize area = TImageForm::PictureArea(w->FreeArea(), 400, 300);
        QCOMPARE(area.width(), w->width());
        QCOMPARE(w->Image1->size(), area);
        QCOMPARE(w->Image1->pixmap().size(), area);
        QCOMPARE(w->Image1->mapTo(w, QPoint(0, 0)), QPoint(0, 19));
        QVERIFY(!w->ImageScroll->horizontalScrollBar()->isVisible());

        // Made smaller, the window keeps the picture's size and scrolls to the rest.
        w->SubWindow()->resize(300, 250);
        QCoreApplication::processEvents();
        QCOMPARE(w->Image1->size(), area);
        QVERIFY(w->ImageScroll->horizontalScrollBar()->isVisible());
        QVERIFY(w->ImageScroll->verticalScrollBar()->isVisible());

        // Smaller than its button bar, it lays out the next picture as at its design size;
        // minimized, as at the size it will be restored to.
        w->SubWindow()->resize(200, 20);
        Windows().ShowImageForm("Oak again", "QROB");
        QCOMPARE(w->Image1->size(), QSize(453, 339));
        w->SubWindow()->resize(469, 534);
        QSize normal = TImageForm::PictureArea(w->FreeArea(), 400, 300);
        w->SubWindow()->showMinimized();
        Windows().ShowImageForm("Oak minimized", "QROB");
        QVERIFY(!w->SubWindow()->isMinimized());
        QCOMPARE(w->Image1->size(), normal);
        QCOMPARE(f->Ui.Messages.size(), size_t(0));

        QTest::mouseClick(w->CloseButton, Qt::LeftButton);
        QVERIFY(!Windows().IsOpen(WindowKind::ImageForm));
    }

    void filesFoundIgnoringCaseAndInFolders() {
        OpenTreesWithOak();
        mkdir((f->Dir.Path() + "pics").c_str(), 0700);
        WriteFile(f->Dir.Path() + "pics/Oak.jpg", ReadFile(kOak));
        WriteFile(f->Dir.Path() + "qalba.jpg", ReadFile(kOak));
        QCOMPARE(TImageForm::JpegFileName("pics\\oak"), std::string("PICS\\OAK.JPG"));
        Windows().ShowImageForm("In a folder", "pics\\oak");
        QVERIFY(ImageWindow());
        Windows().ShowImageForm("Lower case file", "qalba");
        QVERIFY(ImageWindow());
        QCOMPARE(ImageWindow()->Image1->pixmap().isNull(), false);
        QCOMPARE(f->Ui.Messages.size(), size_t(0));

        // A missing file is named as built from the image name; the window closes.
        Windows().ShowImageForm("Nothing", "pics\\ash");
        QVERIFY(!Windows().IsOpen(WindowKind::ImageForm));
        QCOMPARE(f->MessageTexts(),
                 QStringList({"Sorry, the image file \"PICS\\ASH.JPG\" could not be found."}));
        QCOMPARE(f->Ui.Messages[0].Kind, MessageKind::Information);
    }

    void badFilesKeepTheWindowAndItsPicture() {
        OpenTreesWithOak();
        std::string oak = ReadFile(kOak);
        WriteFile(f->Dir.Path() + "TEXT.JPG", "Quercus robur, the English oak\r\n");
        WriteFile(f->Dir.Path() + "EMPTY.JPG", "");
        WriteFile(f->Dir.Path() + "HUGE.JPG", WithDeclaredSize(oak, 20000, 20000));
        WriteFile(f->Dir.Path() + "CUT.JPG", oak.substr(0, oak.size() * 3 / 5));

        Windows().ShowImageForm("Oak", "QROB");
        TImageForm* w = ImageWindow();
        QVERIFY(w);
        qint64 oakPixmap = w->Image1->pixmap().cacheKey();
        struct Case {
            const char* image;
            const char* message;
        } cases[] = {
            {"TEXT", "Cannot show \"TEXT.JPG\": Not a JPEG file: starts with 0x51 0x75."},
            {"EMPTY", "Cannot show \"EMPTY.JPG\": Empty input file."},
            {"HUGE",
             "Cannot show \"HUGE.JPG\": the picture is 20000 x 20000 pixels, more than "
             "the 100 megapixels that can be shown."},
        };
        for (const Case& c : cases) {
            f->Ui.Messages.clear();
            Windows().ShowImageForm(c.image, c.image);
            QCOMPARE(ImageWindow(), w);
            QCOMPARE(w->Caption(), QString(c.image));
            QCOMPARE(f->MessageTexts(), QStringList({c.message}));
            QCOMPARE(f->Ui.Messages[0].Kind, MessageKind::Error);
            QCOMPARE(w->Image1->pixmap().cacheKey(), oakPixmap);
        }

        // A picture cut short shows what could be read, and says so once.
        f->Ui.Messages.clear();
        Windows().ShowImageForm("Cut", "CUT");
        QCOMPARE(f->MessageTexts(), QStringList({"The image file \"CUT.JPG\" is damaged: Premature "
                                                 "end of JPEG file.  Only what could be read "
                                                 "of it is shown."}));
        QCOMPARE(w->Image1->size(), TImageForm::PictureArea(w->FreeArea(), 400, 300));
        QVERIFY(w->Image1->pixmap().cacheKey() != oakPixmap);

        // A new window whose first picture fails stays open, empty, with its caption.
        w->CloseForm();
        Windows().ShowImageForm("Text", "TEXT");
        QVERIFY(ImageWindow());
        QCOMPARE(ImageWindow()->Caption(), QString("Text"));
        QVERIFY(ImageWindow()->Image1->pixmap().isNull());
    }

    void matchingTaxaWindowFollowsTheHighlightedTaxon() {
        OpenTreesWithOak();
        QTest::mouseClick(f->Main->MatchButton, Qt::LeftButton);
        TTaxMatch* match = TaxMatchWindow();
        TVornListBox* list = match->VornListBox;
        ClickRow(list, RowOf(list, 0));
        QTest::mouseClick(match->ImageButton, Qt::LeftButton);
        TImageForm* w = ImageWindow();
        QVERIFY(w);
        QCOMPARE(w->Caption(), QString("Quercus robur"));
        QVERIFY(!w->Image1->pixmap().isNull());

        // The maple's picture is missing: said, and the window closes; highlighting the
        // oak again no longer opens it.
        ClickRow(list, RowOf(list, 5));
        QVERIFY(!Windows().IsOpen(WindowKind::ImageForm));
        QCOMPARE(f->MessageTexts(),
                 QStringList({"Sorry, the image file \"ACAMP.JPG\" could not be found."}));
        ClickRow(list, RowOf(list, 0));
        QVERIFY(!Windows().IsOpen(WindowKind::ImageForm));
    }

    void subsetWindowShowsItsPicture() {
        OpenKeyAccepted(VORN_SOURCE_DIR "/keys/TREES.DES");
        auto* index = Windows().OpenWindow<TCharIndex>(WindowKind::CharIndex);
        QVERIFY(index);
        Windows().ShowCharSubset(index->Entries().at(6));  // "Shape", picture "shapes"
        auto* subset = Windows().OpenWindow<TCharSubset>(WindowKind::CharSubset);
        QVERIFY(subset);
        QVERIFY(subset->ImageButton->isEnabled());
        QTest::mouseClick(subset->ImageButton, Qt::LeftButton);
        TImageForm* w = ImageWindow();
        QVERIFY(w);
        QCOMPARE(w->Caption(), subset->Caption());
        QVERIFY(w->Caption().contains("Shape"));
        QVERIFY(!w->Image1->pixmap().isNull());
        QCOMPARE(f->Ui.Messages.size(), size_t(0));

        // Closing the key closes the picture with it.
        CloseKey(CurrentSession());
        QVERIFY(!Windows().IsOpen(WindowKind::ImageForm));
    }
};

VORN_QTEST_MAIN(ImageWindowTest)
#include "ImageWindowTest.moc"
