#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/Directory.h"
#include "core/platform/Messages.h"

namespace vorn::fuzz {

// Messages are answered and dropped: a harness checks what the program holds, and
// printing every refusal would only slow it down.
class SilentUserInterface : public UserInterface {
public:
    void ShowMessage(MessageKind, const std::string&) override {}
    bool AskYesNo(MessageKind, const std::string&, QuestionCheckBox*) override { return true; }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    bool PrintDocument(const PrintRequest&) override { return false; }
};

// One folder for the files of every input of this process, ending in "/". Removed when
// the process ends normally; a finding aborts, and its files stay there to look at.
inline const std::string& WorkFolder() {
    struct Folder {
        Folder() {
            const char* tmp = std::getenv("TMPDIR");
            path = std::string(tmp && *tmp ? tmp : "/tmp") + "/vorn-fuzz-XXXXXX";
            if (!::mkdtemp(path.data())) std::abort();
            path += "/";
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
        std::string path;
    };
    static SilentUserInterface ui;
    static const Folder folder;
    SetUserInterface(&ui);
    return folder.path;
}

// Replaces the file `name` in the work folder with `bytes`; returns its path.
inline std::string WriteWorkFile(const std::string& name, std::string_view bytes) {
    std::string path = WorkFolder() + name;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) std::abort();
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    return path;
}

// Opening a key enters its folder; libFuzzer names its corpus and reproducers relative
// to the directory it started in, so each harness goes back there.
class KeepDirectory {
public:
    KeepDirectory() : directory_(CurrentDirectory()) {}
    ~KeepDirectory() { ChangeToDirectory(directory_); }
    KeepDirectory(const KeepDirectory&) = delete;
    KeepDirectory& operator=(const KeepDirectory&) = delete;

private:
    std::string directory_;
};

// The input cut into `count` parts at "\n@@\n" (the files of a key, then what is done with
// it); parts the input lacks are empty.
inline std::vector<std::string_view> SplitParts(std::string_view input, size_t count) {
    std::vector<std::string_view> parts;
    constexpr std::string_view kSeparator = "\n@@\n";
    while (parts.size() + 1 < count) {
        size_t at = input.find(kSeparator);
        if (at == std::string_view::npos) break;
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + kSeparator.size());
    }
    parts.push_back(input);
    parts.resize(count);
    return parts;
}

}  // namespace vorn::fuzz
