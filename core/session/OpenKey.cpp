#include "core/session/OpenKey.h"

#include <exception>

#include "core/key/KeyFiles.h"
#include "core/platform/Directory.h"
#include "core/platform/FileLookup.h"
#include "core/platform/Messages.h"
#include "core/session/Events.h"
#include "core/session/KeyHistory.h"
#include "core/session/Scoring.h"

namespace vorn {
namespace {

void ClearKeyNames() {
    Key.KeyName.clear();
    Key.DesFileName.clear();
    Key.TaxFileName.clear();
    Key.ChrFileName.clear();
    Key.DatFileName.clear();
    Key.IndFileName.clear();
}

// Unscores every state and refreshes the windows; ResetKey without its check for an
// open key, for the key being opened.
void ResetScores() {
    if (OrMode) ToggleOrMode();
    ClearAllScores();
    Events().ScoresChanged();
}

// Closes every file of the key, all of them even when one fails; the first failure is
// rethrown once the key's state is consistent again.
void CloseKeyFiles(std::exception_ptr& firstError) {
    for (RecordFile* file : {&Key.TaxonFile, &Key.StateFile, &Key.MatrixFile}) {
        try {
            file->Close();
        } catch (...) {
            if (!firstError) firstError = std::current_exception();
        }
    }
}

}  // namespace

KeyFileNameParts SplitKeyFileName(const std::string& path) {
    KeyFileNameParts parts;
    size_t slash = path.rfind('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.rfind('.');
    std::string rest = path;
    if (dot != std::string::npos && dot >= nameStart) {
        parts.Extension = path.substr(dot);
        rest = path.substr(0, dot);
    }
    parts.Directory = rest.substr(0, nameStart);
    parts.Name = rest.substr(nameStart);
    return parts;
}

void OpenKey(const std::string& path) {
    CloseKey();
    Events().ProcessPendingEvents();
    KeyFileNameParts parts = SplitKeyFileName(path);
    // Names are kept whole: a cut name would name another file or none.
    Key.KeyName = path.empty() ? std::string() : parts.Name;
    if (Key.KeyName.empty()) return;

    Key.DesFileName = Key.KeyName + ".DES";
    Key.TaxFileName = Key.KeyName + ".TAX";
    Key.ChrFileName = Key.KeyName + ".CHR";
    Key.DatFileName = Key.KeyName + ".DAT";
    Key.IndFileName = Key.KeyName + ".IND";

    // A bare file name means the current directory.
    std::string directory = parts.Directory.empty() ? CurrentDirectory() : parts.Directory;
    if (!ChangeToDirectory(directory)) {
        ShowInformation("Sorry, the directory \"" + directory + "\" does not exist.");
        RemoveFromKeyHistory(path);
        ClearKeyNames();
        return;
    }

    std::string message = "Sorry, one or more of the VORN files needed for the " + Key.KeyName +
                          " key could not be found in the subdirectory " + directory +
                          ".  Not found: ";
    bool missing = false;
    for (const std::string* name :
         {&Key.DesFileName, &Key.TaxFileName, &Key.ChrFileName, &Key.DatFileName}) {
        if (FileExists(*name)) continue;
        if (message.back() != ' ') message += ',';
        message += ' ' + *name;
        missing = true;
    }
    if (missing) {
        ShowInformation(message + ".");
        RemoveFromKeyHistory(path);
        ClearKeyNames();
        return;
    }
    LoadKeyFiles(path, directory);
}

void LoadKeyFiles(const std::string& path, const std::string& directory) {
    try {
        OpenTaxonFile(Key.TaxFileName);
        Key.StateFile.Open(Key.ChrFileName, StateRecordSize);
        Key.MatrixFile.Open(Key.DatFileName, TaxaPerRecord);
    } catch (...) {
        std::exception_ptr ignored;
        CloseKeyFiles(ignored);
        ClearKeyNames();
        throw;
    }
    if (!FileExists(Key.IndFileName)) Key.IndFileName.clear();

    Key.TaxonCount = Key.TaxonFile.RecordCount() - (Key.LongTaxonNames ? 1 : 0);
    Key.StateCount = Key.StateFile.RecordCount();
    Key.RecordsPerState = (Key.TaxonCount - 1) / TaxaPerRecord + 1;

    if (Key.TaxonCount > MaxKeyItems || Key.StateCount > MaxKeyItems) {
        ShowError(
            "The VORN key you wish to access is too large for this copy of VORN.  The key "
            "cannot be opened.");
        std::exception_ptr error;
        CloseKeyFiles(error);
        ClearKeyNames();
        if (error) std::rethrow_exception(error);
        return;
    }

    ResetScores();
    Key.KeyOpen = true;
    ++KeysOpened;
    OpenKeyPath = path;
    WorkDir = directory;
    EmptyMatrixRecordCache();
    Events().KeyOpened();

    if (Events().ConfirmTitlePage()) {
        AddToKeyHistory(path);
        Events().KeyAccepted();
    } else {
        CloseKey();
    }
}

void CloseKey() {
    std::exception_ptr error;
    if (Key.KeyOpen) {
        if (OrMode) ToggleOrMode();
        CloseKeyFiles(error);
        Key.KeyOpen = false;
        OpenKeyPath.clear();
        ClearKeyNames();
        // Without a key nothing matches: no count of the closed key stays behind.
        Key.TaxonCount = 0;
        Key.StateCount = 0;
        ClearAllScores();
    }
    Events().KeyClosed();
    if (error) std::rethrow_exception(error);
}

void ResetKey() {
    if (Key.KeyOpen) ResetScores();
}

}  // namespace vorn
