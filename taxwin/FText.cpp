#include "taxwin/FText.h"

#include <unistd.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/Guarded.h"
#include "app/Look.h"
#include "app/WindowManager.h"
#include "platform/FileLookup.h"
#include "platform/IoError.h"
#include "platform/Messages.h"
#include "platform/Text.h"

namespace vorn {
namespace {

constexpr int kWidth = 592;
constexpr int kHeight = 288;

// At most `limit` bytes of the file, and whether it holds more.
std::string ReadHead(const std::string& fileName, size_t limit, bool* more) {
    int fd = OpenForReading(fileName);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(::fdopen(fd, "rb"), std::fclose);
    if (!file) {
        int error = errno;
        ::close(fd);
        throw IoError(fileName, "open", std::strerror(error));
    }
    std::string bytes(limit + 1, '\0');
    size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get())) throw IoError(fileName, "read", std::strerror(errno));
    if (std::fclose(file.release()) != 0) throw IoError(fileName, "close", std::strerror(errno));
    *more = got > limit;
    bytes.resize(std::min(got, limit));
    return bytes;
}

// The text as the window shows it: the bytes split into lines at CR, LF or CR LF and
// joined with LF; a line end at the very end starts no further line. Stops after
// `maxLines` lines; `cut` tells whether anything was left out.
QString TextLines(const std::string& bytes, int maxLines, bool* cut) {
    std::string text;
    text.reserve(bytes.size());
    int lines = 0;
    size_t i = 0;
    *cut = false;
    while (i < bytes.size()) {
        if (lines == maxLines) {
            *cut = true;
            break;
        }
        size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string::npos) end = bytes.size();
        if (lines > 0) text += '\n';
        text.append(bytes, i, end - i);
        ++lines;
        i = end;
        if (i < bytes.size() && bytes[i++] == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
    }
    return QString::fromStdString(KeyTextToUtf8(text));
}

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
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

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
    bool more = false;
    std::string bytes = ReadHead(fileName, kMaxTextBytes, &more);
    bool manyLines = false;
    QString text = TextLines(bytes, kMaxTextLines, &manyLines);
    Memo1->setPlainText(text);
    if (more || manyLines) {
        ShowInformation("The notes file \"" + KeyTextToUtf8(fileName) +
                        "\" is too long to show in full.  Only its beginning is shown.");
    }
}

void TTextForm::CloseButtonClick() {
    CloseForm();
}

}  // namespace vorn
