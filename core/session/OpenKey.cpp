#include "core/session/OpenKey.h"

#include <exception>

#include "core/engine/Queries.h"
#include "core/key/KeyFiles.h"
#include "core/platform/Directory.h"
#include "core/platform/FileLookup.h"
#include "core/platform/Messages.h"
#include "core/session/Events.h"
#include "core/session/KeyHistory.h"
#include "core/session/Modes.h"
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
    Engine* engine = OpenEngine();
    if (!engine) return;
    // One refresh for the whole reset, also when it ends an open group first.
    ScoreTogether([engine] {
        if (engine->OrMode()) ToggleOrMode();
        engine->ClearAllScores();
        NoteScoresChanged();
    });
}

// Closes every file of the key, all of them even when one fails, and frees its codes;
// the first failure is rethrown once the key's state is consistent again.
void CloseKeyFiles(std::exception_ptr& firstError) {
    for (RecordFile* file : {&Key.TaxonFile, &Key.StateFile}) {
        try {
            file->Close();
        } catch (...) {
            if (!firstError) firstError = std::current_exception();
        }
    }
    Key.Codes.Clear();
}

// Gives up a key whose files were opened but that cannot be used: files closed, names
// emptied; no key is open.
void Refuse() {
    std::exception_ptr error;
    CloseKeyFiles(error);
    ClearKeyNames();
    if (error) std::rethrow_exception(error);
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
    RecordFile matrix;
    try {
        OpenTaxonFile(Key.TaxFileName);
        Key.StateFile.Open(Key.ChrFileName, StateRecordSize);
        matrix.Open(Key.DatFileName, TaxaPerRecord);
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
            "The VORN key you wish to access is too large for this copy of VORN (at most "
            "65,535 taxa and 65,535 states).  The key cannot be opened.");
        Refuse();
        return;
    }
    // Every code is read now, so a matrix that cannot hold them all is told now, not in
    // the middle of a later action.
    int64_t needed = int64_t{Key.StateCount} * Key.RecordsPerState;
    if (matrix.RecordCount() < needed) {
        ShowError("Sorry, the VORN file " + Key.DatFileName + " of the " + Key.KeyName +
                  " key is too short: its " + std::to_string(Key.TaxonCount) + " taxa and " +
                  std::to_string(Key.StateCount) + " states need " + std::to_string(needed) +
                  " records of 40 codes, and it holds " + std::to_string(matrix.RecordCount()) +
                  ".  The key cannot be opened.");
        Refuse();
        return;
    }
    try {
        Key.Codes.Read(matrix, Key.TaxonCount, Key.StateCount, Key.RecordsPerState);
        matrix.Close();
    } catch (...) {
        std::exception_ptr ignored;
        CloseKeyFiles(ignored);
        ClearKeyNames();
        throw;
    }
    StartEngine(Key.Codes);
    OpenEngine()->SetTolerance(ToleranceMode);

    ResetScores();
    Key.KeyOpen = true;
    ++KeysOpened;
    OpenKeyPath = path;
    WorkDir = directory;
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
        if (OrMode()) ToggleOrMode();
        // The engine and the codes go with the key: with no key open there are no
        // taxa, states or scores, and nothing of the closed key stays in memory.
        StopEngine();
        CloseKeyFiles(error);
        Key.KeyOpen = false;
        OpenKeyPath.clear();
        ClearKeyNames();
        Key.TaxonCount = 0;
        Key.StateCount = 0;
    }
    StopEngine();
    Events().KeyClosed();
    if (error) std::rethrow_exception(error);
}

void ResetKey() {
    if (Key.KeyOpen) ResetScores();
}

}  // namespace vorn
