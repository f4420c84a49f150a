#include "frame/VornListBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "core/key/KeyFiles.h"
#include "core/platform/Text.h"
#include "core/session/Modes.h"
#include "core/session/OpenKey.h"

namespace vorn {
namespace {

// Where a line starts in its item, and the room kept after the widest one.
constexpr int kLeftInset = 2;
constexpr int kRightMargin = 4;
constexpr int kSideStep = 12;

class IndicatorDelegate : public QStyledItemDelegate {
public:
    explicit IndicatorDelegate(TVornListBox* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (option.rect.top() < 0 && option.rect.bottom() < 0) return;
        bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        painter->fillRect(option.rect, selected ? palette.brush(QPalette::Highlight)
                                                : palette.brush(QPalette::Base));
        auto* model = static_cast<const TVornListModel*>(index.model());
        if (index.row() >= model->Count()) return;
        QString line = QString::fromStdString(KeyTextToUtf8(IndicText(model->At(index.row()))));
        painter->setFont(option.font);
        painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        QRect text = option.rect.adjusted(kLeftInset, 0, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
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
    return parent.isValid() ? 0 : Count();
}

QVariant TVornListModel::data(const QModelIndex& index, int role) const {
    // The accessible text of an item; drawing builds its own line.
    if (role == Qt::DisplayRole && index.isValid() && index.row() < Count()) {
        return QString::fromStdString(KeyTextToUtf8(IndicText(At(index.row()))));
    }
    return {};
}

void TVornListModel::Append(std::unique_ptr<TIndicatorObj> indicator) {
    Insert(Count(), std::move(indicator));
}

void TVornListModel::Insert(int row, std::unique_ptr<TIndicatorObj> indicator) {
    beginInsertRows(QModelIndex(), row, row);
    items_.insert(items_.begin() + row, std::move(indicator));
    endInsertRows();
}

void TVornListModel::Remove(int row) {
    beginRemoveRows(QModelIndex(), row, row);
    items_.erase(items_.begin() + row);
    endRemoveRows();
}

void TVornListModel::Clear() {
    beginResetModel();
    items_.clear();
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

TIndicatorObj& TVornListBox::AddIndic(uint8_t kind, int32_t index, uint8_t countStyle) {
    auto indicator = std::make_unique<TIndicatorObj>();
    indicator->SetupIndic(kind, index, countStyle);
    TIndicatorObj& added = *indicator;
    model_->Append(std::move(indicator));
    return added;
}

void TVornListBox::DeleteItem(int row) {
    if (row >= 0 && row < Count()) model_->Remove(row);
}

void TVornListBox::Clear() {
    model_->Clear();
}

int TVornListBox::SelectedRow() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TVornListBox::SelectRow(int row) {
    if (row < 0 || row >= Count()) {
        clearSelection();
        return;
    }
    QModelIndex index = model_->index(row);
    setCurrentIndex(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

int32_t TVornListBox::SelectedIndic() const {
    const TIndicatorObj* indicator = SelectedIndicator();
    return indicator ? indicator->Index : -1;
}

const TIndicatorObj* TVornListBox::SelectedIndicator() const {
    int row = SelectedRow();
    return row < 0 ? nullptr : &model_->At(row);
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
    WidthKey key{font().key(), NumberMode, static_cast<int>(NameMode), KeysOpened};
    if (key != widthKey_) {
        widthKey_ = std::move(key);
        for (std::vector<int>& widths : bodyWidths_)
            widths.clear();
        prefixWidths_.clear();
        lineWidthStale_ = true;
    }
    if (lineWidthStale_) {
        lineWidth_ = MeasureLines();
        lineWidthStale_ = false;
    }
    return lineWidth_;
}

int TVornListBox::MeasureLines() const {
    // Measuring text is slow and a list holds thousands of lines: a body is measured once
    // for its item and the modes, a prefix once for what it is made of.
    int widest = 0;
    for (int row = 0; row < Count(); ++row) {
        const TIndicatorObj& indicator = model_->At(row);
        uint64_t prefixKey = IndicPrefixKey(indicator);
        auto found = prefixWidths_.find(prefixKey);
        int prefixWidth =
            found != prefixWidths_.end()
                ? found->second
                : prefixWidths_.emplace(prefixKey, TextWidth(IndicPrefix(indicator))).first->second;
        // Bodies are cached by kind and key index, within the key's capacity.
        bool cacheable = indicator.Kind <= TIndicatorObj::IndicState && indicator.Index >= 0 &&
                         indicator.Index < MaxKeyItems;
        std::vector<int>& widths = bodyWidths_[cacheable ? indicator.Kind : 0];
        auto index = static_cast<size_t>(indicator.Index);
        int bodyWidth = cacheable && index < widths.size() ? widths[index] : -1;
        if (bodyWidth < 0) {
            bodyWidth = TextWidth(IndicBody(indicator));
            if (cacheable) {
                if (index >= widths.size()) widths.resize(index + 1, -1);
                widths[index] = bodyWidth;
            }
        }
        widest = std::max(widest, prefixWidth + bodyWidth);
    }
    return widest == 0 ? 0 : kLeftInset + widest + kRightMargin;
}

int TVornListBox::TextWidth(const std::string& keyText) const {
    return fontMetrics().horizontalAdvance(QString::fromStdString(KeyTextToUtf8(keyText)));
}

TVornIndexButton::TVornIndexButton(const QString& caption, int entry, QWidget* owner)
    : QPushButton(caption, owner), Entry(entry) {}

}  // namespace vorn
