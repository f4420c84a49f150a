#pragma once

#include <QListView>
#include <QPushButton>
#include <QtTest>

#include "charwin/CharForm.h"
#include "charwin/VornList.h"
#include "platform/Text.h"
#include "tests/support/GuiFixture.h"

namespace vorn::testing {

// Six taxa, eight states. At the start every taxon matches; the counts of the states are
// 2, 2, 2, 3, 6 (all unknown), 4, 0 (all absent) and 6 (all present).
inline KeySpec ShrubKey() {
    KeySpec spec;
    spec.Name = "SHRUBS";
    spec.TitleLines = {"Shrubs of the hedge"};
    spec.Taxa = {"Rosa canina/Dog rose", "Prunus spinosa/Blackthorn", "Crataegus monogyna",
                 "Sambucus nigra/Elder", "Cornus sanguinea",          "Ligustrum vulgare/Privet"};
    spec.States = {"Leaves: simple",   "Leaves: pinnate", "Leaves: palmate", "Stems: thorny",
                   "Flowers: scented", "Fruit: red",      "Fruit: blue",     "Habit: woody"};
    spec.Codes = {"++----", "--++--", "----++", "+-+-+-", "??????", "+*-?+-", "------", "++++++"};
    return spec;
}

// Opens a key and accepts its title page. The timer that presses OK belongs to the main
// window, so nothing of it outlives the test.
inline void OpenAccepted(GuiFixture& f, const std::string& desPath) {
    auto* timer = new QTimer(f.Main);
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            dialog->accept();
        }
    });
    timer->start(1);
    OpenKey(desPath);
    timer->stop();
}

// The lines a user reads in a state window, top to bottom.
inline QStringList Lines(const TCharForm* form) {
    QStringList lines;
    for (int row = 0; row < form->VornListBox->Count(); ++row)
        lines << QString::fromStdString(
            KeyTextToUtf8(IndicText(form->VornListBox->Indicator(row))));
    return lines;
}

// Clicks the item in `row`, as a user highlights it.
inline void ClickRow(TCharForm* form, int row) {
    TVornListBox* list = form->VornListBox;
    QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// Double-clicks the item in `row` (a click first, as a real double-click has one).
inline void DoubleClickRow(TCharForm* form, int row) {
    TVornListBox* list = form->VornListBox;
    QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

inline void Click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace vorn::testing
