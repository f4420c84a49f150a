#pragma once

#include <QString>
#include <string>

#include "frame/ChildForm.h"

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

    // Shows the notes file `fileName` as key/NotesText.h reads it. Throws IoError when the
    // file cannot be read, leaving the area as it was; tells the user when a file is cut.
    void LoadLines(const std::string& fileName);

public slots:
    void CloseButtonClick();

protected:
    void FormCreate() override;
};

}  // namespace vorn
