#pragma once

#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorn {

// The desktop's opener is a program (xdg-open) that may fail after it started, when the
// browser or viewer it starts refuses. It runs asynchronously and is watched for
// kOpenerWatchMs: a failure within that time (an exit status other than 0, or no program
// to start) is told then, with the message a refusal gets; after it the opener counts as
// having done its work (it may wait for the browser it started), and nothing ever waits
// for it. The program, with the arguments before the address; tests put another command
// in its place.
inline std::vector<std::string> OpenerCommand = {"xdg-open"};
constexpr int kOpenerWatchMs = 5000;

// Tests that only look at the addresses handed over put a function in the opener's place:
// it answers at once whether the desktop accepted the request.
inline std::function<bool(const QUrl&)> DesktopOpener;

// Called when the desktop refused a request, now or later; several requests of one user
// action share one, so that the action is told once.
using RefusalTeller = std::shared_ptr<std::function<void()>>;

// Hands a web address or a document to the desktop's own handler. False for a target
// that is empty once blanks and control characters are trimmed from both ends (the
// desktop is not asked then), and when the desktop refuses the request at once. A later
// refusal calls `refused`.
bool OpenDocument(const std::string& target, RefusalTeller refused = nullptr);

// Hands a local file (a picture) to the desktop's default handler for its type, as a
// file: address of its absolute path, however long. The address is made from the path's
// bytes, percent-encoded, so a name that is not UTF-8 (Windows-1252 from a key) still
// names its file. False when the desktop refuses at once; a later refusal calls `refused`.
bool OpenLocalFile(const std::string& path, RefusalTeller refused = nullptr);

// OpenLocalFile, and when the desktop refuses (no viewer or browser for the file's type),
// now or later, one message that no program could open the file, naming it and its folder
// so that the user can open it by hand. Files handed over by one user action share
// `toldOnce`: the first refusal is told, the others not. False when refused at once.
bool ShowOnDesktop(const std::string& path, std::shared_ptr<bool> toldOnce = nullptr);

// OpenDocument, and when the desktop refuses, now or later, one message that no program
// could open the address, naming it. False when refused at once.
bool ShowAddressOnDesktop(const std::string& address);

// The two pages of the Web menu, which ship with the program in its data folder: its home
// page and the page of keys (bundled ones, and where to find more). Each is handed to the
// desktop (ShowOnDesktop); a page that is missing is told to the user with the file that
// was looked for.
bool OpenHomePage();
bool OpenKeysPage();

}  // namespace vorn
