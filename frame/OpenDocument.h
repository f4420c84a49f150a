#pragma once

#include <QUrl>
#include <functional>
#include <string>

namespace vorn {

// Hands a web address or a document to the desktop's own handler. False for a target
// that is empty once blanks and control characters are trimmed from both ends (the
// desktop is not asked then), and when the desktop refuses the request. No message.
bool OpenDocument(const std::string& target);

// Hands a local file (a picture) to the desktop's default handler for its type, as a
// file: address of its absolute path, however long. The address is made from the path's
// bytes, percent-encoded, so a name that is not UTF-8 (Windows-1252 from a key) still
// names its file. False when the desktop refuses.
bool OpenLocalFile(const std::string& path);

// OpenLocalFile, and when the desktop refuses (no viewer or browser for the file's type),
// one message that no program could open the file, naming it and its folder so that the
// user can open it by hand. False when refused.
bool ShowOnDesktop(const std::string& path);

// OpenDocument, and when the desktop refuses, one message that no program could open the
// address, naming it. False when refused.
bool ShowAddressOnDesktop(const std::string& address);

// The desktop's opener; tests put their own in its place.
inline std::function<bool(const QUrl&)> DesktopOpener;

// The two pages of the Web menu, which ship with the program in its data folder: its home
// page and the page of keys (bundled ones, and where to find more). Each is handed to the
// desktop (ShowOnDesktop); a page that is missing is told to the user with the file that
// was looked for.
bool OpenHomePage();
bool OpenKeysPage();

}  // namespace vorn
