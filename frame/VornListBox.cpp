#include "frame/VornListBox.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "core/platform/Text.h"
#include "core/session/Modes.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "frame/LineWidths.h"
#include "frame/PaintErrors.h"
#include "frame/WindowRegistry.h"

namespace vorn {
namespace {

// Where a line starts in its item, and the room kept after the widest one.
constexpr int kLeftInset = 2;
constexpr int kRightMargin = 4;
constexpr int kSideStep = 12;

QString FromKeyText(const std::string& keyText) {
    return QString::fromStdString(KeyTextToUtf8(keyText));
}

// The line of a row as drawn, in its parts: the prefix (codes, counter and mark), the
// number in number mode, and the rest. A row whose texts cannot be read shows its prefix
// alone; drawing never throws (frame/PaintErrors.h).
struct LineParts {
    QString Prefix;
    QString Number;
    QString Rest;
    QString Whole() const { return Prefix + Number + Rest; }
};

LineParts PartsOf(const TVornListModel& model, const IndicatorRow& row) {
    if (row.Kind == TIndicatorObj::IndicNote)
        return {{}, {}, FromKeyText(model.NoteText(row.Index))};
    IndicNumbers numbers = CurrentNumbers(row);
    try {
        TIndicatorObj indicator = TIndicatorObj::Read(row);
        std::string body = IndicBody(indicator);
        size_t number = LineWidths::NumberBytes(body);
        return {FromKeyText(IndicPrefix(indicator, numbers)), FromKeyText(body.substr(0, number)),
                FromKeyText(body.substr(number))};
    } catch (const std::exception& error) {
        NotePaintError(error);
        return {FromKeyText(IndicPrefix(row, false, numbers)), {}, {}};
    }
}

QString LineOf(const TVornListModel& model, const IndicatorRow& row) {
    return PartsOf(model, row).Whole();
}

// Where the parts of a line go, from the left of the line (after the inset).
struct PartPlaces {
    int CodesStep = 0;  // a code's step in a codes lead, else 0
    int PrefixLeft = 0;
    int NumberLeft = 0;
    int NumberCell = 0;  // 0 without a number
    int RestLeft = 0;
};

PartPlaces PlacesOf(const QFontMetrics& metrics, const IndicatorRow& row, const LineParts& parts) {
    PartPlaces places;
    QString prefix = parts.Prefix;
    if (LineWidths::HasCodesLead(row) && prefix.size() >= LineWidths::kCodesLeadBytes) {
        places.CodesStep = LineWidths::CodesLeadWidth(metrics) / 2;
        places.PrefixLeft = 2 * places.CodesStep;
        prefix = prefix.mid(LineWidths::kCodesLeadBytes);
    }
    places.NumberLeft = places.PrefixLeft + metrics.horizontalAdvance(prefix);
    if (!parts.Number.isEmpty()) places.NumberCell = LineWidths::NumberCellWidth(metrics, row.Kind);
    places.RestLeft = places.NumberLeft + places.NumberCell;
    return places;
}

class IndicatorDelegate : public QStyledItemDelegate {
public:
    explicit IndicatorDelegate(TVornListBox* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (option.rect.top() < 0 && option.rect.bottom() < 0) return;
        auto* model = static_cast<const TVornListModel*>(index.model());
        bool note =
            index.row() < model->Count() && model->At(index.row()).Kind == TIndicatorObj::IndicNote;
        bool selected = option.state & QStyle::State_Selected;
        // A note, which cannot be selected, gets the disabled colours from the view; it is
        // drawn on the list's own background instead, so it does not look highlighted.
        const QPalette& palette = note ? list_->palette() : option.palette;
        painter->fillRect(option.rect, selected ? palette.brush(QPalette::Highlight)
                                                : palette.brush(QPalette::Base));
        if (index.row() >= model->Count()) return;
        const IndicatorRow& row = model->At(index.row());
        LineParts parts = PartsOf(*model, row);
        QRect text = option.rect.adjusted(kLeftInset, 0, 0, 0);
        constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
        if (note) {
            QFont font = option.font;
            font.setItalic(true);
            painter->setFont(font);
            painter->setPen(palette.color(QPalette::PlaceholderText));
            painter->drawText(text, kFlags, parts.Rest);
            return;
        }
        painter->setFont(option.font);
        painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QFontMetrics& metrics = option.fontMetrics;
        PartPlaces places = PlacesOf(metrics, row, parts);
        auto from = [&text](int left) { return text.adjusted(left, 0, 0, 0); };
        QString prefix = parts.Prefix;
        if (places.CodesStep > 0) {
            int cell = LineWidths::CodeCellWidth(metrics);
            for (int k = 0; k < 2; ++k) {
                QRect code(text.left() + k * places.CodesStep, text.top(), cell, text.height());
                painter->drawText(code, Qt::AlignHCenter | Qt::AlignTop, prefix.mid(2 * k, 1));
            }
            prefix = prefix.mid(LineWidths::kCodesLeadBytes);
        }
        painter->drawText(from(places.PrefixLeft), kFlags, prefix);
        if (places.NumberCell > 0) {
            QRect cell(text.left() + places.NumberLeft, text.top(), places.NumberCell,
                       text.height());
            painter->drawText(cell, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
                              parts.Number);
        }
        painter->drawText(from(places.RestLeft), kFlags, parts.Rest);
    }

    // Items are all alike (uniformItemSizes), so the view asks for one size: the widest
    // line's. A list view that does not wrap stretches the items to the viewport's width,
    // so a highlight still fills its row when every line is narrower.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        int f = option.font.pixelSize() > 0 ? option.font.pixelSize() : option.fontMetrics.height();
        return {list_->LineWidth(), f + f / 4};
    }

private:
    const TVornListBox* list_;
};

}  // namespace

int TVornListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

QVariant TVornListModel::data(const QModelIndex& index, int role) const {
    // The accessible text of an item; drawing builds its own line.
    if (role == Qt::DisplayRole && index.isValid() && index.row() < Count()) {
        return LineOf(*this, At(index.row()));
    }
    return {};
}

Qt::ItemFlags TVornListModel::flags(const QModelIndex& index) const {
    if (index.isValid() && index.row() < Count() &&
        At(index.row()).Kind == TIndicatorObj::IndicNote)
        return Qt::ItemNeverHasChildren;
    return QAbstractListModel::flags(index);
}

void TVornListModel::Append(const IndicatorRow& row) {
    rows_.push_back(row);
    if (held_ == 0) Show();
}

void TVornListModel::AppendNote(std::string text) {
    notes_.push_back(std::move(text));
    Append({TIndicatorObj::IndicNote, 0, 0, static_cast<int32_t>(notes_.size() - 1)});
}

void TVornListModel::Release() {
    if (held_ > 0 && --held_ == 0) Show();
}

void TVornListModel::Show() {
    if (shown_ == Count()) return;
    beginInsertRows(QModelIndex(), shown_, Count() - 1);
    shown_ = Count();
    endInsertRows();
}

void TVornListModel::Remove(int row) {
    if (row >= shown_) {
        rows_.erase(rows_.begin() + row);
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    --shown_;
    endRemoveRows();
}

void TVornListModel::Clear() {
    beginResetModel();
    rows_.clear();
    notes_.clear();
    shown_ = 0;
    endResetModel();
}

TVornListBox::TVornListBox(QWidget* owner) : QListView(owner), model_(new TVornListModel(this)) {
    setObjectName("VornListBox");
    setModel(model_);
    setItemDelegate(new IndicatorDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The view would step sideways by a whole item, now the widest line: a click on an
    // arrow moves a couple of characters instead.
    horizontalScrollBar()->setSingleStep(kSideStep);
    // A change of the items only marks the widest line for measuring, which the view's next
    // layout asks for: adding many items one by one measures them once.
    auto stale = [this] { lineWidthStale_ = true; };
    connect(model_, &QAbstractItemModel::rowsInserted, this, stale);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(model_, &QAbstractItemModel::modelReset, this, stale);
    connect(this, &QListView::doubleClicked, this, [this] { emit VornListBoxDblClick(); });
    // A click reports on its release, with the new item selected, also when that item was
    // highlighted already; the keyboard reports once the selection has moved. A selection
    // moved by a mouse press waits for its click, so no click reports twice.
    connect(this, &QListView::clicked, this, [this] { emit VornListBoxClick(); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (QApplication::mouseButtons() == Qt::NoButton) emit VornListBoxClick();
    });
}

void TVornListBox::AddIndic(uint8_t kind, int32_t index, uint8_t countStyle, uint16_t value) {
    IndicatorRow row{kind, countStyle, value, index};
    Widths().BodyOf(font(), row);
    model_->Append(row);
}

void TVornListBox::AddIndics(const std::function<void()>& add) {
    model_->Hold();
    try {
        add();
    } catch (...) {
        model_->Release();
        throw;
    }
    model_->Release();
}

void TVornListBox::AddNote(std::string text) {
    model_->AppendNote(std::move(text));
}

TIndicatorObj TVornListBox::Indicator(int row) const {
    TIndicatorObj indicator = TIndicatorObj::Read(model_->At(row));
    if (IsNote(row)) indicator.Text = model_->NoteText(indicator.Index);
    return indicator;
}

void TVornListBox::DeleteItem(int row) {
    if (row >= 0 && row < Count()) model_->Remove(row);
}

void TVornListBox::Clear() {
    model_->Clear();
}

int TVornListBox::SelectedRow() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() || IsNote(rows.first().row()) ? -1 : rows.first().row();
}

void TVornListBox::SelectRow(int row) {
    if (row < 0 || row >= Count() || IsNote(row)) {
        clearSelection();
        return;
    }
    QModelIndex index = model_->index(row);
    setCurrentIndex(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

int32_t TVornListBox::SelectedIndic() const {
    int row = SelectedRow();
    return row < 0 ? -1 : IndexAt(row);
}

std::optional<TIndicatorObj> TVornListBox::SelectedIndicator() const {
    int row = SelectedRow();
    if (row < 0) return std::nullopt;
    return Indicator(row);
}

TVornListBox::LinePlaces TVornListBox::Places(int row) const {
    LinePlaces places;
    if (row < 0 || row >= Count()) return places;
    const IndicatorRow& line = model_->At(row);
    if (line.Kind == TIndicatorObj::IndicNote) {
        places.TextLeft = kLeftInset;
        return places;
    }
    PartPlaces parts = PlacesOf(fontMetrics(), line, PartsOf(*model_, line));
    if (parts.NumberCell > 0) places.NumberRight = kLeftInset + parts.NumberLeft + parts.NumberCell;
    places.TextLeft = kLeftInset + parts.RestLeft;
    return places;
}

int TVornListBox::ItemHeight() const {
    return sizeHintForRow(0) > 0 ? sizeHintForRow(0) : font().pixelSize() + font().pixelSize() / 4;
}

void TVornListBox::RepaintList() {
    // Counts and marks change the lines' prefixes, and a mode their bodies.
    int before = lineWidth_;
    lineWidthStale_ = true;
    if (LineWidth() != before) scheduleDelayedItemsLayout();
    viewport()->update();
}

int TVornListBox::LineWidth() const {
    WidthKey key{font(), CurrentSession().NumberMode, static_cast<int>(CurrentSession().NameMode),
                 CurrentSession().KeysOpened};
    if (!(key == widthKey_)) {
        widthKey_ = std::move(key);
        lineWidthStale_ = true;
    }
    if (lineWidthStale_) {
        lineWidth_ = MeasureLines();
        lineWidthStale_ = false;
    }
    return lineWidth_;
}

LineWidths& TVornListBox::Widths() const {
    if (WindowRegistry* windows = InstalledWindows()) return windows->Widths();
    if (!ownWidths_) ownWidths_ = std::make_unique<LineWidths>();
    return *ownWidths_;
}

int TVornListBox::MeasureLines() const {
    LineWidths& widths = Widths();
    int widest = 0;
    for (int r = 0; r < Count(); ++r) {
        const IndicatorRow& row = model_->At(r);
        if (row.Kind == TIndicatorObj::IndicNote) {
            QFont italic = font();
            italic.setItalic(true);
            widest = std::max(widest, QFontMetrics(italic).horizontalAdvance(
                                          FromKeyText(model_->NoteText(row.Index))));
            continue;
        }
        LineWidths::Body body;
        try {
            body = widths.BodyOf(font(), row);
        } catch (const std::exception& error) {
            // Drawn with its prefix alone; the error is told once.
            NotePaintError(error);
            body = {0, false};
        }
        int prefix = widths.PrefixWidth(font(), row, body.Linked, CurrentNumbers(row));
        widest = std::max(widest, prefix + body.Width);
    }
    return widest == 0 ? 0 : kLeftInset + widest + kRightMargin;
}

TVornIndexButton::TVornIndexButton(const QString& caption, int entry, QWidget* owner)
    : QPushButton(caption, owner), Entry(entry) {}

}  // namespace vorn
