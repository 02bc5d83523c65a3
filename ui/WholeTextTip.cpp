#include "ui/WholeTextTip.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace quillon {

bool TWholeTextTip::IsCutShort(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (cell.text.isEmpty()) return false;
    const QWidget* widget = cell.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    // The room the style draws the text in: its text rectangle less the
    // margin on each side that it keeps for the focus frame.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int room = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget).width() - 2 * margin;
    return cell.fontMetrics.horizontalAdvance(cell.text) > room;
}

bool TWholeTextTip::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                              const QModelIndex& index)
{
    if (event != nullptr && view != nullptr && event->type() == QEvent::ToolTip && index.isValid() &&
        IsCutShort(option, index)) {
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view, option.rect);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

}  // namespace quillon
