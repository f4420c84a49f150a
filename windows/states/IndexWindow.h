#pragma once

#include <exception>
#include <string>

#include "core/key/IndexFile.h"
#include "frame/ChildForm.h"

namespace vorn {

// The entries of the open Index window, read from the key's index file when the window
// is created and released when it closes. The Subset window copies the entry it shows.
inline IndexTableType IndexTable;

// Index to Character States: a panel of buttons under column headings, one per entry of
// the key's index file; a button opens the Subset window on its entry. Built once, when
// created, and sized to its columns; it does not follow the scores.
//
// After a reading error part-way through the file the window stays open with the
// columns, headings and buttons read before the error, sized to them, and every button
// works; the general error handling shows the error once the window is on screen.
class TCharIndex : public TChildForm {
    Q_OBJECT
public:
    TCharIndex();

    // Centres the window in the main window's client area, then reports what reading the
    // file ran into: first a limit (information), then an error.
    void FormShow() override;

protected:
    void FormCreate() override;
    void FormClose() override;

private:
    std::string notice_;
    std::exception_ptr error_;
};

}  // namespace vorn
