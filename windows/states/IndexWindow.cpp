#include "windows/states/IndexWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
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

// The bar of the find box above the columns.
constexpr int kFindBarHeight = 26;
// The narrowest the window gets, so that the find box stays usable.
constexpr int kMinimumWidth = 200;

QString FromKey(const std::string& bytes) {
    return QString::fromStdString(KeyTextToUtf8(bytes));
}

// The words of a text as the find box compares them: letters and digits, folded, without
// their accents ("Côte" gives "cote").
QStringList FoldedWords(const QString& text) {
    QString plain;
    for (QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.category() != QChar::Mark_NonSpacing) plain += c;
    }
    static const QRegularExpression notWord("[^\\p{L}\\p{N}]+");
    return plain.toCaseFolded().split(notWord, Qt::SkipEmptyParts);
}

// True when every word of `wanted` starts one of `words`.
bool HoldsWords(const QStringList& words, const QStringList& wanted) {
    return std::all_of(wanted.begin(), wanted.end(), [&](const QString& w) {
        return std::any_of(words.begin(), words.end(),
                           [&](const QString& word) { return word.startsWith(w); });
    });
}

}  // namespace

TCharIndex::TCharIndex() : TChildForm(WindowKind::CharIndex) {
    SetBackground(this, colours::Olive);
    setFont(SystemFont(13));
}

void TCharIndex::FormCreate() {
    layout_ = ReadIndexFile(CurrentSession().Key.IndFileName, table_);
    notice_ = layout_.Notice;
    error_ = layout_.Error;

    QWidget* bar = ButtonBar(this, "FindBar");
    bar->setFixedHeight(kFindBarHeight);
    auto* label = new QLabel("Find:", bar);
    label->setFont(SmallFont(9));
    label->setGeometry(IndexMargin, 0, 30, kFindBarHeight);
    FindEdit = new QLineEdit(bar);
    FindEdit->setObjectName("FindEdit");
    FindEdit->setPlaceholderText("words of an entry (Ctrl+F)");
    FindEdit->setToolTip("Keep the entries that hold these words; Enter opens the first");
    FindEdit->setClearButtonEnabled(true);
    ConnectGuarded(FindEdit, &QLineEdit::textChanged, this, &TCharIndex::FindEditChange);
    ConnectGuarded(FindEdit, &QLineEdit::returnPressed, this, &TCharIndex::FindEditReturn);
    auto* find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, FindEdit, [this] {
        FindEdit->setFocus(Qt::ShortcutFocusReason);
        FindEdit->selectAll();
    });

    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName("ScrollBox");
    ScrollBox->setFrameShape(QFrame::NoFrame);
    SetBackground(ScrollBox->viewport(), colours::Olive);
    panel_ = new QWidget;
    panel_->setObjectName("IndexPanel");
    SetBackground(panel_, colours::Olive);
    ScrollBox->setWidget(panel_);

    for (const IndexHeadingPlace& place : layout_.Headings) {
        auto* heading = new QLabel(FromKey(place.Text), panel_);
        heading->setObjectName("HeadingLabel");
        heading->setTextFormat(Qt::PlainText);
        heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        headings_.push_back(heading);
    }
    for (const IndexButtonPlace& place : layout_.Buttons) {
        const IndexEntry& entry = table_[static_cast<size_t>(place.Entry)];
        auto* button = new TVornIndexButton(FromKey(place.Text), place.Entry, panel_);
        button->setObjectName(QString("IndexButton%1").arg(place.Entry));
        StyleSmallButton(button, QString());
        ConnectGuarded(button, &QPushButton::clicked, this, [this, button] {
            Windows().ShowCharSubset(table_[static_cast<size_t>(button->Entry)]);
        });
        buttons_.push_back(button);
        // A heading's numbers ("Characters 76-100") would match every entry under it.
        QStringList words = FoldedWords(FromKey(entry.Text));
        for (const QString& word : FoldedWords(FromKey(*entry.Heading))) {
            if (!std::all_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); }))
                words << word;
        }
        words_.push_back(words);
    }
    PlaceEntries();

    // As large as the columns, within the frame's area; beyond it they scroll.
    QMdiSubWindow* sub = SubWindow();
    QSize extra = sub ? sub->size() - sub->contentsRect().size() : QSize();
    QSize room =
        FrameClientSize(QSize(layout_.ClientWidth, kFindBarHeight + layout_.ClientHeight)) - extra;
    room = room.expandedTo(QSize(kMinimumWidth, kFindBarHeight + IndexFirstButtonTop));
    int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int width = layout_.ClientWidth, height = kFindBarHeight + layout_.ClientHeight;
    bool across = width > room.width();
    bool down = height + (across ? scrollBar : 0) > room.height();
    across = across || (down && width + scrollBar > room.width());
    width = std::clamp(width + (down ? scrollBar : 0), kMinimumWidth, room.width());
    height = std::min(height + (across ? scrollBar : 0), room.height());
    setFixedSize(width, height);
    bar->setGeometry(0, 0, width, kFindBarHeight);
    FindEdit->setGeometry(IndexMargin + 34, 3, width - 2 * IndexMargin - 34, kFindBarHeight - 6);
    ScrollBox->setGeometry(0, kFindBarHeight, width, height - kFindBarHeight);

    if (sub) {
        // A fixed frame with a system menu and a minimize box, but no maximize box.
        sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
        sub->adjustSize();
        SetBounds(0, 0, sub->width(), sub->height());
    }
}

void TCharIndex::PlaceEntries() {
    QStringList wanted = FoldedWords(FindEdit->text());
    // Columns with no entry left give way to the next.
    std::vector<int> shown(headings_.size(), 0);
    std::vector<bool> kept(buttons_.size());
    for (size_t b = 0; b < buttons_.size(); ++b) {
        kept[b] = wanted.isEmpty() || HoldsWords(words_[b], wanted);
        if (kept[b]) ++shown[static_cast<size_t>(layout_.Buttons[b].Column)];
    }
    int step = layout_.ColumnStep;
    std::vector<int> left(headings_.size());
    int next = IndexMargin, columns = 0;
    for (size_t k = 0; k < headings_.size(); ++k) {
        const IndexHeadingPlace& place = layout_.Headings[k];
        bool visible = wanted.isEmpty() || shown[k] > 0;
        left[k] = wanted.isEmpty() ? place.Left : next;
        headings_[k]->setGeometry(left[k], IndexHeadingTop, place.Width, IndexRowHeight);
        headings_[k]->setVisible(visible);
        if (visible) {
            next += step;
            ++columns;
        }
    }
    std::vector<int> rows(headings_.size(), 0);
    int deepest = 0;
    for (size_t b = 0; b < buttons_.size(); ++b) {
        const IndexButtonPlace& place = layout_.Buttons[b];
        size_t k = static_cast<size_t>(place.Column);
        int top = wanted.isEmpty() ? place.Top : IndexFirstButtonTop + rows[k] * IndexRowStep;
        buttons_[b]->setGeometry(left[k], top, place.Width, IndexRowHeight);
        buttons_[b]->setVisible(kept[b]);
        if (kept[b]) deepest = std::max(deepest, ++rows[k]);
    }
    if (wanted.isEmpty()) {
        panel_->setFixedSize(layout_.ClientWidth, layout_.ClientHeight);
    } else {
        int width = 2 * IndexMargin;
        if (columns > 0) width += (columns - 1) * step + layout_.Headings[0].Width;
        panel_->setFixedSize(width, IndexFirstButtonTop + deepest * IndexRowStep);
    }
}

void TCharIndex::FindEditChange() {
    PlaceEntries();
    ScrollBox->horizontalScrollBar()->setValue(0);
    ScrollBox->verticalScrollBar()->setValue(0);
}

void TCharIndex::FindEditReturn() {
    for (TVornIndexButton* button : buttons_) {
        if (!button->isHidden()) {
            Windows().ShowCharSubset(table_[static_cast<size_t>(button->Entry)]);
            return;
        }
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
    // The area was scrolled to reach this window; the windows left are placed from the
    // origin.
    Windows().ScrollHome();
}

}  // namespace vorn
