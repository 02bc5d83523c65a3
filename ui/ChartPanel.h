#pragma once
// The chart panel of the results page: attenuation against frequency for the
// current line and the lines the user compares with it, the current line's
// figures at the edges of the band beside it, the axis switch and the
// buttons that copy, save and print the chart. The panel keeps the compared
// lines and draws; the main window tells it the current line and what the
// rows stand on, and does what needs the seams (dialogs, boxes, printing).

#include <functional>
#include <optional>
#include <vector>

#include <QWidget>

#include "chart/AttenuationChart.h"
#include "chart/ChartPlan.h"

class QChartView;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quillon {

class TChartPanel final : public QWidget
{
    Q_OBJECT

public:
    explicit TChartPanel(QWidget* parent = nullptr);

    QChartView* chtAttenuation;
    QGroupBox* gbxBandEdges;
    QLabel* lblEdgeStart;
    QLabel* lblEdgeEnd;
    QLabel* lblEdgeWorst;
    QLabel* lblEdgeInsertionLoss;
    QLabel* lblEdgeEfficiency;
    QGroupBox* gbxChartLines;
    QListWidget* lstChartLines;  // the compared lines, in the order added
    QPushButton* btnChartAdd;
    QPushButton* btnChartRemove;
    QCheckBox* chkLogFrequency;
    QPushButton* btnCopyChart;
    QPushButton* btnSaveChart;
    QPushButton* btnPrintChart;

    // What a row of the results stands on; nothing where it stands on no
    // numbers (a command line without a length, no filling yet).
    using BasisOf = std::function<std::optional<RowBasis>(const TTransmissionLine&)>;
    // The rows were filled anew: their basis, and the grid's current line.
    void FollowResults(BasisOf basisOf, const TTransmissionLine* current);
    // The grid's current row moved.
    void SetCurrentLine(const TTransmissionLine* current);
    const TTransmissionLine* CurrentLine() const { return current_; }

    enum class AddOutcome { Added, AlreadyThere, Full, NoLine };
    AddOutcome AddLine(const TTransmissionLine* line);
    // False when the line was not compared.
    bool RemoveLine(const TTransmissionLine* line);
    const std::vector<const TTransmissionLine*>& ComparedLines() const { return compared_; }

    // What the chart shows now, and the series it is drawn with (drawn at
    // once if the panel was waiting to be shown).
    const ChartPlan& Plan() const { return plan_; }
    const ChartSeries& Series();
    // The band-edge figures as the panel shows them, one line each.
    QStringList EdgeTexts() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ChartRequest Request() const;
    void Redraw();
    void Draw();
    void ShowBandEdges();
    void btnChartRemoveClick();

    BasisOf basisOf_;
    const TTransmissionLine* current_ = nullptr;
    std::vector<const TTransmissionLine*> compared_;
    ChartPlan plan_;
    ChartSeries series_;
    // The plan changed while the panel was out of sight (another tab on
    // show): its series are drawn when it is shown, so that stepping through
    // the rows does not rebuild a chart nobody sees.
    bool drawPending_ = false;
};

}  // namespace quillon
