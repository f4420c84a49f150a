#include "windows/taxa/ImageWindow.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/Messages.h"
#include "core/platform/Text.h"
#include "frame/Guarded.h"
#include "frame/Look.h"
#include "frame/WindowRegistry.h"
#include "windows/taxa/JpegImage.h"

namespace vorn {
namespace {

constexpr int kWidth = 469;
constexpr int kHeight = 534;

}  // namespace

TImageForm::TImageForm() : TChildForm(WindowKind::ImageForm) {
    setObjectName("ImageForm");
    setFont(SystemFont(13));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = ButtonBar(this, "Panel1");
    NextButton = BarButton(Panel1, "NextButton", "Next", "Display the next image", 0);
    PrevButton = BarButton(Panel1, "PrevButton", "Previous", "Display the previous image", 60);
    CloseButton = BarButton(Panel1, "CloseButton", "Close", "Close this window", 120, 71);
    NextButton->setEnabled(false);
    PrevButton->setEnabled(false);
    ConnectGuarded(CloseButton, &QPushButton::clicked, this, &TImageForm::CloseButtonClick);

    Image1 = new QLabel;
    Image1->setObjectName("Image1");
    Image1->resize(0, 0);
    ImageScroll = new QScrollArea(this);
    ImageScroll->setObjectName("ImageScroll");
    ImageScroll->setFrameShape(QFrame::NoFrame);
    ImageScroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ImageScroll->setWidget(Image1);

    layout->addWidget(Panel1);
    layout->addWidget(ImageScroll, 1);
}

TImageForm::~TImageForm() = default;

void TImageForm::FormCreate() {
    // Centred in the frame's client area; in a smaller frame the title bar stays reachable.
    QSize client = FrameClientSize(QSize(kWidth, kHeight));
    SetBounds(std::max(0, (client.width() - kWidth) / 2),
              std::max(0, (client.height() - kHeight) / 2), kWidth, kHeight);
}

std::string TImageForm::JpegFileName(std::string_view imageName) {
    return vorn::JpegFileName(imageName);
}

QSize TImageForm::PictureArea(QSize freeArea, int width, int height) {
    double a = freeArea.width(), b = freeArea.height();
    double r = static_cast<double>(height) / width;
    if (b / a > r) return QSize(freeArea.width(), static_cast<int>(a * r));
    return QSize(static_cast<int>(b / r), freeArea.height());
}

QSize TImageForm::FreeArea() const {
    QSize free(width(), height() - Panel1->height());
    return free.width() >= 1 && free.height() >= 1 ? free : kDesignFreeArea;
}

void TImageForm::ShowImage(const std::string& imageName) {
    std::string file = JpegFileName(imageName);
    std::string path = KeyNameToPath(file);
    if (!FileExists(path)) {
        ShowInformation("Sorry, the image file \"" + KeyTextToUtf8(file) +
                        "\" could not be found.");
        CloseForm();
        return;
    }
    try {
        LoadPicture(path);
    } catch (const IoError& error) {
        // The caption is the new one already; the picture stays the one shown before.
        ShowError(error.what());
        return;
    }
    NextButton->setEnabled(false);
    PrevButton->setEnabled(false);
    if (!picture_->Warning().empty()) {
        ShowInformation("The image file \"" + KeyTextToUtf8(file) + "\" is damaged: " +
                        picture_->Warning() + ".  Only what could be read of it is shown.");
    }
}

void TImageForm::LoadPicture(const std::string& fileName) {
    picture_.reset();
    auto picture = std::make_unique<TJPEGImage>();
    picture->ReadFile(fileName);
    // Only as many pixels as the picture area shows: libjpeg decodes at 1/8 to 8/8 of the
    // full size for a fraction of the work.
    picture->Decode(PictureArea(FreeArea(), picture->Width(), picture->Height()));
    picture_ = std::move(picture);
    SizePicture();
}

void TImageForm::SizePicture() {
    if (!picture_) return;
    QSize area = PictureArea(FreeArea(), picture_->Width(), picture_->Height());
    const QImage& decoded = picture_->Picture();
    QImage shown = decoded.size() == area
                       ? decoded
                       : decoded.scaled(area, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Image1->setPixmap(QPixmap::fromImage(std::move(shown)));
    Image1->resize(area);
}

void TImageForm::CloseButtonClick() {
    CloseForm();
}

}  // namespace vorn
