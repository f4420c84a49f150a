#pragma once

#include <QString>
#include <string>

#include "frame/ChildForm.h"

class QPlainTextEdit;
class QPushButton;

namespace vorn {

// A read-only view of a text: the notes of a taxon, or the findings of a key check. The
// notes lookup and the key check create one for every request, caption it and fill it;
// afterwards nothing changes it, whatever happens to the key, the scores or the display
// modes. Any number can be open at once; the window
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
    // Shows `text` (UTF-8) as it is.
    void ShowText(const QString& text);

public slots:
    void CloseButtonClick();

protected:
    void FormCreate() override;
};

}  // namespace vorn
