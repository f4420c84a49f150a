#pragma once

#include <QListView>
#include <QPushButton>
#include <QtTest>

#include "core/platform/Text.h"
#include "frame/VornListBox.h"
#include "tests/kit/GuiFixture.h"
#include "windows/states/StateWindow.h"

namespace vorn::testing {

// Six taxa, eight states. At the start every taxon matches; the counts of the states are
// 2, 2, 2, 3, 6 (all unknown), 4, 0 (all absent) and 6 (all present).
inline KeySpec ShrubKey() {
    KeySpec keySpec;
    keySpec.Name = "SHRUBS";
    keySpec.TitleLines = {"Shrubs of the hedge"};
    keySpec.Taxa = {"Rosa canina/Dog rose", "Prunus spinosa/Blackthorn",
                    "Crataegus monogyna",   "Sambucus nigra/Elder",
                    "Cornus sanguinea",     "Ligustrum vulgare/Privet"};
    keySpec.States = {"Leaves: simple",   "Leaves: pinnate", "Leaves: palmate", "Stems: thorny",
                      "Flowers: scented", "Fruit: red",      "Fruit: blue",     "Habit: woody"};
    keySpec.Codes = {"++----", "--++--", "----++", "+-+-+-",
                     "??????", "+*-?+-", "------", "++++++"};
    return keySpec;
}

// The lines a user reads in a state window, top to bottom.
inline QStringList Lines(const TCharForm* form) {
    QStringList lines;
    for (int row = 0; row < form->VornListBox->Count(); ++row)
        lines << QString::fromStdString(
            KeyTextToUtf8(IndicText(form->VornListBox->Indicator(row))));
    return lines;
}

// Clicks or double-clicks the item in `row`, as a user does.
inline void ClickRow(TCharForm* form, int row) {
    ClickRow(form->VornListBox, row);
}
inline void DoubleClickRow(TCharForm* form, int row) {
    DoubleClickRow(form->VornListBox, row);
}

inline void Click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace vorn::testing
