#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Messages.h"

namespace vorn::testing {

// Records every message and dialog, and answers from queues; installed for the lifetime
// of the object. An empty queue answers No / Cancel.
class ScriptedUserInterface : public UserInterface {
public:
    struct Shown {
        MessageKind Kind;
        std::string Text;
    };

    ScriptedUserInterface() : previous_(SetUserInterface(this)) {}
    ~ScriptedUserInterface() override { SetUserInterface(previous_); }

    void ShowMessage(MessageKind kind, const std::string& text) override {
        Messages.push_back({kind, text});
    }
    bool AskYesNo(MessageKind kind, const std::string& text) override {
        Questions.push_back({kind, text});
        if (Answers.empty()) return false;
        bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override {
        Dialogs.push_back(request);
        return Next();
    }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
        Dialogs.push_back(request);
        return Next();
    }

    // The texts shown so far, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Shown& shown : Messages)
            texts.push_back(shown.Text);
        return texts;
    }

    std::vector<Shown> Messages;
    std::vector<Shown> Questions;
    std::vector<FileDialogRequest> Dialogs;
    std::deque<bool> Answers;
    std::deque<std::optional<std::string>> Files;

private:
    std::optional<std::string> Next() {
        if (Files.empty()) return std::nullopt;
        std::optional<std::string> file = Files.front();
        Files.pop_front();
        return file;
    }

    UserInterface* previous_;
};

}  // namespace vorn::testing
