#include "desktop/WebPublishing.h"

#include <QApplication>
#include <QProgressDialog>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "core/platform/Directory.h"
#include "core/platform/IoError.h"
#include "core/platform/Messages.h"
#include "core/platform/WholeFile.h"
#include "core/session/Session.h"
#include "desktop/LocalWebServer.h"
#include "frame/OpenDocument.h"
#include "publish/Publish.h"
#include "publish/PublishedFolder.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

// What the chosen folder is to a publication.
enum class Target { New, Empty, Published, Taken };

Target TargetOf(const std::string& folder) {
    std::error_code error;
    fs::file_status status = fs::symlink_status(folder, error);
    if (!fs::exists(status)) return Target::New;
    if (!fs::is_directory(status)) return Target::Taken;
    if (fs::is_empty(folder, error) && !error) return Target::Empty;
    if (fs::is_regular_file(fs::symlink_status(folder + "/" + publish::kPublishedList, error)))
        return Target::Published;
    return Target::Taken;
}

// The files of a staged publication, relative to it, "/" between folders.
std::vector<std::string> StagedFiles(const std::string& stage) {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(stage)) {
        if (!entry.is_regular_file()) continue;
        std::string path = fs::relative(entry.path(), stage).generic_string();
        if (path != publish::kPublishedList) files.push_back(path);
    }
    return files;
}

// Puts a staged publication where a key was published before: what that run listed goes,
// the new files come, and the folder's other files stay, as --force does.
void ReplaceEarlier(const std::string& stage, const std::string& target) {
    std::vector<std::string> files = StagedFiles(stage);
    publish::OutputFolder folder(target, true, files);
    folder.Begin();
    for (const std::string& file : files)
        folder.Write(file, ReadWholeFile(stage + "/" + file).Bytes);
}

// The report, short enough for a message box: its first lines, and how many more.
std::string Shortened(const std::string& report) {
    constexpr int kLines = 16;
    std::istringstream lines(report);
    std::string line, text;
    int count = 0;
    while (std::getline(lines, line))
        if (++count <= kLines) text += line + "\n";
    if (count > kLines) text += "(and " + std::to_string(count - kLines) + " more lines)\n";
    return text;
}

}  // namespace

std::string MakeStagingFolder(const std::string& target) {
    fs::path path(target);
    std::string name =
        (path.parent_path() / ("." + path.filename().string() + ".publishing-XXXXXX")).string();
    if (!::mkdtemp(name.data())) return {};
    return name;
}

void PublishForTheWeb(Session& session, LocalWebServer& server) {
    if (!session.Key.KeyOpen) return;
    std::string web = session.Data.Data.empty() ? std::string() : session.Data.Data + "web/";
    if (web.empty() || !fs::is_regular_file(web + "engine/vorn-engine.wasm")) {
        ShowError(
            "This VORN was built without its web engine, so it cannot publish keys.  "
            "Build it with emscripten installed; see the README.");
        return;
    }
    FileDialogRequest request;
    request.Title = "Publish for the Web";
    request.StartFolder = session.WorkDir;
    std::optional<std::string> chosen = UI().FolderDialog(request);
    if (!chosen || chosen->empty()) return;
    std::string target = AbsolutePath(*chosen);
    while (target.size() > 1 && target.back() == '/')
        target.pop_back();

    Target kind = TargetOf(target);
    if (kind == Target::Taken) {
        ShowError("\"" + target +
                  "\" holds other files.  Choose an empty folder (the dialog can make one), "
                  "or one a key was published in before.");
        return;
    }
    if (kind == Target::Published &&
        !UI().AskYesNo(MessageKind::Warning,
                       "A key was published in \"" + target + "\" before.  Replace it?", nullptr)) {
        return;
    }
    std::string stage = MakeStagingFolder(target);
    if (stage.empty()) {
        ShowError("No folder could be made beside \"" + target +
                  "\" to publish into: " + std::strerror(errno) + ".");
        return;
    }

    // The publisher opens the key in a session of its own, from the key's folder.
    std::string here = CurrentDirectory();
    std::ostringstream report, failure;
    int status;
    {
        QProgressDialog progress(
            QString::fromStdString("Publishing the key " + session.Key.KeyName + "..."), "Cancel",
            0, 0, QApplication::activeWindow());
        progress.setWindowTitle("VORN");
        progress.setWindowModality(Qt::ApplicationModal);
        progress.setMinimumDuration(0);
        progress.show();
        publish::PublishRequest publishing;
        publishing.Key = here + session.Key.DesFileName;
        publishing.OutDir = stage;
        publishing.Progress = [&progress](size_t written, size_t planned) {
            progress.setMaximum(static_cast<int>(planned));
            progress.setValue(static_cast<int>(written));
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        };
        status = publish::PublishKey(publishing, report, failure, web);
    }
    ChangeToDirectory(here);

    // The report names the folder the files went to, which is the chosen one from now on.
    std::string told = report.str();
    for (size_t at; (at = told.find(stage)) != std::string::npos;)
        told.replace(at, stage.size(), target);
    std::string why;
    if (status == 0) {
        try {
            if (kind == Target::Published) {
                ReplaceEarlier(stage, target);
            } else {
                std::error_code error;
                if (kind == Target::Empty) fs::remove(target, error);
                fs::rename(stage, target);
            }
        } catch (const publish::Failure& refused) {
            why = refused.Message;
        } catch (const std::exception& error) {
            why = error.what();
        }
    } else {
        why = failure.str();
        while (!why.empty() && why.back() == '\n')
            why.pop_back();
    }
    std::error_code error;
    fs::remove_all(stage, error);  // gone already when it was renamed into place
    if (status != 0 && why.find(publish::kPublishCancelled) != std::string::npos) return;
    if (!why.empty()) {
        ShowError("The key " + session.Key.KeyName + " was not published.  " + why);
        return;
    }
    if (!UI().AskYesNo(MessageKind::Information,
                       Shortened(told) + "\nOpen the page in the browser now?", nullptr))
        return;
    QString address = server.Serve(QString::fromStdString(target));
    if (address.isEmpty()) {
        ShowError("The page cannot be served to the browser: no port of this computer was free.");
        return;
    }
    ShowAddressOnDesktop(address.toStdString());
}

}  // namespace vorn
