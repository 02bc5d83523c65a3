#include "online/NewsWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBlock>
#include <QVBoxLayout>

#include "online/NewsParsers.h"
#include "platform/Seams.h"

namespace quillon {

ClickableMemo::ClickableMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    viewport()->setCursor(Qt::PointingHandCursor);
}

void ClickableMemo::mouseReleaseEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) emit clicked();
}

TfrmNews::TfrmNews(Seams& seams, QWidget* parent) : QDialog(parent), seams_(seams)
{
    setObjectName(QStringLiteral("frmNews"));
    setWindowTitle(QStringLiteral("Tarvex News Headlines"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setSizeGripEnabled(true);
    BuildControls();
    resize(619, 361);
    if (QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmNews::~TfrmNews() = default;

void TfrmNews::BuildControls()
{
    auto* layout = new QVBoxLayout(this);

    Label3 = new QLabel(QStringLiteral("Spotlight:"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont headingFont = Label3->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    Label3->setFont(headingFont);
    QPalette red = Label3->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label3->setPalette(red);
    layout->addWidget(Label3);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/news.png")));
    Image1->setFixedSize(60, 60);

    memSpotlight = new ClickableMemo(this);
    memSpotlight->setObjectName(QStringLiteral("memSpotlight"));
    memSpotlight->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont spotlightFont = memSpotlight->font();
    spotlightFont.setBold(true);
    memSpotlight->setFont(spotlightFont);
    QPalette spotlightPalette = memSpotlight->palette();
    spotlightPalette.setColor(QPalette::Text, QColor(255, 0, 0));
    memSpotlight->setPalette(spotlightPalette);
    memSpotlight->setFixedHeight(60);
    connect(memSpotlight, &ClickableMemo::clicked, this, [this] { memSpotlightClick(); });

    auto* spotlightRow = new QHBoxLayout;
    spotlightRow->addWidget(Image1, 0, Qt::AlignTop);
    spotlightRow->addWidget(memSpotlight, 1);
    layout->addLayout(spotlightRow);

    Label1 = new QLabel(QStringLiteral("Latest press releases (Click a headline to view the full story):"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(Label1);

    memNews = new ClickableMemo(this);
    memNews->setObjectName(QStringLiteral("memNews"));
    memNews->setLineWrapMode(QPlainTextEdit::NoWrap);
    memNews->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont linkFont = memNews->font();
    linkFont.setUnderline(true);
    memNews->setFont(linkFont);
    QPalette linkPalette = memNews->palette();
    linkPalette.setColor(QPalette::Text, QColor(0, 0, 255));
    memNews->setPalette(linkPalette);
    connect(memNews, &ClickableMemo::clicked, this, [this] { memNewsClick(); });
    layout->addWidget(memNews, 1);

    chkDisplayAgain = new QCheckBox(QStringLiteral("Display news headlines again in"), this);
    chkDisplayAgain->setObjectName(QStringLiteral("chkDisplayAgain"));
    chkDisplayAgain->setChecked(true);
    connect(chkDisplayAgain, &QCheckBox::toggled, this, [this] { chkDisplayAgainClick(); });
    cboNumDays = new QComboBox(this);
    cboNumDays->setObjectName(QStringLiteral("cboNumDays"));
    cboNumDays->setEditable(true);
    cboNumDays->setInsertPolicy(QComboBox::NoInsert);
    for (int days = 1; days <= 60; ++days) cboNumDays->addItem(QString::number(days));
    cboNumDays->setEditText(QStringLiteral("7"));
    cboNumDays->setFixedWidth(56);
    Label2 = new QLabel(QStringLiteral("days"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    btnClose = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("&Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    connect(btnClose, &QPushButton::clicked, this, [this] { btnCloseClick(); });

    // The bottom row keeps to the bottom edge, "&Close" to the right corner.
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chkDisplayAgain);
    bottom->addWidget(cboNumDays);
    bottom->addWidget(Label2);
    bottom->addStretch(1);
    bottom->addWidget(btnClose);
    layout->addLayout(bottom);
}

void TfrmNews::memSpotlightClick()
{
    if (!Links.isEmpty()) OpenEntryNamed(EntryName(Links.first()));
}

void TfrmNews::memNewsClick()
{
    const qsizetype line = memNews->textCursor().blockNumber();
    // Below the last headline there is nothing to open.
    if (line >= Links.size() - 1) return;
    OpenEntryNamed(EntryName(Links.at(line + 1)));
}

void TfrmNews::OpenEntryNamed(const QString& name)
{
    const QString address = WebAddressToOpen(FirstValueNamed(Links, name));
    if (!address.isEmpty()) seams_.shell.Open(address);
}

void TfrmNews::chkDisplayAgainClick()
{
    cboNumDays->setEnabled(chkDisplayAgain->isChecked());
}

void TfrmNews::btnCloseClick()
{
    accept();
}

void FillMemos(QPlainTextEdit& news, QPlainTextEdit& spotlight, const QStringList& links)
{
    if (links.isEmpty()) return;
    spotlight.appendPlainText(EntryName(links.first()));
    QString headlines;
    for (qsizetype i = 1; i < links.size(); ++i) headlines += EntryName(links.at(i)) + QLatin1Char('\n');
    // Each headline ends its line, so a click below the last one lands on an
    // empty line of its own.
    news.setPlainText(headlines);
}

}  // namespace quillon
