#include "core/session/OpenKey.h"

#include <exception>

#include "core/key/KeyFiles.h"
#include "core/key/WholeStateTexts.h"
#include "core/platform/Directory.h"
#include "core/platform/FileLookup.h"
#include "core/platform/Messages.h"
#include "core/session/Events.h"
#include "core/session/KeyHistory.h"
#include "core/session/Session.h"

namespace vorn {
namespace {

void ClearKeyNames(KeyRecord& key) {
    key.KeyName.clear();
    key.DesFileName.clear();
    key.TaxFileName.clear();
    key.ChrFileName.clear();
    key.DatFileName.clear();
    key.IndFileName.clear();
}

// Closes every file of the key, all of them even when one fails, and frees its codes;
// the first failure is rethrown once the key's state is consistent again.
void CloseKeyFiles(KeyRecord& key, std::exception_ptr& firstError) {
    for (RecordFile* file : {&key.TaxonFile, &key.StateFile}) {
        try {
            file->Close();
        } catch (...) {
            if (!firstError) firstError = std::current_exception();
        }
    }
    key.Codes.Clear();
    key.WholeTexts = {};
}

// Gives up a key whose files were opened but that cannot be used: files closed, names
// emptied; no key is open.
void Refuse(KeyRecord& key) {
    std::exception_ptr error;
    CloseKeyFiles(key, error);
    ClearKeyNames(key);
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

void OpenKey(Session& session, const std::string& path) {
    KeyRecord& key = session.Key;
    CloseKey(session);
    session.Events().ProcessPendingEvents();
    KeyFileNameParts parts = SplitKeyFileName(path);
    // Names are kept whole: a cut name would name another file or none.
    key.KeyName = path.empty() ? std::string() : parts.Name;
    if (key.KeyName.empty()) return;

    key.DesFileName = key.KeyName + ".DES";
    key.TaxFileName = key.KeyName + ".TAX";
    key.ChrFileName = key.KeyName + ".CHR";
    key.DatFileName = key.KeyName + ".DAT";
    key.IndFileName = key.KeyName + ".IND";

    // A bare file name means the current directory.
    std::string directory = parts.Directory.empty() ? CurrentDirectory() : parts.Directory;
    if (!ChangeToDirectory(directory)) {
        ShowInformation("Sorry, the directory \"" + directory + "\" does not exist.");
        RemoveFromKeyHistory(session.KeyHistory, path);
        ClearKeyNames(key);
        return;
    }

    std::string message = "Sorry, one or more of the VORN files needed for the " + key.KeyName +
                          " key could not be found in the subdirectory " + directory +
                          ".  Not found: ";
    bool missing = false;
    for (const std::string* name :
         {&key.DesFileName, &key.TaxFileName, &key.ChrFileName, &key.DatFileName}) {
        if (FileExists(*name)) continue;
        if (message.back() != ' ') message += ',';
        message += ' ' + *name;
        missing = true;
    }
    if (missing) {
        ShowInformation(message + ".");
        RemoveFromKeyHistory(session.KeyHistory, path);
        ClearKeyNames(key);
        return;
    }
    LoadKeyFiles(session, path, directory);
}

void LoadKeyFiles(Session& session, const std::string& path, const std::string& directory) {
    KeyRecord& key = session.Key;
    RecordFile matrix;
    try {
        key.OpenTaxonFile(key.TaxFileName);
        key.StateFile.Open(key.ChrFileName, StateRecordSize);
        matrix.Open(key.DatFileName, TaxaPerRecord);
    } catch (...) {
        std::exception_ptr ignored;
        CloseKeyFiles(key, ignored);
        ClearKeyNames(key);
        throw;
    }
    if (!FileExists(key.IndFileName)) key.IndFileName.clear();

    key.TaxonCount = key.TaxonFile.RecordCount() - (key.LongTaxonNames ? 1 : 0);
    key.StateCount = key.StateFile.RecordCount();
    key.RecordsPerState = (key.TaxonCount - 1) / TaxaPerRecord + 1;

    if (key.TaxonCount > MaxKeyItems || key.StateCount > MaxKeyItems) {
        ShowError(
            "The VORN key you wish to access is too large for this copy of VORN (at most "
            "65,535 taxa and 65,535 states).  The key cannot be opened.");
        Refuse(key);
        return;
    }
    // Every code is read now, so a matrix that cannot hold them all is told now, not in
    // the middle of a later action.
    int64_t needed = int64_t{key.StateCount} * key.RecordsPerState;
    if (matrix.RecordCount() < needed) {
        ShowError("Sorry, the VORN file " + key.DatFileName + " of the " + key.KeyName +
                  " key is too short: its " + std::to_string(key.TaxonCount) + " taxa and " +
                  std::to_string(key.StateCount) + " states need " + std::to_string(needed) +
                  " records of 40 codes, and it holds " + std::to_string(matrix.RecordCount()) +
                  ".  The key cannot be opened.");
        Refuse(key);
        return;
    }
    try {
        key.Codes.Read(matrix, key.TaxonCount, key.StateCount, key.RecordsPerState);
        matrix.Close();
    } catch (...) {
        std::exception_ptr ignored;
        CloseKeyFiles(key, ignored);
        ClearKeyNames(key);
        throw;
    }
    // Whole state texts, when the key has a file of them that serves; otherwise the
    // records' texts, and the user is told why once.
    if (std::string whole = key.KeyName + ".CHL"; FileExists(whole)) {
        WholeStateTexts texts = ReadWholeStateTexts(whole, key.StateCount);
        if (texts.Problem.empty()) {
            key.WholeTexts = std::move(texts.Texts);
        } else {
            ShowInformation("The whole state texts of the " + key.KeyName +
                            " key cannot be shown: " + texts.Problem + ".  The shorter texts of " +
                            key.ChrFileName + " are shown instead.");
        }
    }
    session.StartEngine();
    session.OpenEngine()->SetTolerance(session.ToleranceMode);

    // A new engine scores nothing: the windows are filled once, when the key is accepted.
    session.ClearSteps();
    key.KeyOpen = true;
    ++session.KeysOpened;
    session.OpenKeyPath = path;
    session.WorkDir = directory;
    session.Events().KeyOpened();

    if (session.Events().ConfirmTitlePage()) {
        AddToKeyHistory(session.KeyHistory, path);
        session.Events().KeyAccepted();
    } else {
        CloseKey(session);
    }
}

void OpenPublishedKey(Session& session, const std::string& name, CodeMatrix&& codes) {
    KeyRecord& key = session.Key;
    CloseKey(session);
    key.KeyName = name;
    key.TaxonCount = codes.TaxonCount();
    key.StateCount = codes.StateCount();
    key.RecordsPerState = (key.TaxonCount - 1) / TaxaPerRecord + 1;
    key.Codes = std::move(codes);
    session.StartEngine();
    session.OpenEngine()->SetTolerance(session.ToleranceMode);
    session.ResetScores();
    session.ClearSteps();
    key.KeyOpen = true;
    ++session.KeysOpened;
    session.Events().KeyOpened();
    session.Events().KeyAccepted();
}

void CloseKey(Session& session) {
    KeyRecord& key = session.Key;
    std::exception_ptr error;
    if (key.KeyOpen) {
        if (session.OrMode()) session.ToggleOrMode();
        // The engine and the codes go with the key: with no key open there are no
        // taxa, states or scores, and nothing of the closed key stays in memory.
        session.StopEngine();
        CloseKeyFiles(key, error);
        key.KeyOpen = false;
        session.OpenKeyPath.clear();
        ClearKeyNames(key);
        key.TaxonCount = 0;
        key.StateCount = 0;
    }
    session.StopEngine();
    session.ClearSteps();
    session.Events().KeyClosed();
    if (error) std::rethrow_exception(error);
}

void ResetKey(Session& session) {
    if (session.Key.KeyOpen) session.ResetScores();
}

}  // namespace vorn
