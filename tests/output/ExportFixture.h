#pragma once
// A results page as the export tests see it: fixed grids standing in for the
// main window's grdSpecs, grdConnectors and grdConnectors2.

#include <array>
#include <ostream>

#include <QString>
#include <QStringList>

#include "output/ResultsView.h"
#include "tests/support/QtPrinters.h"

namespace quillon::testing {

class FixedResults final : public ResultsView {
public:
    GridSnapshot grid;
    std::array<GridSnapshot, 2> partNumbers;
    std::array<QString, 2> connectorTypes;

    GridSnapshot SpecsGrid() const override { return grid; }
    GridSnapshot PartNumbers(int end) const override { return partNumbers.at(end - 1); }
    QString SelectedConnectorType(int end) const override { return connectorTypes.at(end - 1); }
};

// The results grid's headings after an interactive filling in the given
// currency caption, e.g. "(GBP)".
inline QStringList SpecsHeadings(const QString& caption)
{
    return {
        "Part Number",
        "Frequency Band (MHz)",
        "Description",
        "Mid Band Frequency (MHz)",
        "Attenuation (dB/100 ft)",
        "Attenuation (dB/100m)",
        "Total Attenuation (dB)",
        "Insertion Loss (dB)",
        "Efficiency (%)",
        "Peak Power (kW)",
        "Avg. Power (kW)",
        "VSWR Derated Avg. Pwr. (kW)",
        "List Price Per Foot " + caption,
        "List Price Per Meter " + caption,
    };
}

// Invented catalogue rows, as the interactive filling shows them in pounds.
inline const QList<QStringList>& SampleRows()
{
    static const QList<QStringList> rows{
        {"QX-F12-50", "806-960", "1/2 in. foam coax, PE jacket", "859", "2.31", "7.58", "2.31", "2.36", "58.71",
         "40.00", "1.47", "1.34", "GBP 2.00", "GBP 6.56"},
        {"QX-F78-50", "806-960", "7/8 in. foam coax, PE jacket", "859", "1.24", "4.07", "1.24", "1.29", "74.30",
         "91.00", "3.10", "2.82", "GBP 4.50", "GBP 14.76"},
        {"QX-A158-50", "1-2300", "1-5/8 in. air coax, fire retardant", "859", "0.66", "2.17", "0.66", "0.71", "84.93",
         "315.00", "9.95", "9.05", "GBP 11.20", "GBP 36.74"},
        {"QX-B400", "1-6000", "Braided 50 ohm, low loss", "859", "4.02", "13.19", "4.02", "4.07", "39.17", "16.00",
         "0.52", "0.47", "GBP 0.80", "GBP 2.62"},
        {"QX-EW85", "800-960", "Elliptical waveguide 8.5 GHz", "859", "1.03", "3.38", "1.03", "1.08", "77.98", "200.00",
         "5.00", "4.55", "GBP 20.00", "GBP 65.62"},
    };
    return rows;
}

inline GridSnapshot SpecsGrid(int rowCount, const QString& caption = QStringLiteral("(GBP)"))
{
    GridSnapshot grid;
    grid.headings = SpecsHeadings(caption);
    grid.rows = SampleRows().mid(0, rowCount);
    grid.currentRow = rowCount > 0 ? 0 : -1;
    return grid;
}

inline GridSnapshot PartNumberGrid(const QList<QStringList>& rows, int currentRow,
                                   const QString& priceHeading = QStringLiteral("Price (GBP)"))
{
    GridSnapshot grid;
    grid.headings = QStringList{"Part Number", "Description", priceHeading};
    grid.rows = rows;
    grid.currentRow = currentRow;
    return grid;
}

}  // namespace quillon::testing
