#pragma once

#include <string>

namespace vorn {

class CodeMatrix;
class Session;

struct KeyFileNameParts {
    std::string Directory;  // up to and including the last "/"; empty when there is none
    std::string Name;
    std::string Extension;  // from the last "." after the last "/", dot included; may be empty
};
KeyFileNameParts SplitKeyFileName(const std::string& path);

// Opens the key whose .DES file is `path`: closes the open key, enters the key's
// directory, checks its four needed files, opens them, refuses a key beyond the
// capacity, resets the scores and has the title page confirmed (SessionEvents). A key
// the user confirms enters the key history; one whose directory or files are missing
// leaves it. Failures are told to the user through the message interface and leave no
// key open; an input/output error is thrown.
// The steps of Undo and Redo are forgotten.
void OpenKey(Session& session, const std::string& path);
// The second half of OpenKey, once the directory and files have been found.
void LoadKeyFiles(Session& session, const std::string& path, const std::string& directory);
// Opens a published key named `name` whose codes are `codes` (a web page's key, whose
// texts the page holds): closes the open key, takes the codes, resets the scores and
// forgets the steps of Undo and Redo, as LoadKeyFiles does once the files are read. No
// file is opened, so the key's texts cannot be read through the session (ReadStateText,
// StepText); the key history is left alone. `codes` holds at most MaxKeyItems taxa and
// states (UnpackCodes checks that).
void OpenPublishedKey(Session& session, const std::string& name, CodeMatrix&& codes);
// Closes the open key, if any, and tells KeyClosed (also with none open). Its counts go
// with it, and the steps of Undo and Redo: with no key open there are no taxa, states or
// scores.
void CloseKey(Session& session);
// Ends an open "Or" group, unscores every state and refreshes every window, as one step
// for Undo. With no key open it does nothing: nothing matches and no window is refreshed
// or opened.
void ResetKey(Session& session);

}  // namespace vorn
