#pragma once

#include <QUrl>
#include <QWidget>
#include <string>

class QPushButton;
class QTextBrowser;

namespace vorn {

// The user's manual, read inside VORN: the HTML pages of the data folder's docs/manual/
// in a text browser, in a window of its own that stays beside the main window. It needs
// no web browser (a minimal installation has none) and opens a page at its section,
// which the desktop's opener would drop. Links between the pages stay in the window; an
// address of another kind goes to the desktop. Made once, by the main window, and hidden
// rather than destroyed when closed, so that Back still knows the way.
class TManualForm : public QWidget {
    Q_OBJECT
public:
    explicit TManualForm(QWidget* owner);

    QPushButton* BackButton = nullptr;
    QPushButton* ForwardButton = nullptr;
    QPushButton* ContentsButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QTextBrowser* Browser = nullptr;

    // Shows `address` (a page of the manual, at its section when it names one) and brings
    // the window forward.
    void ShowPage(const QUrl& address);

private:
    void FollowLink(const QUrl& link);
};

// The address of `target` in the installed manual: a page with an optional section, as
// "windows.html#score". Empty when that page is not installed.
QUrl ManualAddress(const std::string& target);

}  // namespace vorn
