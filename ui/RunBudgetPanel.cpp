#include "ui/RunBudgetPanel.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/QtText.h"

namespace quillon {
namespace {

QLabel* Named(QLabel* label, const char* name)
{
    label->setObjectName(QLatin1String(name));
    return label;
}

QFont Bold(QFont font)
{
    font.setBold(true);
    return font;
}

// One column of the panel: a bold heading, then captions on the left and
// values right-aligned beside them.
class Column {
public:
    Column(QWidget* parent, const char* heading) : parent_(parent), grid_(new QGridLayout)
    {
        grid_->setHorizontalSpacing(8);
        grid_->setVerticalSpacing(2);
        grid_->setColumnStretch(0, 1);
        auto* title = new QLabel(QLatin1String(heading), parent);
        title->setFont(Bold(title->font()));
        grid_->addWidget(title, row_++, 0, 1, 2);
    }
    QLabel* Add(const char* caption, const char* valueName, QLabel** captionLabel = nullptr)
    {
        auto* label = new QLabel(QString::fromUtf8(caption), parent_);
        auto* value = Named(new QLabel(parent_), valueName);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid_->addWidget(label, row_, 0);
        grid_->addWidget(value, row_++, 1);
        if (captionLabel != nullptr) *captionLabel = label;
        return value;
    }
    // A rule above a sum.
    void Rule()
    {
        auto* line = new QFrame(parent_);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        grid_->addWidget(line, row_++, 0, 1, 2);
    }
    // Space that sets a figure apart from the sum above it.
    void Gap() { grid_->setRowMinimumHeight(row_++, 8); }
    void Stretch() { grid_->setRowStretch(row_, 1); }
    QGridLayout* Layout() const { return grid_; }

private:
    QWidget* parent_;
    QGridLayout* grid_;
    int row_ = 0;
};

void Emphasise(QLabel* caption, QLabel* value)
{
    caption->setFont(Bold(caption->font()));
    value->setFont(Bold(value->font()));
}

}  // namespace

TRunBudgetPanel::TRunBudgetPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlRunBudget"));

    lblRunPartNumber = Named(new QLabel(this), "lblRunPartNumber");
    lblRunPartNumber->setFont(Bold(lblRunPartNumber->font()));

    Column loss(this, "Loss");
    lblRunLength = loss.Add("Run length", "lblRunLength");
    lblRunVswr = loss.Add("Load VSWR", "lblRunVswr");
    lblRunReflection = loss.Add("Reflection coefficient \u0393", "lblRunReflection");
    lblRunCableLoss = loss.Add("Cable loss", "lblRunCableLoss");
    lblRunConnectorLoss = loss.Add("Connector loss", "lblRunConnectorLoss");
    lblRunMismatchLoss = loss.Add("Mismatch loss", "lblRunMismatchLoss");
    loss.Rule();
    QLabel* systemCaption = nullptr;
    lblRunSystemLoss = loss.Add("System loss", "lblRunSystemLoss", &systemCaption);
    Emphasise(systemCaption, lblRunSystemLoss);
    lblRunPowerDelivered = loss.Add("Power delivered", "lblRunPowerDelivered");
    loss.Stretch();

    Column cost(this, "Cost");
    lblRunCableCost = cost.Add("Cable", "lblRunCableCost");
    lblRunConnector1Price = cost.Add("Connector #1", "lblRunConnector1Price", &lblRunConnector1);
    lblRunConnector2Price = cost.Add("Connector #2", "lblRunConnector2Price", &lblRunConnector2);
    cost.Rule();
    QLabel* totalCaption = nullptr;
    lblRunTotal = cost.Add("Total", "lblRunTotal", &totalCaption);
    Emphasise(totalCaption, lblRunTotal);
    cost.Gap();
    lblRunLongest = cost.Add("Longest run within", "lblRunLongest", &lblRunLongestCaption);
    cost.Stretch();

    auto* columns = new QHBoxLayout;
    columns->setSpacing(16);
    columns->addLayout(loss.Layout(), 1);
    columns->addLayout(cost.Layout(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblRunPartNumber);
    layout->addLayout(columns, 1);
    ShowSheet(std::nullopt);
}

void TRunBudgetPanel::ShowSheet(const std::optional<RunBudgetSheet>& sheet)
{
    const RunBudgetSheet empty;
    const RunBudgetSheet& s = sheet ? *sheet : empty;
    lblRunPartNumber->setText(sheet ? FromEngine(s.PartNumber) : QString());
    const std::pair<QLabel*, const std::string*> values[] = {
        {lblRunLength, &s.Length},
        {lblRunVswr, &s.Vswr},
        {lblRunReflection, &s.Reflection},
        {lblRunCableLoss, &s.CableLoss},
        {lblRunConnectorLoss, &s.ConnectorLoss},
        {lblRunMismatchLoss, &s.MismatchLoss},
        {lblRunSystemLoss, &s.SystemLoss},
        {lblRunPowerDelivered, &s.PowerDelivered},
        {lblRunCableCost, &s.CableCost},
        {lblRunConnector1Price, &s.PartPrices[0]},
        {lblRunConnector2Price, &s.PartPrices[1]},
        {lblRunTotal, &s.Total},
        {lblRunLongest, &s.LongestRun},
    };
    for (const auto& [label, text] : values) label->setText(FromEngine(*text));

    // A connector's caption names the part number chosen for its end.
    QLabel* const captions[] = {lblRunConnector1, lblRunConnector2};
    for (std::size_t end = 0; end < 2; ++end) {
        const QString name = QStringLiteral("Connector #%1").arg(end + 1);
        captions[end]->setText(s.PartNumbers[end].empty() ? name
                                                          : name + QStringLiteral("  ") + FromEngine(s.PartNumbers[end]));
    }
    // The longest run belongs to the loss criterion and shows only with it.
    const bool longest = s.MaxLoss.has_value();
    lblRunLongestCaption->setText(QStringLiteral("Longest run within ") + FromEngine(s.MaxLoss.value_or("")));
    lblRunLongestCaption->setVisible(longest);
    lblRunLongest->setVisible(longest);
}

}  // namespace quillon
