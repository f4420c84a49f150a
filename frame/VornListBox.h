#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QPushButton>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "frame/Indicator.h"

namespace vorn {

// The items of a TVornListBox: the list owns its indicators.
class TVornListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void Append(std::unique_ptr<TIndicatorObj> indicator);
    void Insert(int row, std::unique_ptr<TIndicatorObj> indicator);
    void Remove(int row);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TIndicatorObj& At(int row) const { return *items_[static_cast<size_t>(row)]; }

private:
    std::vector<std::unique_ptr<TIndicatorObj>> items_;
};

// The owner-drawn list of every list window: one line per item, IndicText drawn at 2
// pixels from the left, items F + F/4 pixels high for a font of F pixels. Lines are built
// when painted (only the visible ones), so a repaint shows new marks and counts without
// rebuilding the list, and painting reads no file. Every item is as wide as the widest
// line, so the list scrolls sideways only when some line does not fit.
class TVornListBox : public QListView {
    Q_OBJECT
public:
    explicit TVornListBox(QWidget* owner);

    // Appends a new indicator set up with `kind`, `index` and `countStyle`.
    TIndicatorObj& AddIndic(uint8_t kind, int32_t index, uint8_t countStyle);
    void DeleteItem(int row);
    void Clear();
    int Count() const { return model_->Count(); }
    TIndicatorObj& Indicator(int row) const { return model_->At(row); }
    // The row of the highlighted item, or -1.
    int SelectedRow() const;
    void SelectRow(int row);
    // The Index of the highlighted item's indicator, or -1 when nothing is highlighted.
    int32_t SelectedIndic() const;
    // The highlighted item's indicator, or null.
    const TIndicatorObj* SelectedIndicator() const;
    // The height of every item for the list's font.
    int ItemHeight() const;
    // Redraws the visible items, and lays the list out again when the widest line changed.
    void RepaintList();
    // The width of the widest line with its margins: the width of every item.
    int LineWidth() const;
    // Typing letters does not move the highlight: a hidden search of the lines would jump
    // unpredictably. Each line's text stays available to assistive technology.
    void keyboardSearch(const QString&) override {}

signals:
    // A double-click on an item.
    void VornListBoxDblClick();
    // A click on an item (also on the highlighted one), or the highlight moved by the
    // keyboard.
    void VornListBoxClick();

private:
    // What the cached widths depend on besides the item itself.
    struct WidthKey {
        QString Font;
        bool Numbers = false;
        int Names = 0;
        int64_t Keys = 0;
        bool operator==(const WidthKey&) const = default;
    };
    int MeasureLines() const;
    int TextWidth(const std::string& keyText) const;

    TVornListModel* model_;
    // The widest line, measured again only after the items changed or on RepaintList.
    mutable int lineWidth_ = 0;
    mutable bool lineWidthStale_ = true;
    mutable WidthKey widthKey_;
    // Body widths by kind and key index (-1 unknown): they outlive rebuilds of the list.
    mutable std::vector<int> bodyWidths_[2];
    mutable std::unordered_map<uint64_t, int> prefixWidths_;
};

// A button of the index window, standing for one entry of its table.
class TVornIndexButton : public QPushButton {
    Q_OBJECT
public:
    TVornIndexButton(const QString& caption, int entry, QWidget* owner);
    int Entry;
};

}  // namespace vorn
