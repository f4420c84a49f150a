#pragma once

#include <memory>
#include <string>

#include "core/key/PictureNames.h"  // GifFileName, the names the Image button opens
#include "windows/taxa/TaxaWindow.h"

namespace vorn {

// The taxa Mismatch window ("Mismatched Character States"): every taxon of the key, fewest
// mismatches first, each with its count. Highlighting a taxon points the Mismatched States
// window at it; the Image button hands the taxon's numbered GIF pictures to the desktop.
class TTaxMismatch : public TTaxForm {
    Q_OBJECT
public:
    TTaxMismatch();

    QWidget* TopPanel = nullptr;  // the button bar

    // Asks first on a key of more than 101 taxa (frame/RebuildQuestion.h; No closes the
    // window), then rebuilds the list from the engine's ranking. The buttons keep their
    // state.
    void LoadList() override;

public slots:
    // On every click, also on the highlighted taxon: the buttons follow it, then as a
    // double-click.
    void VornListBoxClick();
    // Opens or re-targets the Mismatched States window on the highlighted taxon.
    void VornListBoxDblClick();
    // Hands NAME01.GIF, NAME02.GIF ... up to the first missing number to the desktop; tells
    // the user when there is not even the first.
    void ImageButtonClick();
};

// Asks the desktop to open a file with the program it associates with its type. The whole
// name is passed, however long. When the desktop refuses, the user is told (see
// ShowOnDesktop; files of one click share `toldOnce`), and a refusal at once is false.
bool ShellOpenFile(const std::string& fileName, std::shared_ptr<bool> toldOnce = nullptr);

}  // namespace vorn
