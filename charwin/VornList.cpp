#include "charwin/VornList.h"

#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>

#include "platform/Text.h"

namespace vorn {
namespace {

class IndicatorDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

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
        QRect text = option.rect.adjusted(2, 0, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        int f = option.font.pixelSize() > 0 ? option.font.pixelSize() : option.fontMetrics.height();
        return {option.rect.width(), f + f / 4};
    }
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
    indicator->SetupIndic(kind, index, countStyle, 0);
    TIndicatorObj& added = *indicator;
    model_->Append(std::move(indicator));
    return added;
}

void TVornListBox::InsertIndic(int row, uint8_t kind, int32_t index, uint8_t countStyle) {
    auto indicator = std::make_unique<TIndicatorObj>();
    indicator->SetupIndic(kind, index, countStyle, 0);
    model_->Insert(row, std::move(indicator));
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
    viewport()->update();
}

TVornIndexButton::TVornIndexButton(const QString& caption, int entry, QWidget* owner)
    : QPushButton(caption, owner), Entry(entry) {}

}  // namespace vorn
