#include "windows/taxa/TaxonDifferencesWindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/key/KeyFiles.h"
#include "core/session/Session.h"
#include "frame/BusyCursor.h"
#include "frame/Guarded.h"
#include "frame/Look.h"
#include "frame/VornListBox.h"
#include "frame/WindowRegistry.h"

namespace vorn {
namespace {

constexpr int kFontPixels = 13;

QLabel* Heading(QWidget* owner, const char* name, const QString& text) {
    auto* label = new QLabel(text, owner);
    label->setObjectName(name);
    label->setFont(SystemFont(kFontPixels));
    label->setContentsMargins(4, 2, 4, 2);
    SetBackground(label, colours::Grey);
    return label;
}

}  // namespace

TTaxDiff::TTaxDiff() : TChildForm(WindowKind::TaxDiff) {
    setObjectName("TaxDiff");
    setFont(SystemFont(kFontPixels));

    auto makeList = [this](const char* name, const QString& hint) {
        auto* list = new TVornListBox(this);
        list->setObjectName(name);
        list->setFont(SystemFont(kFontPixels));
        list->setToolTip(hint);
        return list;
    };
    ListA = makeList("ListA", "Choose taxon A");
    ListB = makeList("ListB", "Choose taxon B");
    StateList = makeList("StateList",
                         "The states on which taxa A and B differ. Each line begins with the "
                         "code of A, then that of B (\"+\" has the state, \"-\" lacks it, \"?\" "
                         "unknown, \"*\" either): certain differences first, then possible "
                         "ones. Double-click a state to score it.");
    // No access keys: Alt+A and Alt+B belong to the state windows' buttons.
    HeadingA = Heading(this, "HeadingA", "Taxon A");
    HeadingB = Heading(this, "HeadingB", "Taxon B");
    Summary = Heading(this, "Summary", QString());

    auto* taxa = new QGridLayout;
    taxa->setContentsMargins(0, 0, 0, 0);
    taxa->setSpacing(0);
    taxa->addWidget(HeadingA, 0, 0);
    taxa->addWidget(HeadingB, 0, 1);
    taxa->addWidget(ListA, 1, 0);
    taxa->addWidget(ListB, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(taxa, 1);
    layout->addWidget(Summary);
    layout->addWidget(StateList, 1);

    ConnectGuarded(ListA, &TVornListBox::VornListBoxClick, this, &TTaxDiff::ListAClick);
    ConnectGuarded(ListB, &TVornListBox::VornListBoxClick, this, &TTaxDiff::ListBClick);
    ConnectGuarded(StateList, &TVornListBox::VornListBoxDblClick, this,
                   &TTaxDiff::StateListDblClick);
    ShowDifferences();
}

void TTaxDiff::FormCreate() {
    LayoutMetrics m = FrameMetrics();
    SetBounds(m.LeftPaneWidth, 0, m.RightPaneWidth, m.PaneHeight);
}

void TTaxDiff::LoadList() {
    BusyCursor busy;
    int32_t a = taxonA_, b = taxonB_;
    ClearList();
    if (!CurrentSession().Key.KeyOpen) return;
    for (TVornListBox* list : {ListA, ListB}) {
        list->AddIndics([list] {
            for (int32_t taxon = 0; taxon < CurrentSession().Key.TaxonCount; ++taxon)
                list->AddIndic(TIndicatorObj::IndicTaxon, taxon, TIndicatorObj::CountStandard);
        });
    }
    Choose(ListA, taxonA_, a);
    Choose(ListB, taxonB_, b);
    ShowDifferences();
}

void TTaxDiff::ClearList() {
    taxonA_ = taxonB_ = -1;
    for (TVornListBox* list : {ListA, ListB, StateList})
        list->Clear();
    ShowDifferences();
}

void TTaxDiff::RepaintList() {
    for (TVornListBox* list : {ListA, ListB, StateList})
        list->RepaintList();
}

void TTaxDiff::SetTaxonA(int32_t taxon) {
    Choose(ListA, taxonA_, taxon);
    ShowDifferences();
}

void TTaxDiff::Choose(TVornListBox* list, int32_t& chosen, int32_t taxon) {
    // The lists hold every taxon in taxon order: a taxon's row is its index.
    chosen = taxon >= 0 && taxon < list->Count() ? taxon : -1;
    list->SelectRow(chosen);
    if (chosen >= 0) list->scrollTo(list->model()->index(chosen, 0));
}

void TTaxDiff::ListAClick() {
    if (ListA->SelectedIndic() == taxonA_) return;
    taxonA_ = ListA->SelectedIndic();
    ShowDifferences();
}

void TTaxDiff::ListBClick() {
    if (ListB->SelectedIndic() == taxonB_) return;
    taxonB_ = ListB->SelectedIndic();
    ShowDifferences();
}

void TTaxDiff::StateListDblClick() {
    CurrentSession().ScoreState(StateList->SelectedIndic(), RequestToggle);
}

void TTaxDiff::ShowDifferences() {
    BusyCursor busy;
    StateList->Clear();
    if (taxonA_ < 0 || taxonB_ < 0) {
        Summary->setText("Choose taxon A and taxon B");
        return;
    }
    if (taxonA_ == taxonB_) {
        Summary->setText("Taxon A and taxon B are the same");
        return;
    }
    TaxonDifferences differences = CurrentSession().Differences(taxonA_, taxonB_);
    StateList->AddIndics([&] {
        for (const std::vector<int32_t>* states : {&differences.Certain, &differences.Possible}) {
            for (int32_t state : *states) {
                StateList->AddIndic(TIndicatorObj::IndicState, state, TIndicatorObj::CountCodes,
                                    CodesValue(CurrentSession().Key.TaxonCode(state, taxonA_),
                                               CurrentSession().Key.TaxonCode(state, taxonB_)));
            }
        }
    });
    Summary->setText(QString("%1 certain, %2 possible differences (codes of A, then B)")
                         .arg(differences.Certain.size())
                         .arg(differences.Possible.size()));
}

}  // namespace vorn
