#pragma once
// A read-only grid of text cells over a plain table: `Headings` (one per
// column) and `Rows` (each an array of cell texts). The results grid shows the
// engine's ResultTable through it, the part-number grids a PartNumberTable.
// The table is changed only through Change(), so the view always learns of it;
// the current row is drawn in the highlight colour (and only that row).

#include <QAbstractTableModel>
#include <QColor>
#include <QSet>

#include <cstddef>
#include <exception>
#include <span>
#include <utility>
#include <vector>

#include "ui/QtText.h"
#include "ui/RowOrder.h"

namespace quillon {

template <class Table>
class TTextTableModel final : public QAbstractTableModel
{
public:
    explicit TTextTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    const Table& table() const { return table_; }

    // Runs change(table) and refreshes the views, also when the change stops
    // with an error part-way (the cells it reached stay and show).
    template <class Changer>
    void Change(Changer&& change)
    {
        beginResetModel();
        try {
            std::forward<Changer>(change)(table_);
        } catch (...) {
            ClampHighlight();
            endResetModel();
            throw;
        }
        ClampHighlight();
        endResetModel();
    }

    // Shows the rows in a new order (element k: the row to show k-th) without
    // a reset: the views' current row and the highlighted row move with their
    // rows. An order that does not name every row once changes nothing.
    void Reorder(std::span<const std::size_t> order)
    {
        if (!IsRowOrder(order, table_.Rows.size())) return;
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<int> movedTo(order.size());
        for (std::size_t k = 0; k < order.size(); ++k) movedTo[order[k]] = static_cast<int>(k);
        ApplyRowOrder(table_.Rows, order);
        if (highlighted_ >= 0) highlighted_ = movedTo[static_cast<std::size_t>(highlighted_)];
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& index : before)
            after << (index.isValid() ? this->index(movedTo[static_cast<std::size_t>(index.row())], index.column())
                                      : QModelIndex());
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

    // The row drawn in the highlight colour; -1 for none.
    void SetHighlightedRow(int row)
    {
        const int before = highlighted_;
        highlighted_ = (row >= 0 && row < rowCount()) ? row : -1;
        if (before == highlighted_) return;
        RefreshRow(before);
        RefreshRow(highlighted_);
    }
    int HighlightedRow() const { return highlighted_; }

    void SetHighlightColor(const QColor& color) { highlightColor_ = color; }
    void SetCellColor(const QColor& color) { cellColor_ = color; }
    // Headings of these columns stay on one line; the others wrap.
    void SetUnwrappedHeadings(QSet<int> columns) { unwrapped_ = std::move(columns); }
    bool IsHeadingWrapped(int column) const { return !unwrapped_.contains(column); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(table_.Rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(table_.Headings.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
        switch (role) {
        case Qt::DisplayRole:
            return FromEngine(table_.Rows[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())]);
        case Qt::ForegroundRole:
            return cellColor_.isValid() ? QVariant(cellColor_) : QVariant();
        case Qt::BackgroundRole:
            return index.row() == highlighted_ && highlightColor_.isValid() ? QVariant(highlightColor_) : QVariant();
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
        switch (role) {
        case Qt::DisplayRole:
            return FromEngine(table_.Headings[static_cast<std::size_t>(section)]);
        // The heading font is the header view's own (bold), so that the view decides the font.
        case Qt::TextAlignmentRole:
            return unwrapped_.contains(section) ? int(Qt::AlignCenter) : int(Qt::AlignCenter | Qt::TextWordWrap);
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

private:
    void ClampHighlight()
    {
        if (highlighted_ >= rowCount()) highlighted_ = -1;
    }
    void RefreshRow(int row)
    {
        if (row < 0 || row >= rowCount()) return;
        emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::BackgroundRole});
    }

    Table table_;
    int highlighted_ = -1;
    QColor highlightColor_;
    QColor cellColor_;
    QSet<int> unwrapped_;
};

}  // namespace quillon
