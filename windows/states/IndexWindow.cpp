#include "windows/states/IndexWindow.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <utility>

#include "core/key/KeyFiles.h"
#include "core/platform/Messages.h"
#include "core/platform/Text.h"
#include "core/session/Session.h"
#include "frame/Guarded.h"
#include "frame/Look.h"
#include "frame/VornListBox.h"
#include "frame/WindowRegistry.h"

namespace vorn {
namespace {

QString FromKey(const std::string& bytes) {
    return QString::fromStdString(KeyTextToUtf8(bytes));
}

}  // namespace

TCharIndex::TCharIndex() : TChildForm(WindowKind::CharIndex) {
    SetBackground(this, colours::Olive);
    setFont(SystemFont(13));
}

void TCharIndex::FormCreate() {
    IndexLayout layout = ReadIndexFile(CurrentSession().Key.IndFileName, IndexTable);
    notice_ = layout.Notice;
    error_ = layout.Error;

    for (const IndexHeadingPlace& place : layout.Headings) {
        auto* label = new QLabel(FromKey(place.Text), this);
        label->setObjectName("HeadingLabel");
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(place.Left, IndexHeadingTop, place.Width, IndexRowHeight);
    }
    for (const IndexButtonPlace& place : layout.Buttons) {
        auto* button = new TVornIndexButton(FromKey(place.Text), place.Entry, this);
        button->setObjectName(QString("IndexButton%1").arg(place.Entry));
        button->setGeometry(place.Left, place.Top, place.Width, IndexRowHeight);
        StyleSmallButton(button, QString());
        ConnectGuarded(button, &QPushButton::clicked, this,
                       [button] { Windows().ShowCharSubset(button->Entry); });
    }

    setFixedSize(layout.ClientWidth, layout.ClientHeight);
    if (QMdiSubWindow* sub = SubWindow()) {
        // A fixed frame with a system menu and a minimize box, but no maximize box.
        sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
        sub->adjustSize();
        SetBounds(0, 0, sub->width(), sub->height());
    }
}

void TCharIndex::FormShow() {
    // Centred in the area as it is seen unscrolled, not where an earlier index (of this
    // key or another) was scrolled to.
    Windows().ScrollHome();
    if (QMdiSubWindow* sub = SubWindow()) {
        QSize client = FrameClientSize(sub->size());
        int left = std::max(0, (client.width() - sub->width()) / 2);
        int top = std::max(0, (client.height() - sub->height()) / 2);
        sub->move(left, top);
    }
    if (!notice_.empty()) ShowInformation(notice_);
    if (std::exception_ptr error = std::exchange(error_, nullptr)) {
        std::rethrow_exception(error);
    }
}

void TCharIndex::FormClose() {
    ClearIndexTable(IndexTable);
    // The area was scrolled to reach this window; the windows left are placed from the
    // origin.
    Windows().ScrollHome();
}

}  // namespace vorn
