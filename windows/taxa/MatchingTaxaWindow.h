#pragma once

#include "windows/taxa/TaxaWindow.h"

namespace vorn {

// The Matching Taxa window: the taxa that match the scores so far, in the order of the
// key's taxon file, rebuilt after every scoring action. While mismatches are allowed each
// taxon shows its count of them first, and the fewest come first. From the highlighted taxon it
// opens the taxon's picture and notes.
class TTaxMatch : public TTaxForm {
    Q_OBJECT
public:
    TTaxMatch();

    QWidget* Panel1 = nullptr;  // the button bar

    // Rebuilds the list from TaxonMatches (MatchingTaxaByMismatches above tolerance 0); nothing is
    // highlighted afterwards, and the buttons keep their state. May throw IoError; the busy cursor
    // is restored all the same and the taxa added until then stay.
    void LoadList() override;

public slots:
    // The buttons follow the highlighted taxon; an open image window follows a taxon
    // that has an image.
    void VornListBoxClick();
    void ImageButtonClick();
};

}  // namespace vorn
