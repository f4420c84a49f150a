#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QListView>
#include <QPushButton>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "frame/Indicator.h"
#include "frame/LineWidths.h"

namespace vorn {

// The rows of a TVornListBox: plain values, a few bytes each, in one vector. A row's line
// is built when it is asked for. While held, appended rows are kept from the view, which
// learns of them all at once on release.
class TVornListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // A note's line can be neither highlighted nor double-clicked.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void Append(const IndicatorRow& row);
    // Appends a note row holding `text` (the key's bytes).
    void AppendNote(std::string text);
    // The text of a note row's Index.
    const std::string& NoteText(int32_t note) const { return notes_[static_cast<size_t>(note)]; }
    void Remove(int row);
    void Clear();
    void Hold() { ++held_; }
    void Release();
    int Count() const { return static_cast<int>(rows_.size()); }
    const IndicatorRow& At(int row) const { return rows_[static_cast<size_t>(row)]; }

private:
    // Tells the view of the rows appended since it last learnt of any.
    void Show();

    std::vector<IndicatorRow> rows_;
    std::vector<std::string> notes_;  // the texts of the note rows, by their Index
    int shown_ = 0;  // the rows the view knows of: all but those appended while held
    int held_ = 0;
};

// The owner-drawn list of every list window: one line per row, IndicText drawn at 2 pixels
// from the left, rows F + F/4 pixels high for a font of F pixels. A note row (AddNote) is
// drawn in italics, dimmed, and is never highlighted. A row keeps no text:
// lines are built when painted (only the visible ones), from the key's files, the engine's
// numbers and the display modes, so a repaint shows new marks and counts without rebuilding
// the list. Every row is as wide as the widest line, so the list scrolls sideways only when
// some line does not fit; the widths come from the LineWidths its window registry shares
// among its lists, so a rebuild measures only lines never measured before and is linear in
// the length of the list.
class TVornListBox : public QListView {
    Q_OBJECT
public:
    explicit TVornListBox(QWidget* owner);

    // Appends a row. The first time its item is seen in this font and these modes, reads
    // and measures its body (may throw IoError, and then nothing is appended). `value` is
    // what a CountSeparation or CountCodes row shows.
    void AddIndic(uint8_t kind, int32_t index, uint8_t countStyle, uint16_t value = 0);
    // Runs `add`, which appends rows with AddIndic, and tells the view of them at once when
    // it returns or throws (the rows added before an error stay). A view told of rows one
    // at a time does work for each: rebuilds of whole lists go through here.
    void AddIndics(const std::function<void()>& add);
    // Appends a note: words of the window's own (the key's bytes), such as why the list is
    // empty, that stand for no state or taxon.
    void AddNote(std::string text);
    bool IsNote(int row) const { return model_->At(row).Kind == TIndicatorObj::IndicNote; }
    void DeleteItem(int row);
    void Clear();
    int Count() const { return model_->Count(); }
    // The key index of the item in `row`.
    int32_t IndexAt(int row) const { return model_->At(row).Index; }
    // The item in `row` with its texts, read now (may throw IoError).
    TIndicatorObj Indicator(int row) const;
    // The row of the highlighted item, or -1.
    int SelectedRow() const;
    // Highlights the item in `row`; a row outside the list, or a note, highlights nothing.
    void SelectRow(int row);
    // The Index of the highlighted item, or -1 when nothing is highlighted.
    int32_t SelectedIndic() const;
    // The highlighted item with its texts, read now (may throw IoError); none when nothing
    // is highlighted.
    std::optional<TIndicatorObj> SelectedIndicator() const;
    // Where the parts of the line in `row` are drawn, from the left of its item: the end
    // of its number's cell in number mode (else -1), and where the text after it begins.
    struct LinePlaces {
        int NumberRight = -1;
        int TextLeft = 0;
    };
    LinePlaces Places(int row) const;
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
    // What the widest line depends on besides the rows and the engine's numbers.
    struct WidthKey {
        QFont Font;
        bool Numbers = false;
        int Names = 0;
        int64_t Keys = 0;
        bool operator==(const WidthKey&) const = default;
    };
    int MeasureLines() const;
    // The registry's shared widths; a list made without one (in a test) keeps its own.
    LineWidths& Widths() const;

    TVornListModel* model_;
    mutable std::unique_ptr<LineWidths> ownWidths_;
    // The widest line, measured again only after the rows changed, on RepaintList, or when
    // the font, the modes or the key changed.
    mutable int lineWidth_ = 0;
    mutable bool lineWidthStale_ = true;
    mutable WidthKey widthKey_;
};

// A button of the index window, standing for one entry of its table.
class TVornIndexButton : public QPushButton {
    Q_OBJECT
public:
    TVornIndexButton(const QString& caption, int entry, QWidget* owner);
    int Entry;
};

}  // namespace vorn
