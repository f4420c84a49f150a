#pragma once

#include <cstdint>
#include <vector>

#include "frame/WindowTargets.h"
#include "windows/states/StateWindow.h"

namespace vorn {

// Character State History: the states scored since the window opened, in the order of
// their first scoring, never sorted. States are pruned with Delete, and history lists
// (.HIS files) are loaded as scoring actions and saved again.
class TCharHistory : public TCharForm, public HistoryTarget {
    Q_OBJECT
public:
    TCharHistory();

    // Appends `state` unless it is listed already: a state keeps the place of its first
    // appearance. Called after every scoring action whose state has a score afterwards.
    void AddIndic(int32_t state) override;
    // The listed states, top to bottom.
    std::vector<int32_t> ListedStates() const;

    QPushButton* DeleteButton = nullptr;
    QPushButton* LoadButton = nullptr;
    QPushButton* SaveButton = nullptr;

public slots:
    // Removes the highlighted item; its score stays.
    void DeleteButtonClick();
    // Each "+" or "-" entry of the chosen file is a full scoring action, a blank entry only
    // lists its state. A line without a number ends the loading with an error; what was
    // loaded before it stays.
    void LoadButtonClick();
    // Writes the listed states in list order, as Load reads them back. The file that was
    // there is replaced whole or, when writing fails, kept as it was.
    void SaveButtonClick();

protected:
    // At creation: the states scored so far, in state order.
    void AddStates() override;
};

}  // namespace vorn
