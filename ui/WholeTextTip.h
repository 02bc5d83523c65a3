#pragma once
// Cells of a grid that show one line each: a cell cut short by its column
// (a price in a high-value currency, a long description) shows its whole
// text as a tool tip. A cell shown whole leaves the grid's own hint.

#include <QStyledItemDelegate>

namespace quillon {

class TWholeTextTip final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // True when the cell's text does not fit the room the style gives it.
    bool IsCutShort(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

}  // namespace quillon
