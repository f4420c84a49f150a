#pragma once

#include <optional>
#include <string>

namespace vorn {

enum class MessageKind { Information, Warning, Error };

// What a file dialog asks for. Filters are written as the user sees them, for example
// "History List File (*.HIS)"; patterns match ignoring letter case on this desktop.
struct FileDialogRequest {
    std::string Title;
    std::string Filter;
    bool MustExist = true;          // open: only existing files in existing folders
    bool ConfirmOverwrite = false;  // save: ask before replacing a file
    std::string StartFolder;        // where the dialog starts; empty: the current directory
    // Save: the extension, without its dot, that the dialog adds to a name chosen without
    // one ("HIS": WALK becomes WALK.HIS), before it asks whether to replace that file.
    // With several filters (separated by ";;", the first one chosen at first) the dialog
    // adds the extension of the filter the user chooses.
    std::string DefaultSuffix;
};

// A document for the print dialog: what the user prints.
struct PrintRequest {
    std::string Title;  // the print job's name, as the printer's queue shows it
    std::string Html;   // the document: one self-contained HTML file, UTF-8
};

// A check box offered under the text of a question. The interface shows it unchecked with
// `Label` and, once the question is answered, leaves the user's choice in `Checked`; one
// that cannot show it leaves it unchecked.
struct QuestionCheckBox {
    std::string Label;
    bool Checked = false;
};

// Every message, file dialog and print dialog of the program goes through one UserInterface. The
// desktop program installs one on Qt's message boxes and dialogs, tests a scripted one
// that records every text and answers from a queue, the command-line identifier one
// that writes to standard error. Texts are UTF-8.
class UserInterface {
public:
    virtual ~UserInterface() = default;
    // A modal message with an OK button.
    virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;
    // A modal message with Yes and No, and `checkBox` under the text unless it is null;
    // true for Yes.
    virtual bool AskYesNo(MessageKind kind, const std::string& text,
                          QuestionCheckBox* checkBox) = 0;
    // The chosen file's full path, or nothing when the user cancels.
    virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;
    // The print dialog; when the user confirms it, the document is printed. True when it
    // went to the printer, false when the user cancelled (or printing failed, which the
    // interface has said).
    virtual bool PrintDocument(const PrintRequest& request) = 0;
};

// Installs `ui` (not owned; it must outlive its use) and returns the one it replaces.
// With none installed, messages go to standard error and dialogs are cancelled.
UserInterface* SetUserInterface(UserInterface* ui);
UserInterface& UI();

inline void ShowInformation(const std::string& text) {
    UI().ShowMessage(MessageKind::Information, text);
}
inline void ShowError(const std::string& text) {
    UI().ShowMessage(MessageKind::Error, text);
}

}  // namespace vorn
