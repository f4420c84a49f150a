#pragma once

#include <QSize>
#include <memory>
#include <string>
#include <string_view>

#include "frame/ChildForm.h"
#include "frame/WindowTargets.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace vorn {

class TJPEGImage;

// The one picture of a taxon or of a group of states. The window manager creates it (or
// reuses the open one), captions it and hands it an image name; the window finds the
// picture file, decodes it, and lays it out to fill the free area under its button bar
// in one direction, keeping its proportions. There is no browsing: Next and Previous are
// never enabled.
class TImageForm : public TChildForm, public ImageTarget {
    Q_OBJECT
public:
    TImageForm();
    ~TImageForm() override;

    QWidget* Panel1 = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* PrevButton = nullptr;
    QPushButton* CloseButton = nullptr;
    // Scrolls the picture when the window is smaller than the picture area.
    QScrollArea* ImageScroll = nullptr;
    QLabel* Image1 = nullptr;

    // The picture file of an image name: upper case (a to z only) and ".JPG", no folder
    // added; a "\" in the name is a folder separator when the file is opened.
    static std::string JpegFileName(std::string_view imageName);
    // The picture area of a width x height picture in `freeArea`: the full width when the
    // area is relatively taller than the picture, else the full height; truncated.
    static QSize PictureArea(QSize freeArea, int width, int height);
    // The free area when the window has none (minimized, or smaller than its button bar):
    // the one it has at its design size, so the picture is whole once the window is
    // restored or enlarged.
    static constexpr QSize kDesignFreeArea{453, 469};

    // Shows the picture of `imageName`, or says that its file is missing and closes the
    // window. A file that cannot be shown reports an IoError and leaves the window as it
    // was; damaged picture data shows what could be decoded, and says so once.
    void ShowImage(const std::string& imageName) override;
    // Decodes `fileName` into a new current picture and lays it out. Throws IoError,
    // keeping the picture shown before.
    void LoadPicture(const std::string& fileName);
    // Places Image1 under the button bar with the picture area of the current picture, and
    // puts the picture into it, scaled.
    void SizePicture();
    // The client area under the button bar, or kDesignFreeArea when there is none.
    QSize FreeArea() const;
    // The current picture, or null.
    const TJPEGImage* Picture() const { return picture_.get(); }

public slots:
    void CloseButtonClick();

protected:
    void FormCreate() override;

private:
    std::unique_ptr<TJPEGImage> picture_;
};

}  // namespace vorn
