#pragma once
// The selected transmission line and the part number chosen at each of its
// two connector ends, as plain text for a quotation or a mail: one labelled
// value per line, each ended by kClipboardLineEnd.

#include <QString>

#include "output/ResultsView.h"

namespace quillon {

// The line end of the text. The maker's systems end clipboard lines with a CR
// alone; applications here read that as one long line, so the text keeps
// the LF that they break lines at.
#ifdef Q_OS_WIN
inline constexpr char16_t kClipboardLineEnd = u'\r';
#else
inline constexpr char16_t kClipboardLineEnd = u'\n';
#endif

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
