#include "core/platform/Messages.h"

#include <cstdio>

namespace vorn {
namespace {

class StandardErrorInterface : public UserInterface {
public:
    void ShowMessage(MessageKind, const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    bool AskYesNo(MessageKind, const std::string& text, QuestionCheckBox*) override {
        std::fprintf(stderr, "%s (answered No)\n", text.c_str());
        return false;
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    bool PrintDocument(const PrintRequest&) override { return false; }
};

StandardErrorInterface defaultInterface;
UserInterface* installedInterface = nullptr;

}  // namespace

UserInterface* SetUserInterface(UserInterface* ui) {
    UserInterface* old = installedInterface;
    installedInterface = ui;
    return old;
}

UserInterface& UI() {
    return installedInterface ? *installedInterface : defaultInterface;
}

}  // namespace vorn
