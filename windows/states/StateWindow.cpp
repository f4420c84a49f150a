#include "windows/states/StateWindow.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "core/key/KeyFiles.h"
#include "core/session/Session.h"
#include "frame/BusyCursor.h"
#include "frame/Guarded.h"
#include "frame/Look.h"
#include "frame/VornListBox.h"
#include "frame/WindowRegistry.h"

namespace vorn {

TCharForm::TCharForm(WindowKind kind) : TChildForm(kind) {
    Panel1 = ButtonBar(this, "Panel1");

    PresentButton = AddPanelButton("PresentButton", "&Present",
                                   "Score highlighted character state \"Present\"", 0);
    AbsentButton = AddPanelButton("AbsentButton", "&Absent",
                                  "Score highlighted character state \"Absent\"", 60);
    ClearButton = AddPanelButton("ClearButton", "&Clear",
                                 "Clear scoring of highlighted character state", 120);
    OrButton = AddPanelButton("OrButton", "Begin &Or",
                              "Begin selection of character states to \"Or\" together", 180);

    VornListBox = new TVornListBox(this);
    VornListBox->setFont(SystemFont(13));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(VornListBox);

    ConnectGuarded(PresentButton, &QPushButton::clicked, this, &TCharForm::PresentButtonClick);
    ConnectGuarded(AbsentButton, &QPushButton::clicked, this, &TCharForm::AbsentButtonClick);
    ConnectGuarded(ClearButton, &QPushButton::clicked, this, &TCharForm::ClearButtonClick);
    ConnectGuarded(OrButton, &QPushButton::clicked, this, &TCharForm::OrButtonClick);
    ConnectGuarded(VornListBox, &TVornListBox::VornListBoxDblClick, this,
                   &TCharForm::VornListBoxDblClick);
}

QPushButton* TCharForm::AddPanelButton(const char* name, const QString& caption,
                                       const QString& hint, int left) {
    return BarButton(Panel1, name, caption, hint, left, ButtonWidth);
}

void TCharForm::FormCreate() {
    LayoutMetrics m = FrameMetrics();
    SetBounds(m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight);
    OrButtonDraw();
}

void TCharForm::FormShow() {
    LoadList();
}

void TCharForm::LoadList() {
    BusyCursor busy;
    ClearList();
    if (CurrentSession().Key.KeyOpen) VornListBox->AddIndics([this] { AddStates(); });
}

void TCharForm::ClearList() {
    VornListBox->Clear();
}

void TCharForm::RepaintList() {
    VornListBox->RepaintList();
}

void TCharForm::AddState(int32_t state) {
    VornListBox->AddIndic(TIndicatorObj::IndicState, state, TIndicatorObj::CountStandard);
}

void TCharForm::NoteWhyEmpty(const std::string& why) {
    if (VornListBox->Count() == 0) VornListBox->AddNote(why);
}

std::string TCharForm::NothingSeparates(int32_t taxa, const char* none) {
    if (taxa <= 0) return "No taxon matches";
    if (taxa == 1) return "Only 1 taxon matches: nothing is left to separate";
    std::string words = none;
    size_t at = words.find("%1");
    if (at != std::string::npos) words.replace(at, 2, std::to_string(taxa));
    return words;
}

void TCharForm::OrButtonDraw() {
    if (CurrentSession().OrMode()) {
        OrButton->setText("End &Or");
        OrButton->setToolTip("End selection of character states to \"Or\" together");
    } else {
        OrButton->setText("Begin &Or");
        OrButton->setToolTip("Begin selection of character states to \"Or\" together");
    }
    OrButton->setStatusTip(OrButton->toolTip());
}

void TCharForm::PresentButtonClick() {
    CurrentSession().ScoreState(VornListBox->SelectedIndic(), RequestPresent);
}

void TCharForm::AbsentButtonClick() {
    CurrentSession().ScoreState(VornListBox->SelectedIndic(), RequestAbsent);
}

void TCharForm::ClearButtonClick() {
    CurrentSession().ScoreState(VornListBox->SelectedIndic(), RequestClear);
}

void TCharForm::VornListBoxDblClick() {
    CurrentSession().ScoreState(VornListBox->SelectedIndic(), RequestToggle);
}

void TCharForm::OrButtonClick() {
    CurrentSession().ToggleOrMode();
}

}  // namespace vorn
