#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Messages.h"

namespace vorn::testing {

// Records every message and dialog (file and print dialogs too), and answers from queues;
// installed for the lifetime of the object. An empty queue answers No / Cancel, and leaves
// a check box unchecked.
class ScriptedUserInterface : public UserInterface {
public:
    struct Shown {
        MessageKind Kind;
        std::string Text;
    };
    struct Asked {
        MessageKind Kind;
        std::string Text;
        std::optional<std::string> CheckBox;  // the label of the check box offered, if any
    };

    ScriptedUserInterface() : previous_(SetUserInterface(this)) {}
    ~ScriptedUserInterface() override { SetUserInterface(previous_); }

    void ShowMessage(MessageKind kind, const std::string& text) override {
        Messages.push_back({kind, text});
    }
    bool AskYesNo(MessageKind kind, const std::string& text, QuestionCheckBox* checkBox) override {
        Questions.push_back({kind, text, checkBox ? std::optional(checkBox->Label) : std::nullopt});
        if (checkBox) checkBox->Checked = Pop(CheckBoxAnswers);
        return Pop(Answers);
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override {
        Dialogs.push_back(request);
        return Next();
    }
    // As Qt's dialog does, the default suffix is added to a file name without a dot.
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
        Dialogs.push_back(request);
        std::optional<std::string> file = Next();
        if (file && !request.DefaultSuffix.empty() &&
            file->find('.', file->rfind('/') + 1) == std::string::npos) {
            *file += "." + request.DefaultSuffix;
        }
        return file;
    }
    bool PrintDocument(const PrintRequest& request) override {
        Prints.push_back(request);
        return Pop(PrintAnswers);
    }

    // The texts shown so far, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Shown& shown : Messages)
            texts.push_back(shown.Text);
        return texts;
    }

    std::vector<Shown> Messages;
    std::vector<Asked> Questions;
    std::vector<FileDialogRequest> Dialogs;
    std::deque<bool> Answers;
    // Whether the user checks the box, for the questions that offer one, in order.
    std::deque<bool> CheckBoxAnswers;
    std::deque<std::optional<std::string>> Files;
    // The documents handed to the print dialog, and whether the user prints each.
    std::vector<PrintRequest> Prints;
    std::deque<bool> PrintAnswers;

private:
    static bool Pop(std::deque<bool>& queue) {
        if (queue.empty()) return false;
        bool answer = queue.front();
        queue.pop_front();
        return answer;
    }
    std::optional<std::string> Next() {
        if (Files.empty()) return std::nullopt;
        std::optional<std::string> file = Files.front();
        Files.pop_front();
        return file;
    }

    UserInterface* previous_;
};

}  // namespace vorn::testing
