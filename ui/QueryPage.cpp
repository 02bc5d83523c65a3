#include "ui/QueryPage.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/LinkLabel.h"
#include "ui/Links.h"
#include "engine/NumberText.h"
#include "ui/QtText.h"
#include "engine/QueryPageRules.h"
#include "engine/Search.h"
#include "ui/ShowErrors.h"
#include "platform/Messages.h"

namespace quillon {
namespace {

template <class Widget>
Widget* Named(Widget* widget, const char* name, const char* hint = nullptr)
{
    widget->setObjectName(QLatin1String(name));
    if (hint != nullptr) widget->setStatusTip(QLatin1String(hint));
    return widget;
}

QLabel* Caption(const char* name, const char* text, QWidget* parent)
{
    return Named(new QLabel(QLatin1String(text), parent), name);
}

QCheckBox* Criterion(const char* name, const char* hint, QWidget* parent)
{
    auto* box = Named(new QCheckBox(parent), name, hint);
    box->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    return box;
}

QComboBox* FrequencyBox(const char* name, const char* hint, QWidget* parent)
{
    auto* box = Named(new QComboBox(parent), name, hint);
    box->setEditable(true);
    // Typed text stays as typed: no completion, and Enter adds no item.
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(16);
    return box;
}

QLineEdit* EntryBox(const char* name, const char* text, const char* hint, QWidget* parent)
{
    return Named(new QLineEdit(QLatin1String(text), parent), name, hint);
}

int FindText(const QComboBox* box, const QString& text)
{
    return box->findText(text, Qt::MatchFixedString);  // whole text, letter case ignored
}

// The list's rule for a text handed to it (SelectOrAdd), on the combo box.
void SelectOrAdd(QComboBox* box, const QString& text, bool sorted)
{
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(ToEngine(box->itemText(i)));
    const ListChoice choice = quillon::SelectOrAdd(items, ToEngine(text), sorted);
    if (choice.Added) box->insertItem(static_cast<int>(choice.Index), text);
    box->setCurrentIndex(static_cast<int>(choice.Index));
}

}  // namespace

TQueryValuesPage::TQueryValuesPage(Messages& messages, const std::vector<std::string>& beginFrequencies,
                                   const std::vector<std::string>& endFrequencies, QWidget* parent)
    : QWidget(parent), messages_(messages), beginFrequencies_(beginFrequencies), endFrequencies_(endFrequencies)
{
    setObjectName(QStringLiteral("tsQueryValues"));
    BuildControls();
    BuildLayout();

    connect(edtMaxLoss, &QLineEdit::textChanged, this, [this] { edtMaxLossChange(); });
    connect(edtLength, &QLineEdit::textChanged, this, [this] { edtLengthChange(); });
    connect(edtVSWR, &QLineEdit::textChanged, this, [this] { edtVSWRChange(); });
    connect(chkFrequency, &QCheckBox::toggled, this, [this] { chkFrequencyClick(); });
    connect(chkInsertionLoss, &QCheckBox::toggled, this, [this] { chkInsertionLossClick(); });
    cbxBeginningFrequency->installEventFilter(this);
    cbxEndingFrequency->installEventFilter(this);
}

void TQueryValuesPage::BuildControls()
{
    Label7 = Caption("Label7", "Query\n   By", this);
    Label7->setTextFormat(Qt::PlainText);
    chkFrequency = Criterion("chkFrequency", "Query by Frequency", this);
    chkFrequency->setChecked(true);
    Label1 = Caption("Label1", "Beginning Frequency", this);
    cbxBeginningFrequency = FrequencyBox("cbxBeginningFrequency", "Select Beginning Frequency", this);
    Label9 = Caption("Label9", "MHz", this);
    Label2 = Caption("Label2", "Ending Frequency", this);
    cbxEndingFrequency = FrequencyBox("cbxEndingFrequency", "Select Ending Frequency", this);
    Label10 = Caption("Label10", "MHz", this);

    chkInsertionLoss = Criterion("chkInsertionLoss", "Query by Maximum Insertion Loss", this);
    Label4 = Caption("Label4", "Maximum Insertion Loss:", this);
    edtMaxLoss = EntryBox("edtMaxLoss", "0", "Enter A Maximum Insertion Loss", this);
    Label8 = Caption("Label8", "dB", this);
    Label5 = Caption("Label5", "Length:", this);
    edtLength = EntryBox("edtLength", "0", "Enter A Length", this);
    rbMeters = Named(new QRadioButton(QStringLiteral("Meters"), this), "rbMeters", "Units = Meters");
    rbFeet = Named(new QRadioButton(QStringLiteral("Feet"), this), "rbFeet", "Units = Feet");
    rbFeet->setChecked(true);

    chkConnector = Criterion("chkConnector", "Query by Connector #1", this);
    Label6 = Caption("Label6", "Connector #1", this);
    cbxConnector = Named(new QComboBox(this), "cbxConnector", "Select Connector Type");
    chkConnector2 = Criterion("chkConnector2", "Query by Connector #2", this);
    Label3 = Caption("Label3", "Connector #2", this);
    cbxConnector2 = Named(new QComboBox(this), "cbxConnector2", "Select Connector Type");
    for (QComboBox* box : {cbxConnector, cbxConnector2}) {
        box->setMaxVisibleItems(16);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
    }

    Label11 = Caption("Label11", "VSWR", this);
    edtVSWR = EntryBox("edtVSWR", "1.1", "Enter VSWR for Derated Power Calculation", this);

    Image1 = Named(new TLinkLabel(this), "Image1", kMakerWebAddress);
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    Image1->setAlignment(Qt::AlignRight | Qt::AlignTop);

    GroupBox1 = Named(new QGroupBox(QStringLiteral("Cable Type:"), this), "GroupBox1", kMakerNotice);
    chkAir = Named(new QCheckBox(QStringLiteral("Air Coax"), GroupBox1), "chkAir", "Air Coaxial");
    chkFoam = Named(new QCheckBox(QStringLiteral("Foam Coax"), GroupBox1), "chkFoam", "Foam Coaxial");
    chkWaveguide = Named(new QCheckBox(QStringLiteral("Elliptical Waveguide"), GroupBox1), "chkWaveguide",
                         "Elliptical Waveguide");
    chkBraided = Named(new QCheckBox(QStringLiteral("Braided Cable"), GroupBox1), "chkBraided", "Braided Cable");
    for (QCheckBox* kind : {chkAir, chkFoam, chkWaveguide, chkBraided}) {
        kind->setChecked(true);
        kind->setFocusPolicy(Qt::ClickFocus);
    }

    btnClose = Named(new QPushButton(QStringLiteral("E&xit"), this), "btnClose", "Exit");
    btnClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    btnClose->setFocusPolicy(Qt::ClickFocus);
    btnSearch = Named(new QPushButton(QStringLiteral("Click For &Transmission Lines"), this), "btnSearch",
                      "Get Selected Transmission Lines");
    ProgressBar1 = Named(new QProgressBar(this), "ProgressBar1", "Progress");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFocusPolicy(Qt::NoFocus);

    lblEmail = Named(new TLinkLabel(this), "lblEmail", "email questions and comments");
    lblEmail->setText(QStringLiteral("Questions or Comments? email: ") + QLatin1String(kSupportEmail));
    QFont font = lblEmail->font();
    font.setUnderline(true);
    lblEmail->setFont(font);
    QPalette palette = lblEmail->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    lblEmail->setPalette(palette);
    lblEmail->setAlignment(Qt::AlignCenter);

    // Tab order: the boxes the user fills, in reading order, then the search,
    // then the VSWR; check boxes, Exit and the progress bar are no tab stops.
    QWidget* order[] = {cbxBeginningFrequency, cbxEndingFrequency, edtMaxLoss, edtLength, rbMeters, rbFeet,
                        cbxConnector, cbxConnector2, btnSearch, edtVSWR};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TQueryValuesPage::BuildLayout()
{
    // Four columns: criterion check box, caption, box, unit.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(10);
    grid->setColumnMinimumWidth(0, 18);
    grid->setColumnStretch(2, 1);

    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    int row = 0;
    grid->addWidget(Label7, row, 0, 1, 2, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(Image1, row, 2, 1, 2, Qt::AlignRight | Qt::AlignTop);
    ++row;
    auto line = [&](QCheckBox* check, QLabel* caption, QWidget* box, QLabel* unit, int boxSpan = 1) {
        if (check != nullptr) grid->addWidget(check, row, 0, Qt::AlignCenter);
        if (caption != nullptr) grid->addWidget(caption, row, 1, left);
        if (box != nullptr) grid->addWidget(box, row, 2, 1, boxSpan);
        if (unit != nullptr) grid->addWidget(unit, row, 3, left);
        ++row;
    };
    line(chkFrequency, Label1, cbxBeginningFrequency, Label9);
    line(nullptr, Label2, cbxEndingFrequency, Label10);
    line(chkInsertionLoss, Label4, edtMaxLoss, Label8);
    line(nullptr, Label5, edtLength, nullptr);
    {
        auto* units = new QHBoxLayout;
        units->setSpacing(12);
        units->addWidget(rbMeters);
        units->addWidget(rbFeet);
        units->addStretch(1);
        grid->addLayout(units, row, 2, 1, 2);
        ++row;
    }
    line(chkConnector, Label6, cbxConnector, nullptr, 2);
    line(chkConnector2, Label3, cbxConnector2, nullptr, 2);
    line(nullptr, Label11, edtVSWR, nullptr);

    auto* kinds = new QGridLayout(GroupBox1);
    kinds->setContentsMargins(9, 4, 9, 6);
    kinds->setVerticalSpacing(4);
    kinds->addWidget(chkAir, 0, 0);
    kinds->addWidget(chkFoam, 1, 0);
    kinds->addWidget(chkWaveguide, 0, 1);
    kinds->addWidget(chkBraided, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnSearch, 1);
    buttons->addWidget(btnClose);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 8, 10, 8);
    page->setSpacing(12);
    page->addLayout(grid);
    page->addWidget(GroupBox1);
    page->addLayout(buttons);
    page->addWidget(ProgressBar1);
    page->addStretch(1);
    page->addWidget(lblEmail);

    // The three entry boxes and the frequency boxes share one width, so the
    // boxes line up in a column; the unit captions follow them.
    for (QWidget* box : std::initializer_list<QWidget*>{cbxBeginningFrequency, cbxEndingFrequency, edtMaxLoss,
                                                         edtLength, edtVSWR})
        box->setMinimumWidth(110);
    ProgressBar1->setFixedHeight(14);
}

bool TQueryValuesPage::IsNumericEntry(const QString& text)
{
    if (quillon::IsNumericEntry(ToEngine(text))) return true;
    messages_.Information(QLatin1String(kNumericFieldMessage));
    return false;
}

void TQueryValuesPage::EntryBoxRule(QLineEdit* box)
{
    if (!IsNumericEntry(box->text())) box->setText(QStringLiteral("0"));
}

void TQueryValuesPage::edtMaxLossChange() { EntryBoxRule(edtMaxLoss); }
void TQueryValuesPage::edtLengthChange() { EntryBoxRule(edtLength); }
void TQueryValuesPage::edtVSWRChange() { EntryBoxRule(edtVSWR); }

void TQueryValuesPage::chkFrequencyClick()
{
    QueryPage criteria = ReadQuery();
    SetByFrequency(criteria, chkFrequency->isChecked());
    chkInsertionLoss->setChecked(criteria.ByLoss);
    // Without a band the loss criterion and its box cannot be used at all.
    chkInsertionLoss->setEnabled(criteria.ByFrequency);
    edtMaxLoss->setEnabled(criteria.ByFrequency);
}

void TQueryValuesPage::chkInsertionLossClick()
{
    QueryPage criteria = ReadQuery();
    SetByLoss(criteria, chkInsertionLoss->isChecked());
    chkFrequency->setChecked(criteria.ByFrequency);
}

void TQueryValuesPage::cbxBeginningFrequencyExit()
{
    const QString rememberedEnding = cbxEndingFrequency->currentText();
    if (!IsNumericEntry(cbxBeginningFrequency->currentText())) cbxBeginningFrequency->setCurrentIndex(0);
    const double beginning = ReadDouble(ToEngine(cbxBeginningFrequency->currentText()));

    QStringList above;
    for (const std::string& value : endFrequencies_)
        if (ReadDouble(value) > beginning) above << FromEngine(value);
    cbxEndingFrequency->clear();
    cbxEndingFrequency->addItems(above);
    cbxEndingFrequency->setCurrentIndex(0);

    // A beginning above the old ending leaves the smallest ending above it;
    // otherwise the old ending stays, added when the catalogue lacks it.
    if (beginning > ReadDouble(ToEngine(rememberedEnding))) return;
    int at = FindText(cbxEndingFrequency, rememberedEnding);
    if (at < 0) {
        cbxEndingFrequency->addItem(rememberedEnding);
        at = cbxEndingFrequency->count() - 1;
    }
    cbxEndingFrequency->setCurrentIndex(at);
}

void TQueryValuesPage::cbxEndingFrequencyExit()
{
    const QString rememberedBeginning = cbxBeginningFrequency->currentText();
    if (!IsNumericEntry(cbxEndingFrequency->currentText())) cbxEndingFrequency->setCurrentIndex(0);
    const double ending = ReadDouble(ToEngine(cbxEndingFrequency->currentText()));

    QStringList below;
    for (const std::string& value : beginFrequencies_)
        if (ReadDouble(value) < ending) below << FromEngine(value);
    cbxBeginningFrequency->clear();
    cbxBeginningFrequency->addItems(below);
    cbxBeginningFrequency->setCurrentIndex(-1);

    if (ending < ReadDouble(ToEngine(rememberedBeginning))) {
        cbxBeginningFrequency->setCurrentIndex(0);
        return;
    }
    int at = FindText(cbxBeginningFrequency, rememberedBeginning);
    if (at < 0) {
        cbxBeginningFrequency->addItem(rememberedBeginning);
        at = cbxBeginningFrequency->count() - 1;
    }
    cbxBeginningFrequency->setCurrentIndex(at);
}

bool TQueryValuesPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // Only a move to another control of this window counts as leaving the
        // box: not its own drop-down list taking the keyboard, not a box
        // popping up, not another window taking over.
        auto* box = static_cast<QWidget*>(watched);
        const QWidget* next = QApplication::focusWidget();
        const bool leaves = next != nullptr && next != box && !box->isAncestorOf(next) && next->window() == window();
        if (leaves && watched == cbxBeginningFrequency)
            ShowErrors(messages_, [this] { cbxBeginningFrequencyExit(); });
        else if (leaves && watched == cbxEndingFrequency)
            ShowErrors(messages_, [this] { cbxEndingFrequencyExit(); });
    }
    return QWidget::eventFilter(watched, event);
}

void TQueryValuesPage::Apply(PageControl control, const QString& text, bool flag)
{
    using enum PageControl;
    switch (control) {
    case BeginningFrequency: SelectOrAdd(cbxBeginningFrequency, text, false); break;
    case EndingFrequency: SelectOrAdd(cbxEndingFrequency, text, false); break;
    case Connector1: SelectOrAdd(cbxConnector, text, true); break;
    case Connector2: SelectOrAdd(cbxConnector2, text, true); break;
    case MaxLoss: edtMaxLoss->setText(text); break;
    case Length: edtLength->setText(text); break;
    case Vswr: edtVSWR->setText(text); break;
    // The two buttons form one group, in which one is always selected: a
    // button handed over as on is selected, one handed over as off leaves
    // the choice to the other.
    case Meters:
        if (flag) rbMeters->setChecked(true);
        break;
    case Feet:
        if (flag) rbFeet->setChecked(true);
        break;
    case Air: chkAir->setChecked(flag); break;
    case Foam: chkFoam->setChecked(flag); break;
    case Waveguide: chkWaveguide->setChecked(flag); break;
    case Braided: chkBraided->setChecked(flag); break;
    case ByFrequency: chkFrequency->setChecked(flag); break;
    case ByLoss: chkInsertionLoss->setChecked(flag); break;
    case ByConnector1: chkConnector->setChecked(flag); break;
    case ByConnector2: chkConnector2->setChecked(flag); break;
    }
}

QueryPage TQueryValuesPage::ReadQuery() const
{
    QueryPage page;
    page.ByFrequency = chkFrequency->isChecked();
    page.BeginningFrequency = ToEngine(cbxBeginningFrequency->currentText());
    page.EndingFrequency = ToEngine(cbxEndingFrequency->currentText());
    page.ByLoss = chkInsertionLoss->isChecked();
    page.MaxLoss = ToEngine(edtMaxLoss->text());
    page.Length = ToEngine(edtLength->text());
    page.Meters = rbMeters->isChecked();
    page.ByConnector1 = chkConnector->isChecked();
    page.Connector1 = ToEngine(cbxConnector->currentText());
    page.ByConnector2 = chkConnector2->isChecked();
    page.Connector2 = ToEngine(cbxConnector2->currentText());
    page.Air = chkAir->isChecked();
    page.Foam = chkFoam->isChecked();
    page.Waveguide = chkWaveguide->isChecked();
    page.Braided = chkBraided->isChecked();
    page.Vswr = ToEngine(edtVSWR->text());
    return page;
}

}  // namespace quillon
