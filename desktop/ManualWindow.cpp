#include "desktop/ManualWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "core/session/DataPaths.h"
#include "core/session/Session.h"
#include "frame/Guarded.h"
#include "frame/Look.h"
#include "frame/OpenDocument.h"

namespace vorn {

TManualForm::TManualForm(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName("ManualForm");
    setWindowTitle("VORN manual");
    setWindowIcon(ProgramIcon());
    resize(760, 680);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    auto button = [this, buttons](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    BackButton = button("BackButton", "&Back");
    ForwardButton = button("ForwardButton", "&Forward");
    ContentsButton = button("ContentsButton", "&Contents");
    buttons->addStretch(1);
    CloseButton = button("CloseButton", "C&lose");

    Browser = new QTextBrowser(this);
    Browser->setObjectName("Browser");
    // Links are followed here, so that only the manual's own pages open in the window.
    Browser->setOpenLinks(false);
    // A size for reading pages of text, larger than the lists' 13 pixels.
    Browser->setFont(SystemFont(15));
    Browser->document()->setDocumentMargin(12);
    layout->addWidget(Browser, 1);

    BackButton->setEnabled(false);
    ForwardButton->setEnabled(false);
    connect(Browser, &QTextBrowser::backwardAvailable, BackButton, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, ForwardButton, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, this, [this] {
        QString title = Browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QString("VORN manual") : title);
    });
    connect(Browser, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& link) { Guarded([&] { FollowLink(link); }); });
    ConnectGuarded(BackButton, &QPushButton::clicked, Browser, [this] { Browser->backward(); });
    ConnectGuarded(ForwardButton, &QPushButton::clicked, Browser, [this] { Browser->forward(); });
    ConnectGuarded(ContentsButton, &QPushButton::clicked, this, [this] {
        if (QUrl contents = ManualAddress("index.html"); !contents.isEmpty()) {
            Browser->setSource(contents);
        }
    });
    ConnectGuarded(CloseButton, &QPushButton::clicked, this, [this] { close(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void TManualForm::ShowPage(const QUrl& address) {
    Browser->setSource(address);
    // Reopened on the same section after the reader scrolled away: back to the section.
    if (!address.fragment().isEmpty()) Browser->scrollToAnchor(address.fragment());
    show();
    raise();
    activateWindow();
    Browser->setFocus();
}

void TManualForm::FollowLink(const QUrl& link) {
    QUrl target = Browser->source().resolved(link);
    if (target.isLocalFile()) {
        Browser->setSource(target);
    } else {
        ShowAddressOnDesktop(target.toString().toStdString());
    }
}

QUrl ManualAddress(const std::string& target) {
    size_t hash = target.find('#');
    std::string path = ShippedFile(CurrentSession().Data, "docs/manual/" + target.substr(0, hash));
    if (path.empty()) return {};
    QUrl address = QUrl::fromLocalFile(QFile::decodeName(path.c_str()));
    if (hash != std::string::npos)
        address.setFragment(QString::fromStdString(target.substr(hash + 1)));
    return address;
}

}  // namespace vorn
