#pragma once

#include "app/ChildForm.h"

class QPushButton;

namespace vorn {

class TVornListBox;

// The Matching Taxa window: the taxa that match the scores so far, in the order of the
// key's taxon file, rebuilt after every scoring action. From the highlighted taxon it
// opens the taxon's picture and notes.
class TTaxMatch : public TChildForm {
    Q_OBJECT
public:
    TTaxMatch();

    QWidget* Panel1 = nullptr;
    QPushButton* ImageButton = nullptr;
    QPushButton* NotesButton = nullptr;
    TVornListBox* VornListBox = nullptr;

    // Rebuilds the list from TaxonMatches; nothing is highlighted afterwards, and the
    // buttons keep their state. May throw IoError; the busy cursor is restored all the
    // same and the taxa added until then stay.
    void LoadList() override;
    void ClearList() override;
    void RepaintList() override;
    void FormShow() override;

public slots:
    // The buttons follow the highlighted taxon: Image when its record has an image part,
    // Notes when it has a notes part, even an empty one. An open image window follows a
    // taxon that has an image.
    void VornListBoxClick();
    void ImageButtonClick();
    void NotesButtonClick();

protected:
    void FormCreate() override;
};

}  // namespace vorn
