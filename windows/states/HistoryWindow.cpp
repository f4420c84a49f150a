#include "windows/states/HistoryWindow.h"

#include <QPushButton>

#include "core/platform/Messages.h"
#include "core/session/HistoryList.h"
#include "core/session/Session.h"
#include "frame/Guarded.h"
#include "frame/VornListBox.h"

namespace vorn {
namespace {

FileDialogRequest HistoryDialog(const char* title, bool save) {
    FileDialogRequest request;
    request.Title = title;
    request.Filter = "History List File (*.HIS)";
    request.MustExist = !save;
    request.ConfirmOverwrite = save;
    // Saved without an extension, a list would be hidden by the Load dialog's filter.
    if (save) request.DefaultSuffix = "HIS";
    return request;
}

}  // namespace

TCharHistory::TCharHistory() : TCharForm(WindowKind::CharHistory) {
    DeleteButton = AddPanelButton("DeleteButton", "&Delete",
                                  "Remove the highlighted character state from this window", 240);
    LoadButton = AddPanelButton("LoadButton", "&Load", "Load a history list from a file", 300);
    SaveButton = AddPanelButton("SaveButton", "&Save", "Save this history list to a file", 360);
    ConnectGuarded(DeleteButton, &QPushButton::clicked, this, &TCharHistory::DeleteButtonClick);
    ConnectGuarded(LoadButton, &QPushButton::clicked, this, &TCharHistory::LoadButtonClick);
    ConnectGuarded(SaveButton, &QPushButton::clicked, this, &TCharHistory::SaveButtonClick);
}

void TCharHistory::AddStates() {
    for (int32_t state = 0; state < CurrentSession().Key.StateCount; ++state) {
        if (CurrentSession().StateScore(state) != ScoreNone) AddState(state);
    }
}

void TCharHistory::AddIndic(int32_t state) {
    for (int row = 0; row < VornListBox->Count(); ++row) {
        if (VornListBox->IndexAt(row) == state) return;
    }
    AddState(state);
}

std::vector<int32_t> TCharHistory::ListedStates() const {
    std::vector<int32_t> states;
    for (int row = 0; row < VornListBox->Count(); ++row)
        states.push_back(VornListBox->IndexAt(row));
    return states;
}

void TCharHistory::DeleteButtonClick() {
    int row = VornListBox->SelectedRow();
    if (row < 0) return;
    VornListBox->DeleteItem(row);
    // Nothing is highlighted afterwards, so a second press deletes nothing by surprise.
    VornListBox->SelectRow(-1);
}

void TCharHistory::LoadButtonClick() {
    std::optional<std::string> file =
        UI().OpenFileDialog(HistoryDialog("Load History List", false));
    if (!file) return;
    SkippedLines skipped;
    Session& session = CurrentSession();
    VornListBox->AddIndics([&] {
        skipped = LoadHistoryList(session, *file, [this](int32_t state) { AddIndic(state); });
    });
    // Told once, after the windows show what was applied.
    if (skipped.Total() > 0) ShowInformation(SkippedLinesText(session, *file, skipped));
}

void TCharHistory::SaveButtonClick() {
    std::optional<std::string> file = UI().SaveFileDialog(HistoryDialog("Save History List", true));
    if (!file) return;
    SaveHistoryList(CurrentSession(), *file, ListedStates());
}

}  // namespace vorn
