#pragma once
// The two printed layouts: the list of result lines (rptAll over tplAll) and
// the sheet of the selected line with its two connectors (rptSelected over
// tplSelection).

#include <QImage>

#include "output/ReportEngine.h"

namespace quillon {

// Field names and declared lengths, in record order. The list pipeline's
// names carry blanks where the selection pipeline's do not.
QList<TPipelineField> ListPipelineFields();
QList<TPipelineField> SelectionPipelineFields();

// The maker's logo printed at the top of both layouts.
QImage ReportLogo();

TReport MakeListReport(const TTextPipeline& tplAll, const QImage& logo);
TReport MakeSelectedReport(const TTextPipeline& tplSelection, const QImage& logo);

}  // namespace quillon
