#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "frame/ChildForm.h"

class QPushButton;
class QWidget;

namespace vorn {

class TVornListBox;

// The family of character-state windows: a grey button bar with Present, Absent, Clear
// and Or, and below it the list of states to score from. Members say which states they
// list (AddStates) and may put more buttons on the bar (AddPanelButton, from left 240).
// Every scoring action goes to ScoreState with the highlighted state; the window manager
// then redraws or rebuilds the open members.
class TCharForm : public TChildForm {
    Q_OBJECT
public:
    explicit TCharForm(WindowKind kind);

    // Rebuild: busy cursor, ClearList, then AddStates while a key is open. An error in
    // AddStates ends the rebuild with the items added so far and the cursor restored.
    // A member that asks before rebuilding overrides this and calls it on Yes.
    void LoadList() override;
    void ClearList() override;
    void RepaintList() override;
    // Caption and hint of the Or button from OrMode(), so all open members agree.
    void OrButtonDraw() override;
    void FormShow() override;

    QWidget* Panel1 = nullptr;
    QPushButton* PresentButton = nullptr;
    QPushButton* AbsentButton = nullptr;
    QPushButton* ClearButton = nullptr;
    QPushButton* OrButton = nullptr;
    TVornListBox* VornListBox = nullptr;

    // Width and height of the family's buttons; the bar is as high as they are.
    static constexpr int ButtonWidth = 60;
    static constexpr int ButtonHeight = 19;

public slots:
    void PresentButtonClick();
    void AbsentButtonClick();
    void ClearButtonClick();
    void OrButtonClick();
    void VornListBoxDblClick();

protected:
    // Places the window in the right column, full height, by the main window's metrics
    // of the moment, and draws the Or button.
    void FormCreate() override;
    // Appends this member's states; runs only while a key is open.
    virtual void AddStates() = 0;
    // Appends one state as a new item.
    void AddState(int32_t state);
    // Says in the list why it is empty: a note, added only while the list has no item.
    void NoteWhyEmpty(const std::string& why);
    // The words for a list of states that would separate `taxa` matching taxa and is
    // empty: `none` (which names the count through %1) for two or more, plainer words for
    // one taxon or none, where there is nothing to separate.
    static std::string NothingSeparates(int32_t taxa, const char* none);
    // A button on the bar at `left`, in the family's size, font and hint style.
    QPushButton* AddPanelButton(const char* name, const QString& caption, const QString& hint,
                                int left);
};

}  // namespace vorn
