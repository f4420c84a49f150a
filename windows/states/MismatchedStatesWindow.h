#pragma once

#include "frame/WindowTargets.h"
#include "windows/states/StateWindow.h"

namespace vorn {

// Mismatched States: the scored states on which one taxon contradicts the scoring, in
// state order, then a note for each closed "Or" group the taxon fails. The taxa Mismatch window
// points it at a taxon through ShowCharMiss.
class TCharMiss : public TCharForm, public MissTarget {
    Q_OBJECT
public:
    TCharMiss();

    // The caption becomes CaptionPrefix and the name, never the old caption and the name.
    void SetMissTaxon(int taxon, const QString& name) override;

    int32_t MissTaxon = 0;
    // The design caption, kept at creation.
    QString CaptionPrefix;

protected:
    void FormCreate() override;
    void AddStates() override;
};

}  // namespace vorn
