#pragma once

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <string>
#include <vector>

#include "core/platform/Text.h"
#include "core/session/OpenKey.h"
#include "frame/VornListBox.h"
#include "frame/WindowRegistry.h"
#include "frame/WindowTargets.h"
#include "tests/kit/GuiFixture.h"
#include "windows/taxa/MatchingTaxaWindow.h"
#include "windows/taxa/TextWindow.h"

namespace vorn::testing {

// Six trees whose records cover every combination of image and notes parts:
//   0 common name, image and notes   1 "|" with nothing after it
//   2 record ending in ">"           3 neither part
//   4 notes in a folder, "\" style   5 image, and notes that do not exist
// States: 0 large tree (all but 5), 1 lobed leaves (0 and 5), 2 smooth bark (1 and 4),
// 3 white bark (2 only).
inline KeySpec TreesKey() {
    KeySpec keySpec;
    keySpec.Name = "TREES";
    keySpec.TitleLines = {"Six trees"};
    keySpec.Taxa = {"Quercus robur/English oak|QROB>QROB.TXT",
                    "Fagus sylvatica/Beech|",
                    "Betula pendula>",
                    "Alnus glutinosa",
                    "Tilia cordata/Lime>notes\\LIME.TXT",
                    "Acer campestre|acamp>MISSING.TXT"};
    keySpec.States = {"Habit: large tree", "Leaves: lobed", "Bark: smooth", "Bark: white"};
    keySpec.Codes = {"+++++-", "+----+", "-+--+-", "--+---"};
    return keySpec;
}

// An image window that only records what it is asked to show, for tests of the taxa
// windows that need only its registry entry and ShowImage, and no picture files.
class RecordingImageForm : public TChildForm, public ImageTarget {
public:
    RecordingImageForm() : TChildForm(WindowKind::ImageForm) {}
    void ShowImage(const std::string& imageName) override { Shown.push_back(imageName); }
    std::vector<std::string> Shown;

    static RecordingImageForm* Open() {
        Windows().SetChildFormFactory([](WindowKind kind) -> TChildForm* {
            return kind == WindowKind::ImageForm ? new RecordingImageForm : nullptr;
        });
        auto* form =
            static_cast<RecordingImageForm*>(Windows().CreateAndShow(WindowKind::ImageForm));
        Windows().SetChildFormFactory(nullptr);
        return form;
    }
};

// Runs a command as a queued call, so an error it throws reaches the program's general
// error handling the way it does from a click. (A click would do as well, but an error
// thrown through the widgets' mouse handling leaves some of Qt's event objects behind,
// which the leak checker reports.)
inline void RunQueued(QObject* receiver, const char* slot) {
    QMetaObject::invokeMethod(receiver, slot, Qt::QueuedConnection);
    QCoreApplication::processEvents();
}

inline TTaxMatch* TaxMatchWindow() {
    return Windows().OpenWindow<TTaxMatch>(WindowKind::TaxMatch);
}

// The taxon indices listed, top to bottom.
inline std::vector<int> Listed(const TVornListBox* list) {
    std::vector<int> taxa;
    for (int row = 0; row < list->Count(); ++row)
        taxa.push_back(list->IndexAt(row));
    return taxa;
}

// The lines a user reads in a list, top to bottom.
inline QStringList LinesOf(const TVornListBox* list) {
    QStringList lines;
    for (int row = 0; row < list->Count(); ++row)
        lines << QString::fromStdString(KeyTextToUtf8(IndicText(list->Indicator(row))));
    return lines;
}

// The row of a taxon in the list, or -1.
inline int RowOf(const TVornListBox* list, int taxon) {
    for (int row = 0; row < list->Count(); ++row)
        if (list->IndexAt(row) == taxon) return row;
    return -1;
}

// The text windows, oldest first.
inline std::vector<TTextForm*> TextWindows() {
    std::vector<TTextForm*> forms;
    auto* area = DialogParent()->findChild<QMdiArea*>();
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder))
        if (auto* form = qobject_cast<TTextForm*>(sub->widget())) forms.push_back(form);
    return forms;
}

}  // namespace vorn::testing
