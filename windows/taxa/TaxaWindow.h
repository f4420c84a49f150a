#pragma once

#include <QString>

#include "frame/ChildForm.h"

class QPushButton;

namespace vorn {

class TVornListBox;

// What the two windows of taxa share: a grey bar with Image and Notes, the list of taxa
// below it, the place in the left column, and the notes of the highlighted taxon.
class TTaxForm : public TChildForm {
    Q_OBJECT
public:
    struct Look {
        const char* BarName;
        QString ImageHint;
        QString NotesHint;
        int FontPixels;  // the window's and its list's font
    };
    TTaxForm(WindowKind kind, const Look& look);

    QWidget* Bar = nullptr;
    QPushButton* ImageButton = nullptr;
    QPushButton* NotesButton = nullptr;
    TVornListBox* VornListBox = nullptr;

    void ClearList() override;
    void RepaintList() override;
    void FormShow() override { LoadList(); }
    int32_t HighlightedTaxon() const override;

public slots:
    // The notes lookup for the highlighted taxon.
    void NotesButtonClick();

protected:
    // Left column, full height, by the frame's metrics of the moment.
    void FormCreate() override;
    // Image and Notes follow the highlighted taxon: Image when its record has an image
    // part, Notes when it has a notes part, even an empty one; both disabled with nothing
    // highlighted (after a rebuild, Reset, Close, or when no taxon matches), when the
    // result is false.
    bool UpdateButtons();
};

}  // namespace vorn
