#include "windows/states/DifferentiatingWindow.h"

#include "core/session/Session.h"
#include "frame/RebuildQuestion.h"

namespace vorn {

TCharDiff::TCharDiff() : TCharForm(WindowKind::CharDiff) {}

void TCharDiff::LoadList() {
    if (CurrentSession().MatchingTaxaCount() > 10 && CurrentSession().Key.StateCount > 201 &&
        !AskBeforeRebuild(Kind(), MessageKind::Information,
                          "If more than about 10 taxa match in a large key, the Differentiating "
                          "States function may require some time to complete.  Do you want to "
                          "continue this operation?")) {
        CloseForm();
        return;
    }
    TCharForm::LoadList();
}

void TCharDiff::AddStates() {
    for (int32_t state : CurrentSession().DifferentiatingStates())
        AddState(state);
    NoteWhyEmpty(NothingSeparates(CurrentSession().MatchingTaxaCount(),
                                  "No state separates the %1 matching taxa"));
}

}  // namespace vorn
