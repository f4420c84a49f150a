#pragma once

#include <cstdint>

#include "frame/ChildForm.h"
#include "frame/WindowTargets.h"

class QLabel;

namespace vorn {

class TVornListBox;

// Taxon Differences: two lists of every taxon, in taxon order, to choose taxon A and taxon
// B, and below them the states on which the two differ: first the certain differences (one
// coded "+", the other "-"), then the possible ones (one "+" or "-", the other "?" or "*").
// Each state's line begins with A's code, then B's. The codes do not change while a key is
// open, so after scoring the lines are only redrawn (for their marks); a double-click on a
// state scores it as in the state windows.
class TTaxDiff : public TChildForm, public DifferencesTarget {
    Q_OBJECT
public:
    TTaxDiff();

    QLabel* HeadingA = nullptr;
    QLabel* HeadingB = nullptr;
    TVornListBox* ListA = nullptr;
    TVornListBox* ListB = nullptr;
    // Says how many differences of each kind are listed, or what is still to be chosen.
    QLabel* Summary = nullptr;
    TVornListBox* StateList = nullptr;

    // Lists every taxon in both lists, keeps the chosen taxa that the key still has, and
    // lists their differences.
    void LoadList() override;
    void ClearList() override;
    void RepaintList() override;
    void FormShow() override { LoadList(); }
    void SetTaxonA(int32_t taxon) override;

public slots:
    void ListAClick();
    void ListBClick();
    void StateListDblClick();

protected:
    // Right column, full height, where the state windows go.
    void FormCreate() override;

private:
    // Lists the differences of the chosen taxa and says so in the summary.
    void ShowDifferences();
    void Choose(TVornListBox* list, int32_t& chosen, int32_t taxon);

    int32_t taxonA_ = -1;
    int32_t taxonB_ = -1;
};

}  // namespace vorn
