#pragma once

#include <QString>
#include <cstddef>
#include <string>

#include "app/ChildForm.h"

class QPlainTextEdit;
class QPushButton;

namespace vorn {

// A read-only view of a text file: the notes of a taxon. The notes lookup creates one for
// every request, captions it and fills it; afterwards nothing changes it, whatever happens
// to the key, the scores or the display modes. Any number can be open at once; the window
// registry names the newest and keeps one open flag for all of them.
class TTextForm : public TChildForm {
    Q_OBJECT
public:
    TTextForm();

    QWidget* TopPanel = nullptr;
    QPushButton* CloseButton = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    // Shows the lines of `fileName` (resolved as every key file is), split at CR, LF or
    // CR LF, decoded as the key's 8-bit text. Throws IoError when the file cannot be read,
    // leaving the area as it was. Only the first kMaxTextBytes bytes are shown; the user is
    // told when a file is cut.
    void LoadLines(const std::string& fileName);

    // Notes are a few kilobytes. A file far beyond that (a mistake, or not a notes file at
    // all) is cut here, so that it neither fills memory nor freezes the window's layout.
    static constexpr size_t kMaxTextBytes = 1 << 20;
    // Many short lines cost the text area far more than their bytes; they are cut as well.
    static constexpr int kMaxTextLines = 20000;

public slots:
    void CloseButtonClick();

protected:
    void FormCreate() override;
};

}  // namespace vorn
