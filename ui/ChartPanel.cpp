#include "ui/ChartPanel.h"

#include <algorithm>

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/Analysis.h"
#include "engine/NumberText.h"
#include "ui/QtText.h"

namespace quillon {
namespace {

// On the results page every hint shows as a tool tip too.
template <class Widget>
Widget* Named(Widget* widget, const char* name, const char* hint = nullptr)
{
    widget->setObjectName(QLatin1String(name));
    if (hint != nullptr) {
        widget->setStatusTip(QLatin1String(hint));
        widget->setToolTip(QLatin1String(hint));
    }
    return widget;
}

QString General(long double value) { return FromEngine(FormatGeneral(value)); }

QString Fixed2OrNA(const std::optional<long double>& value)
{
    return value ? FromEngine(FormatFixed2(*value)) : QStringLiteral("N/A");
}

QString LineCaption(const TTransmissionLine& line)
{
    return FromEngine(line.PartNumber) + QStringLiteral(" (") + General(line.BeginFrequency) + QLatin1Char('-') +
           General(line.EndFrequency) + QStringLiteral(" MHz)");
}

QPixmap Swatch(int index)
{
    QPixmap swatch(12, 12);
    swatch.fill(ChartLineColour(index));
    return swatch;
}

}  // namespace

TChartPanel::TChartPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ChartPanel1"));

    auto* chart = new QChart;
    chtAttenuation = Named(new QChartView(chart, this), "chtAttenuation",
                           "Attenuation against frequency of the current line and the lines compared with it");
    chtAttenuation->setRenderHint(QPainter::Antialiasing);
    chtAttenuation->setMinimumSize(200, 140);

    gbxBandEdges = Named(new QGroupBox(QStringLiteral("Band Edges"), this), "gbxBandEdges",
                         "The current line at the edges of the query band");
    auto* edges = new QVBoxLayout(gbxBandEdges);
    edges->setSpacing(1);
    for (auto [label, name] : {std::pair{&lblEdgeStart, "lblEdgeStart"}, std::pair{&lblEdgeEnd, "lblEdgeEnd"},
                               std::pair{&lblEdgeWorst, "lblEdgeWorst"},
                               std::pair{&lblEdgeInsertionLoss, "lblEdgeInsertionLoss"},
                               std::pair{&lblEdgeEfficiency, "lblEdgeEfficiency"}}) {
        *label = Named(new QLabel(gbxBandEdges), name);
        (*label)->setTextInteractionFlags(Qt::TextSelectableByMouse);
        edges->addWidget(*label);
    }

    gbxChartLines = Named(new QGroupBox(QStringLiteral("Compared Lines"), this), "gbxChartLines");
    lstChartLines = Named(new QListWidget(gbxChartLines), "lstChartLines",
                          "The lines drawn beside the current one (eight at most)");
    lstChartLines->setMinimumHeight(48);
    btnChartAdd = Named(new QPushButton(QStringLiteral("Add"), gbxChartLines), "btnChartAdd",
                        "Add the current line to the chart (Ctrl+L)");
    btnChartRemove = Named(new QPushButton(QStringLiteral("Remove"), gbxChartLines), "btnChartRemove",
                           "Remove the chosen line from the chart");
    auto* lines = new QGridLayout(gbxChartLines);
    lines->setVerticalSpacing(2);
    lines->addWidget(lstChartLines, 0, 0, 1, 2);
    lines->addWidget(btnChartAdd, 1, 0);
    lines->addWidget(btnChartRemove, 1, 1);

    chkLogFrequency = Named(new QCheckBox(QStringLiteral("Logarithmic frequency axis"), this), "chkLogFrequency",
                            "Frequencies on a logarithmic scale");
    btnCopyChart = Named(new QPushButton(QStringLiteral("Copy"), this), "btnCopyChart",
                         "Copy the chart to the clipboard as a picture");
    btnSaveChart = Named(new QPushButton(QStringLiteral("Save..."), this), "btnSaveChart",
                         "Save the chart as a PNG or SVG picture");
    btnPrintChart = Named(new QPushButton(QStringLiteral("Print..."), this), "btnPrintChart",
                          "Print the chart with the band-edge figures");

    // The chart with its axis switch under it; the current line's figures,
    // the compared lines and the output buttons in a column beside it, so
    // the chart keeps what width a smaller screen leaves the panel.
    auto* left = new QVBoxLayout;
    left->addWidget(chtAttenuation, 1);
    left->addWidget(chkLogFrequency);

    auto* output = new QHBoxLayout;
    for (QPushButton* button : {btnCopyChart, btnSaveChart, btnPrintChart}) output->addWidget(button);
    auto* side = new QVBoxLayout;
    side->addWidget(gbxBandEdges);
    side->addWidget(gbxChartLines, 1);
    side->addLayout(output);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(left, 1);
    layout->addLayout(side);

    connect(btnChartRemove, &QPushButton::clicked, this, [this] { btnChartRemoveClick(); });
    connect(chkLogFrequency, &QCheckBox::toggled, this, [this] { Redraw(); });
    Redraw();
    ShowBandEdges();
}

void TChartPanel::FollowResults(BasisOf basisOf, const TTransmissionLine* current)
{
    basisOf_ = std::move(basisOf);
    current_ = current;
    Redraw();
    ShowBandEdges();
}

void TChartPanel::SetCurrentLine(const TTransmissionLine* current)
{
    if (current == current_) return;
    current_ = current;
    Redraw();
    ShowBandEdges();
}

TChartPanel::AddOutcome TChartPanel::AddLine(const TTransmissionLine* line)
{
    if (line == nullptr) return AddOutcome::NoLine;
    if (std::find(compared_.begin(), compared_.end(), line) != compared_.end()) return AddOutcome::AlreadyThere;
    if (compared_.size() >= static_cast<std::size_t>(kMaxChartLines)) return AddOutcome::Full;
    compared_.push_back(line);
    Redraw();
    return AddOutcome::Added;
}

bool TChartPanel::RemoveLine(const TTransmissionLine* line)
{
    const auto at = std::find(compared_.begin(), compared_.end(), line);
    if (at == compared_.end()) return false;
    compared_.erase(at);
    Redraw();
    return true;
}

void TChartPanel::btnChartRemoveClick()
{
    const int row = lstChartLines->currentRow();
    if (row >= 0 && static_cast<std::size_t>(row) < compared_.size())
        RemoveLine(compared_[static_cast<std::size_t>(row)]);
}

// The compared lines keep their places (and colours); the current line comes
// after them while the chart has room for it, drawn bolder wherever it is.
ChartRequest TChartPanel::Request() const
{
    ChartRequest request;
    request.Spacing = chkLogFrequency->isChecked() ? FrequencySpacing::Logarithmic : FrequencySpacing::Linear;
    auto basisOf = [this](const TTransmissionLine& line) {
        return basisOf_ ? basisOf_(line) : std::optional<RowBasis>();
    };
    std::vector<const TTransmissionLine*> drawn = compared_;
    if (current_ != nullptr && std::find(drawn.begin(), drawn.end(), current_) == drawn.end() &&
        drawn.size() < static_cast<std::size_t>(kMaxChartLines))
        drawn.push_back(current_);
    std::optional<RowBasis> chartBasis = current_ != nullptr ? basisOf(*current_) : std::nullopt;
    for (const TTransmissionLine* line : drawn) {
        const std::optional<RowBasis> basis = basisOf(*line);
        request.Lines.push_back(ChartLineFor(*line, basis));
        request.Lines.back().Current = line == current_;
        if (!chartBasis) chartBasis = basis;
    }
    if (chartBasis) ApplyRowBasis(request, *chartBasis);
    return request;
}

void TChartPanel::Redraw()
{
    plan_ = PlanChart(Request());
    if (isVisible())
        Draw();
    else
        drawPending_ = true;

    const int chosen = lstChartLines->currentRow();
    lstChartLines->clear();
    for (std::size_t i = 0; i < compared_.size(); ++i)
        lstChartLines->addItem(new QListWidgetItem(QIcon(Swatch(static_cast<int>(i))), LineCaption(*compared_[i])));
    if (lstChartLines->count() > 0) lstChartLines->setCurrentRow(std::clamp(chosen, 0, lstChartLines->count() - 1));
    btnChartRemove->setEnabled(!compared_.empty());
}

void TChartPanel::Draw()
{
    series_ = DrawAttenuationChart(*chtAttenuation->chart(), plan_);
    drawPending_ = false;
}

void TChartPanel::showEvent(QShowEvent* event)
{
    if (drawPending_) Draw();
    QWidget::showEvent(event);
}

const ChartSeries& TChartPanel::Series()
{
    if (drawPending_) Draw();
    return series_;
}

void TChartPanel::ShowBandEdges()
{
    const QList<QLabel*> labels{lblEdgeStart, lblEdgeEnd, lblEdgeWorst, lblEdgeInsertionLoss, lblEdgeEfficiency};
    if (current_ == nullptr) {
        gbxBandEdges->setTitle(QStringLiteral("Band Edges"));
        for (QLabel* label : labels) label->clear();
        return;
    }
    const TTransmissionLine& line = *current_;
    const std::optional<RowBasis> basis = basisOf_ ? basisOf_(line) : std::nullopt;
    // Without a basis (a command line without a length) the line's own band, and no run.
    const double F1 = basis ? basis->F1 : line.BeginFrequency;
    const double F2 = basis ? basis->F2 : line.EndFrequency;
    const bool feet = basis ? basis->Feet : true;
    const long double runLength = basis ? basis->Length : 0;
    // The results show no figures of a zero-length run, nor does the panel.
    const bool run = basis && !(basis->Filling == RowFilling::Interactive && runLength == 0);
    const BandEdges e = BandEdgeFigures(line, F1, F2, feet, runLength);

    auto perHundred = [feet](const std::optional<long double>& per100ft) -> QString {
        if (!per100ft) return QStringLiteral("N/A");
        return FromEngine(FormatFixed2(feet ? *per100ft : *per100ft * FeetPerMetre)) +
               (feet ? QStringLiteral(" dB/100 ft") : QStringLiteral(" dB/100m"));
    };
    gbxBandEdges->setTitle(QStringLiteral("Band Edges: ") + FromEngine(line.PartNumber) + QStringLiteral(", ") +
                           General(F1) + QLatin1Char('-') + General(F2) + QStringLiteral(" MHz"));
    lblEdgeStart->setText(QStringLiteral("At ") + General(F1) + QStringLiteral(" MHz: ") + perHundred(e.AtStart));
    lblEdgeEnd->setText(QStringLiteral("At ") + General(F2) + QStringLiteral(" MHz: ") + perHundred(e.AtEnd));
    lblEdgeWorst->setText(e.WorstFrequency ? QStringLiteral("Worst: ") + perHundred(e.Worst) + QStringLiteral(" at ") +
                                                 General(*e.WorstFrequency) + QStringLiteral(" MHz")
                                           : QStringLiteral("Worst: N/A"));
    const QString length = run ? General(runLength) + (feet ? QStringLiteral(" ft") : QStringLiteral(" m"))
                               : QString();
    lblEdgeInsertionLoss->setText(
        (run ? QStringLiteral("Insertion loss over ") + length + QStringLiteral(": ") : QStringLiteral("Insertion loss: ")) +
        (run && e.InsertionLoss ? Fixed2OrNA(e.InsertionLoss) + QStringLiteral(" dB") : QStringLiteral("N/A")));
    lblEdgeEfficiency->setText(QStringLiteral("Efficiency: ") +
                               (run && e.Efficiency ? Fixed2OrNA(e.Efficiency) + QStringLiteral(" %")
                                                    : QStringLiteral("N/A")));
}

QStringList TChartPanel::EdgeTexts() const
{
    QStringList texts{gbxBandEdges->title()};
    for (const QLabel* label : {lblEdgeStart, lblEdgeEnd, lblEdgeWorst, lblEdgeInsertionLoss, lblEdgeEfficiency})
        if (!label->text().isEmpty()) texts << label->text();
    return texts;
}

}  // namespace quillon
