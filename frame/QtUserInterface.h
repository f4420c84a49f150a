#pragma once

#include <QApplication>

#include "core/platform/Messages.h"
#include "frame/Guarded.h"

namespace vorn {

// Messages, file dialogs and the print dialog on Qt's message boxes and dialogs, owned by
// the main window while it exists.
class QtUserInterface : public UserInterface {
public:
    void ShowMessage(MessageKind kind, const std::string& text) override;
    bool AskYesNo(MessageKind kind, const std::string& text, QuestionCheckBox* checkBox) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    // Qt's print dialog on a printer of the locale's paper; the document is laid out as
    // PrintHtml lays it out.
    bool PrintDocument(const PrintRequest& request) override;
};

// The application with the program's general error handling: an input/output error (or
// any other error) that ends an event's handling is shown to the user in an error
// message box; the operation in progress ends, and what it had done so far stays.
class VornApplication : public QApplication {
public:
    VornApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace vorn
