#include "ui/ResultsPage.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/LinkLabel.h"
#include "ui/Links.h"
#include "ui/RunBudgetPanel.h"
#include "ui/WholeTextTip.h"

namespace quillon {
namespace {

// On this page every hint shows as a tool tip too.
template <class Widget>
Widget* Named(Widget* widget, const char* name, const QString& hint = {})
{
    widget->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) {
        widget->setStatusTip(hint);
        widget->setToolTip(hint);
    }
    return widget;
}

// A group with a bold caption whose contents keep the normal font.
QGroupBox* BoldGroup(const char* name, const char* caption, QWidget* parent)
{
    auto* group = Named(new QGroupBox(QLatin1String(caption), parent), name, QLatin1String(kMakerNotice));
    QFont font = group->font();
    font.setBold(true);
    group->setFont(font);
    return group;
}

void KeepNormalFont(QWidget* widget)
{
    // Setting the weight explicitly stops the group's bold from reaching the cells.
    QFont font = widget->font();
    font.setBold(false);
    widget->setFont(font);
}

// The grids' columns are sized for a compact 8-point sans serif: in it the
// headings wrap onto two lines within the designed widths and the part
// numbers fit their column.
QFont GridFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    font.setBold(false);
    return font;
}

// Headings stay whole: the heading row grows when a wrapped heading needs more
// lines than the designed height holds, and a column whose heading stays on
// one line widens to it.
template <class Model>
void FitHeadings(QTableView* grid, const Model* model)
{
    QHeaderView* header = grid->horizontalHeader();
    const QFontMetrics metrics(header->font());
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 2;
    int height = header->height();
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString text = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        if (model->IsHeadingWrapped(c)) {
            const QRect needed = metrics.boundingRect(QRect(0, 0, header->sectionSize(c) - margin, 1000),
                                                      Qt::AlignCenter | Qt::TextWordWrap, text);
            height = std::max(height, needed.height() + margin);
        } else {
            header->resizeSection(c, std::max(header->sectionSize(c), metrics.horizontalAdvance(text) + margin));
        }
    }
    header->setFixedHeight(height);
}

template <class Model>
QTableView* Grid(const char* name, const char* hint, Model* model, int rowHeight, int headingHeight, QWidget* parent)
{
    auto* grid = Named(new QTableView(parent), name, QLatin1String(hint));
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setTabKeyNavigation(false);
    grid->setWordWrap(false);  // one line per cell; a long text ends in "..."
    grid->setItemDelegate(new TWholeTextTip(grid));  // ... and shows whole as a tool tip
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->horizontalHeader()->setFixedHeight(headingHeight);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->setMinimumSize(60, 60);
    grid->setFont(GridFont());
    QFont heading = GridFont();
    heading.setBold(true);
    grid->horizontalHeader()->setFont(heading);
    return grid;
}

TLinkLabel* Logo(const char* name, QWidget* parent)
{
    auto* logo = Named(new TLinkLabel(parent), name, QLatin1String(kMakerWebAddress));
    logo->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    logo->setAlignment(Qt::AlignCenter);
    return logo;
}

}  // namespace

const std::array<int, kResultColumns>& TResultsPage::SpecsColumnWidths()
{
    static const std::array<int, kResultColumns> widths{77, 104, 242, 105, 86, 96, 103, 69, 76, 72, 73, 84, 80, 75};
    return widths;
}

const std::array<int, PartNumberTable::kColumns>& TResultsPage::PartNumberColumnWidths(int end)
{
    static const std::array<int, PartNumberTable::kColumns> end1{95, 271, 73};
    static const std::array<int, PartNumberTable::kColumns> end2{95, 269, 75};
    return end == 2 ? end2 : end1;
}

void TResultsPage::HalveDescriptionColumns()
{
    for (QTableView* grid : {grdConnectors, grdConnectors2})
        grid->horizontalHeader()->resizeSection(1, qRound(grid->width() / 2.0));
}

void TResultsPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isVisible()) HalveDescriptionColumns();
}

TResultsPage::TResultsPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tsResults"));

    SpecsModel = new TResultTableModel(this);
    SpecsModel->setObjectName(QStringLiteral("SpecsModel"));
    SpecsModel->SetCellColor(QColor(0, 0, 128));  // navy
    SpecsModel->SetHighlightColor(QColor(Qt::yellow));
    SpecsModel->SetUnwrappedHeadings({8, 11});  // "Efficiency (%)", "VSWR Derated Avg. Pwr. (kW)"
    ConnectorsModel = new TPartNumberModel(this);
    ConnectorsModel->setObjectName(QStringLiteral("ConnectorsModel"));
    ConnectorsModel->SetHighlightColor(QColor(Qt::cyan));  // aqua
    Connectors2Model = new TPartNumberModel(this);
    Connectors2Model->setObjectName(QStringLiteral("Connectors2Model"));
    Connectors2Model->SetHighlightColor(QColor(Qt::cyan));

    gbxSpecifications = BoldGroup("gbxSpecifications", "Transmission Lines (0 Items)", this);
    grdSpecs = Grid("grdSpecs", "Transmission Line Specifications", SpecsModel, 27, 41, gbxSpecifications);
    for (int c = 0; c < kResultColumns; ++c)
        grdSpecs->horizontalHeader()->resizeSection(c, SpecsColumnWidths()[static_cast<std::size_t>(c)]);
    FitHeadings(grdSpecs, SpecsModel);
    // A click on a heading sorts the rows by its column (the main window does
    // it); the grid never sorts through the model itself.
    grdSpecs->horizontalHeader()->setSectionsClickable(true);
    grdSpecs->horizontalHeader()->setSortIndicatorShown(true);
    grdSpecs->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    (new QVBoxLayout(gbxSpecifications))->addWidget(grdSpecs);

    auto connectorList = [this](const char* group, const char* caption, const char* name, const char* hint,
                                QGroupBox*& box) {
        box = BoldGroup(group, caption, this);
        auto* list = Named(new QListWidget(box), name, QLatin1String(hint));
        list->setMinimumSize(60, 40);
        KeepNormalFont(list);
        (new QVBoxLayout(box))->addWidget(list);
        return list;
    };
    lstConnectors = connectorList("gbxConnector", " Connector #1", "lstConnectors", "Transmission Line Connector #1",
                                  gbxConnector);
    lstConnectors2 = connectorList("GroupBox2", " Connector #2 ", "lstConnectors2", "Transmission Line Connector #2",
                                   GroupBox2);

    gbxPartNumbers = BoldGroup("gbxPartNumbers", " Connector #1 Part Numbers ", this);
    grdConnectors = Grid("grdConnectors", "Connector #1 Information", ConnectorsModel, 26, 27, gbxPartNumbers);
    (new QVBoxLayout(gbxPartNumbers))->addWidget(grdConnectors);
    GroupBox3 = BoldGroup("GroupBox3", " Connector #2 Part Numbers ", this);
    grdConnectors2 = Grid("grdConnectors2", "Connector #2 Information", Connectors2Model, 26, 27, GroupBox3);
    (new QVBoxLayout(GroupBox3))->addWidget(grdConnectors2);
    for (int c = 0; c < PartNumberTable::kColumns; ++c) {
        grdConnectors->horizontalHeader()->resizeSection(c, PartNumberColumnWidths(1)[static_cast<std::size_t>(c)]);
        grdConnectors2->horizontalHeader()->resizeSection(c, PartNumberColumnWidths(2)[static_cast<std::size_t>(c)]);
    }
    FitHeadings(grdConnectors, ConnectorsModel);
    FitHeadings(grdConnectors2, Connectors2Model);

    Image2 = Logo("Image2", this);
    lblemail2 = Named(new TLinkLabel(this), "lblemail2", QStringLiteral("email questions and comments"));
    lblemail2->setText(QLatin1String(kSupportEmail));
    {
        QFont font = lblemail2->font();
        font.setUnderline(true);
        lblemail2->setFont(font);
        QPalette palette = lblemail2->palette();
        palette.setColor(QPalette::WindowText, Qt::blue);
        lblemail2->setPalette(palette);
        lblemail2->setAlignment(Qt::AlignCenter);
    }
    btnPrint = Named(new QPushButton(QStringLiteral("&Print Results"), this), "btnPrint",
                     QStringLiteral("Print Query Results"));
    btnClipboard = Named(new QPushButton(QStringLiteral("&Copy to Clipboard"), this), "btnClipboard",
                         QStringLiteral("Copy Transmission Line Data To The Clipboard"));
    btnNewQuery = Named(new QPushButton(QStringLiteral("&New Query"), this), "btnNewQuery",
                        QStringLiteral("Select New Query Values"));
    Button1 = Named(new QPushButton(QStringLiteral("E&xit"), this), "Button1", QStringLiteral("Exit"));
    Button1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

    // Panels beside the designed controls (a chart, a run's budget), one tab
    // each; the tabs stay out of sight until a panel is added.
    tabAnalysis = new QTabWidget(this);
    tabAnalysis->setObjectName(QStringLiteral("tabAnalysis"));
    tabAnalysis->setVisible(false);
    pnlRunBudget = new TRunBudgetPanel(tabAnalysis);
    AddAnalysisPanel(pnlRunBudget, QStringLiteral("Run Budget"));

    // The grid on top; below it the two connector ends side by side, the
    // analysis panels, and the links and buttons at the right.
    auto* ends = new QGridLayout;
    ends->addWidget(gbxConnector, 0, 0);
    ends->addWidget(gbxPartNumbers, 0, 1);
    ends->addWidget(GroupBox2, 1, 0);
    ends->addWidget(GroupBox3, 1, 1);
    ends->setColumnStretch(0, 1);
    ends->setColumnStretch(1, 3);

    auto* side = new QVBoxLayout;
    side->addWidget(Image2);
    side->addWidget(lblemail2);
    side->addStretch(1);
    for (QPushButton* button : {btnPrint, btnClipboard, btnNewQuery, Button1}) side->addWidget(button);

    // A chart wants the width more than the part-number grids do; on a
    // smaller screen that leaves the grids too narrow for their prices, so
    // the user can draw the line between the two where the work needs it.
    auto* endsPanel = new QWidget(this);
    ends->setContentsMargins(0, 0, 0, 0);
    endsPanel->setLayout(ends);
    splitAnalysis = new QSplitter(Qt::Horizontal, this);
    splitAnalysis->setObjectName(QStringLiteral("splitAnalysis"));
    splitAnalysis->setChildrenCollapsible(false);
    splitAnalysis->addWidget(endsPanel);
    splitAnalysis->addWidget(tabAnalysis);
    splitAnalysis->setStretchFactor(0, 1);
    splitAnalysis->setStretchFactor(1, 2);
    connect(splitAnalysis, &QSplitter::splitterMoved, this, [this] { HalveDescriptionColumns(); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(splitAnalysis, 1);
    bottom->addLayout(side);

    auto* page = new QVBoxLayout(this);
    page->addWidget(gbxSpecifications, 3);
    page->addLayout(bottom, 2);
}

void TResultsPage::AddAnalysisPanel(QWidget* panel, const QString& title)
{
    tabAnalysis->addTab(panel, title);
    tabAnalysis->setVisible(true);
}

}  // namespace quillon
