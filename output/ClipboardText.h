#pragma once
// The selected transmission line and the part number chosen at each of its
// two connector ends, as plain text for a quotation or a mail: one labelled
// value per line, lines ended by CR alone.

#include <QString>

#include "output/ResultsView.h"

namespace quillon {

// Width that labels are padded to with blanks; a longer label gets none.
inline constexpr int kClipboardLabelWidth = 31;

// The heading with ":" and the blanks that fill it to the label width.
QString ClipboardLabel(const QString& heading);

// The whole text: grdSpecs, then grdConnectors and grdConnectors2, every
// column (hidden ones too) at the grid's current row. A grid without a
// current row gives its labels with empty values.
QString ClipboardText(const ResultsView& view);

// btnClipboardClick: clears the clipboard, then puts the text on it.
void CopyResultsToClipboard(const ResultsView& view);

}  // namespace quillon
