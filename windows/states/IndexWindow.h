#pragma once

#include <QStringList>
#include <exception>
#include <string>
#include <vector>

#include "core/key/IndexFile.h"
#include "frame/ChildForm.h"

class QLabel;
class QLineEdit;
class QScrollArea;

namespace vorn {

class TVornIndexButton;

// Index to Character States: a panel of buttons under column headings, one per entry of
// the key's index file; a button opens the Subset window on its entry, which it hands
// over. Built once, when created; it does not follow the scores. The columns scroll
// inside the window, which is as large as they are and no larger than the frame's area.
// Above them the find box (Ctrl+F) keeps, as the user types, the entries whose heading
// and text hold every word typed (as the start of one of theirs, ignoring case and
// accents, and the heading's numbers), in their columns from the top; Enter opens the
// first of them.
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

    // The entries read, in file order.
    const IndexTableType& Entries() const { return table_; }

    QLineEdit* FindEdit = nullptr;
    QScrollArea* ScrollBox = nullptr;

public slots:
    void FindEditChange();
    void FindEditReturn();

protected:
    void FormCreate() override;
    void FormClose() override;

private:
    // Places the headings and the buttons of the entries that match the find box's words
    // (all of them when it is empty), and sizes the panel to them.
    void PlaceEntries();

    IndexTableType table_;
    IndexLayout layout_;
    QWidget* panel_ = nullptr;
    std::vector<QLabel*> headings_;
    std::vector<TVornIndexButton*> buttons_;
    std::vector<QStringList> words_;  // per entry: its heading's and text's words, folded
    std::string notice_;
    std::exception_ptr error_;
};

}  // namespace vorn
