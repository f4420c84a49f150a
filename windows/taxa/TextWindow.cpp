#include "windows/taxa/TextWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/key/NotesText.h"
#include "core/platform/Messages.h"
#include "core/platform/Text.h"
#include "frame/Guarded.h"
#include "frame/Look.h"
#include "frame/WindowRegistry.h"

namespace vorn {
namespace {

constexpr int kWidth = 592;
constexpr int kHeight = 288;

}  // namespace

TTextForm::TTextForm() : TChildForm(WindowKind::TextForm) {
    setObjectName("TextForm");
    setFont(SystemFont(13));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    TopPanel = ButtonBar(this, "TopPanel");
    CloseButton = BarButton(TopPanel, "CloseButton", "&Close", "Close this window", 0);
    ConnectGuarded(CloseButton, &QPushButton::clicked, this, &TTextForm::CloseButtonClick);

    // The text can be neither changed nor selected and takes no focus. It stays enabled
    // all the same: a disabled area would disable its scroll bars too, and long notes
    // could not be read to the end.
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setFont(SystemFont(13));
    Memo1->setReadOnly(true);
    Memo1->setUndoRedoEnabled(false);
    Memo1->setTextInteractionFlags(Qt::NoTextInteraction);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setContextMenuPolicy(Qt::NoContextMenu);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    layout->addWidget(TopPanel);
    layout->addWidget(Memo1, 1);
}

void TTextForm::FormCreate() {
    // Centred in the frame's client area; a frame smaller than the window keeps its title
    // bar reachable at the top left.
    QSize client = FrameClientSize(QSize(kWidth, kHeight));
    SetBounds(std::max(0, (client.width() - kWidth) / 2),
              std::max(0, (client.height() - kHeight) / 2), kWidth, kHeight);
}

void TTextForm::LoadLines(const std::string& fileName) {
    NotesText notes = ReadNotesText(fileName);
    Memo1->setPlainText(QString::fromStdString(notes.Text));
    if (notes.Cut) {
        ShowInformation("The notes file \"" + KeyTextToUtf8(fileName) +
                        "\" is too long to show in full.  Only its beginning is shown.");
    }
}

void TTextForm::ShowText(const QString& text) {
    Memo1->setPlainText(text);
}

void TTextForm::CloseButtonClick() {
    CloseForm();
}

}  // namespace vorn
