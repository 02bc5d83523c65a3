#include "online/UpdateWindow.h"

#include <exception>

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "online/Downloads.h"
#include "online/InstallerSums.h"
#include "online/OnlineCommon.h"
#include "platform/Seams.h"

namespace quillon {
namespace {

constexpr int kRedAfterDays = 90;
constexpr int kPauseAfterInstallerMs = 10'000;

// Every cell is drawn here so that a row's text colour follows the row's own
// state (selected, stale, greyed out) rather than the style's.
class ProgramCellDelegate final : public QStyledItemDelegate {
public:
    explicit ProgramCellDelegate(TfrmUpdate* window) : QStyledItemDelegate(window), window_(window) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->save();
        // A selected row keeps its highlight while the list is disabled.
        painter->fillRect(option.rect, selected ? option.palette.brush(QPalette::Active, QPalette::Highlight)
                                                : option.palette.brush(QPalette::Base));
        const QString lastUpdate = index.sibling(index.row(), 1).data().toString();
        painter->setPen(window_->RowTextColor(index.row(), lastUpdate));
        painter->setFont(option.font);
        painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, index.data().toString());
        painter->restore();
    }

private:
    TfrmUpdate* window_;
};

QString ValueOf(const QList<SettingsValueText>& values, const QString& name)
{
    for (const SettingsValueText& value : values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0) return value.text;
    }
    return {};
}

QTableWidgetItem* CellItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

const ProgramRegistration* FindRegistration(const QList<ProgramRegistration>& registrations, const QString& menuCaption)
{
    for (const ProgramRegistration& registration : registrations) {
        if (registration.menuCaption == menuCaption) return &registration;
    }
    return nullptr;
}

}  // namespace

QList<ProgramRegistration> ReadProgramRegistrations(const Seams& seams)
{
    SettingsStore store = seams.Settings();
    const QString makerKey = QString::fromLatin1(kMakerKey);
    // The list stays empty when the store cannot give it; the reason is logged.
    if (!store.OpenKey(makerKey, true))
        qWarning("The key %s cannot be opened: %s", kMakerKey, qUtf8Printable(store.LastError()));
    store.CloseKey();
    QList<ProgramRegistration> registrations;
    const std::optional<QStringList> subKeys = store.SubKeyNames(makerKey);
    if (!subKeys) qWarning("The programs under %s cannot be listed: %s", kMakerKey, qUtf8Printable(store.LastError()));
    for (const QString& subKey : subKeys.value_or(QStringList())) {
        const QString key = makerKey + QLatin1Char('\\') + subKey;
        const std::optional<QList<SettingsValueText>> read = store.ReadAllValues(key);
        if (!read)
            qWarning("The values of %s cannot be read: %s", qUtf8Printable(key), qUtf8Printable(store.LastError()));
        const QList<SettingsValueText> values = read.value_or(QList<SettingsValueText>());
        ProgramRegistration registration;
        registration.subKey = subKey;
        registration.menuCaption = ValueOf(values, QStringLiteral("MenuCaption"));
        registration.updateExe = ValueOf(values, QStringLiteral("UpdateExe"));
        if (registration.menuCaption.isEmpty() || registration.updateExe.isEmpty()) continue;
        registration.path = ValueOf(values, QStringLiteral("Path"));
        registration.exeName = ValueOf(values, QStringLiteral("ExeName"));
        registration.updateDate = ValueOf(values, QStringLiteral("UpdateDate"));
        registrations << registration;
    }
    return registrations;
}

TfrmUpdate::TfrmUpdate(Seams& seams, QWidget* parent) : QDialog(parent), seams_(seams)
{
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(QStringLiteral("Tarvex Freshline"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    BuildControls();
    setFixedSize(289, 371);
    if (QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmUpdate::~TfrmUpdate() = default;

void TfrmUpdate::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    rgAction = new QGroupBox(QStringLiteral("Select Action:"), this);
    rgAction->setObjectName(QStringLiteral("rgAction"));
    auto* actionLayout = new QVBoxLayout(rgAction);
    actionButtons_ = new QButtonGroup(this);
    const QString captions[] = {QStringLiteral("Update Pricing &Database Only"),
                                QStringLiteral("Update &Program Files")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(captions[i], rgAction);
        item->setObjectName(QStringLiteral("rgAction_%1").arg(i));
        actionButtons_->addButton(item, i);
        actionLayout->addWidget(item);
    }
    actionButtons_->button(PricingOnly)->setChecked(true);
    connect(actionButtons_, &QButtonGroup::idClicked, this, [this] { rgActionClick(); });

    // The action group takes the whole width: beside the picture, the
    // window's 289 pixels cut "Update Pricing Database Only" short in this
    // desktop's type. The picture sits in the free corner at the bottom.
    layout->addWidget(rgAction);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/freshline.png")));
    Image1->setScaledContents(true);
    Image1->setFixedSize(56, 56);

    lblDirections = new QLabel(QStringLiteral("Select program(s) to update:"), this);
    lblDirections->setObjectName(QStringLiteral("lblDirections"));
    chkAll = new QCheckBox(QStringLiteral("Select &All"), this);
    chkAll->setObjectName(QStringLiteral("chkAll"));
    chkAll->setEnabled(false);
    connect(chkAll, &QCheckBox::clicked, this, [this] { chkAllClick(); });
    auto* directions = new QHBoxLayout;
    directions->addWidget(lblDirections, 1);
    directions->addWidget(chkAll);
    layout->addLayout(directions);

    sgPrograms = new QTableWidget(1, 2, this);
    sgPrograms->setObjectName(QStringLiteral("sgPrograms"));
    sgPrograms->setHorizontalHeaderLabels({QStringLiteral("Program Name"), QStringLiteral("Last Update")});
    sgPrograms->verticalHeader()->hide();
    sgPrograms->verticalHeader()->setMinimumSectionSize(1);
    sgPrograms->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgPrograms->verticalHeader()->setDefaultSectionSize(18);
    sgPrograms->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgPrograms->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    sgPrograms->horizontalHeader()->setHighlightSections(false);
    sgPrograms->setColumnWidth(0, 130);
    sgPrograms->setColumnWidth(1, 130);
    sgPrograms->setShowGrid(false);
    sgPrograms->setWordWrap(false);
    sgPrograms->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgPrograms->setSelectionMode(QAbstractItemView::ContiguousSelection);
    sgPrograms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgPrograms->setItemDelegate(new ProgramCellDelegate(this));
    sgPrograms->setItem(0, 0, CellItem({}));
    sgPrograms->setItem(0, 1, CellItem({}));
    sgPrograms->setCurrentCell(0, 0);
    sgPrograms->setEnabled(false);
    connect(sgPrograms, &QTableWidget::clicked, this, [this] { sgProgramsClick(); });
    layout->addWidget(sgPrograms, 1);

    chkReminder = new QCheckBox(QStringLiteral("Run Freshline again in"), this);
    chkReminder->setObjectName(QStringLiteral("chkReminder"));
    chkReminder->setChecked(true);
    connect(chkReminder, &QCheckBox::toggled, this, [this] { chkReminderClick(); });
    cboNumDays = new QComboBox(this);
    cboNumDays->setObjectName(QStringLiteral("cboNumDays"));
    cboNumDays->setEditable(true);
    cboNumDays->setInsertPolicy(QComboBox::NoInsert);
    for (int days = 1; days <= 60; ++days) cboNumDays->addItem(QString::number(days));
    cboNumDays->setEditText(QStringLiteral("30"));
    cboNumDays->setFixedWidth(56);
    Label2 = new QLabel(QStringLiteral("days"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    auto* reminder = new QHBoxLayout;
    reminder->addWidget(chkReminder);
    reminder->addWidget(cboNumDays);
    reminder->addWidget(Label2);
    reminder->addStretch(1);

    btnUpdate =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("&Update Now"), this);
    btnUpdate->setObjectName(QStringLiteral("btnUpdate"));
    connect(btnUpdate, &QPushButton::clicked, this, [this] { btnUpdateClick(); });
    btnCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnUpdate);
    buttons->addWidget(btnCancel);
    auto* bottom = new QGridLayout;
    bottom->addLayout(reminder, 0, 0, 1, 2);
    bottom->addWidget(Image1, 1, 0, Qt::AlignLeft | Qt::AlignBottom);
    bottom->addLayout(buttons, 1, 1, Qt::AlignBottom);
    layout->addLayout(bottom);

    ApplyActionRules();
}

QRadioButton* TfrmUpdate::ActionItem(Action action) const
{
    return qobject_cast<QRadioButton*>(actionButtons_->button(action));
}

TfrmUpdate::Action TfrmUpdate::SelectedAction() const
{
    return actionButtons_->checkedId() == ProgramFiles ? ProgramFiles : PricingOnly;
}

void TfrmUpdate::SelectAction(Action action)
{
    actionButtons_->button(action)->setChecked(true);
    rgActionClick();
}

void TfrmUpdate::rgActionClick()
{
    ApplyActionRules();
}

void TfrmUpdate::ApplyActionRules()
{
    const bool programs = SelectedAction() == ProgramFiles;
    sgPrograms->setEnabled(programs);
    chkAll->setEnabled(programs);
    // Window colour for a list to choose from, menu colour for one that is
    // only shown; the selection stays as it was.
    QPalette palette = sgPrograms->palette();
    const QColor background = programs ? QGuiApplication::palette().color(QPalette::Active, QPalette::Base)
                                       : QGuiApplication::palette().color(QPalette::Active, QPalette::Window);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, background);
    sgPrograms->setPalette(palette);
    // The heading row follows the same colour rule as the body.
    const QColor headingColor = RowTextColor(-1, QStringLiteral("Last Update"));
    for (int column = 0; column < sgPrograms->columnCount(); ++column) {
        if (QTableWidgetItem* heading = sgPrograms->horizontalHeaderItem(column)) heading->setForeground(headingColor);
    }
    sgPrograms->viewport()->update();
}

void TfrmUpdate::chkAllClick()
{
    if (chkAll->isChecked()) sgPrograms->selectAll();
}

void TfrmUpdate::sgProgramsClick()
{
    chkAll->setChecked(false);
}

void TfrmUpdate::chkReminderClick()
{
    cboNumDays->setEnabled(chkReminder->isChecked());
}

void TfrmUpdate::btnCancelClick()
{
    reject();
}

void TfrmUpdate::reject()
{
    if (!busy_) QDialog::reject();
}

void TfrmUpdate::closeEvent(QCloseEvent* event)
{
    if (busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmUpdate::FillProgramList(const QString& preselect)
{
    sgPrograms->setHorizontalHeaderLabels({QStringLiteral("Program Name"), QStringLiteral("Last Update")});
    const QList<ProgramRegistration> registrations = ReadProgramRegistrations(seams_);
    if (!registrations.isEmpty()) {
        sgPrograms->clearContents();
        sgPrograms->setRowCount(static_cast<int>(registrations.size()));
        int row = 0;
        for (const ProgramRegistration& registration : registrations) {
            sgPrograms->setItem(row, 0, CellItem(registration.menuCaption));
            sgPrograms->setItem(row, 1,
                                CellItem(LastUpdateText(registration.path + QLatin1Char('/') + registration.exeName,
                                                        registration.updateDate)));
            ++row;
        }
    }
    sgPrograms->setCurrentCell(0, 0);
    for (int row = 0; row < sgPrograms->rowCount(); ++row) {
        if (ProgramName(row) == preselect) sgPrograms->setCurrentCell(row, 0);
    }
    ApplyActionRules();
}

QString TfrmUpdate::LastUpdateText(const QString& exePath, const QString& storedDate) const
{
    if (!storedDate.isEmpty()) return storedDate;
    const QFileInfo exe(exePath);
    // A program whose executable has gone has no date to show.
    if (!exe.isFile()) return {};
    return FormatShortDate(exe.lastModified().date());
}

QString TfrmUpdate::ProgramName(int row) const
{
    const QTableWidgetItem* item = sgPrograms->item(row, 0);
    return item != nullptr ? item->text() : QString();
}

int TfrmUpdate::SelectionTop() const
{
    int top = -1;
    const QModelIndexList selected = sgPrograms->selectionModel()->selectedIndexes();
    for (const QModelIndex& index : selected) top = top < 0 ? index.row() : qMin(top, index.row());
    if (top < 0) top = qMax(sgPrograms->currentRow(), 0);
    return top;
}

int TfrmUpdate::SelectionBottom() const
{
    int bottom = -1;
    const QModelIndexList selected = sgPrograms->selectionModel()->selectedIndexes();
    for (const QModelIndex& index : selected) bottom = qMax(bottom, index.row());
    if (bottom < 0) bottom = qMax(sgPrograms->currentRow(), 0);
    return bottom;
}

int TfrmUpdate::SelectedCount() const
{
    return SelectionBottom() - SelectionTop() + 1;
}

QColor TfrmUpdate::RowTextColor(int row, const QString& lastUpdate) const
{
    const QPalette& palette = sgPrograms->palette();
    if (row >= 0 && row >= SelectionTop() && row <= SelectionBottom())
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    if (SelectedAction() == PricingOnly) return palette.color(QPalette::Disabled, QPalette::Text);
    if (const std::optional<QDate> date = ParseShortDate(lastUpdate)) {
        if (IsDue(seams_.clock.Now(), date->addDays(kRedAfterDays))) return QColor(255, 0, 0);
    }
    return palette.color(QPalette::Active, QPalette::Text);
}

QString TfrmUpdate::DownloadFolder()
{
    return SharedFolder(seams_, QStringLiteral("updates"));
}

QString TfrmUpdate::WebServer() const
{
    return MakerWebServer(seams_);
}

bool TfrmUpdate::CheckConnection()
{
    if (seams_.network.IsConnected()) return true;
    seams_.messages.InformationSound();
    seams_.messages.Error(
        QStringLiteral("No Active Internet Connection Detected.\r"
                       "Please check your connection and try again."));
    return false;
}

bool TfrmUpdate::ConfirmManyPrograms()
{
    bool confirmed = true;
    if (SelectedAction() == ProgramFiles && SelectedCount() >= 3) {
        seams_.messages.InformationSound();
        const QuestionAnswer answer = seams_.messages.Question(
            QStringLiteral("Updating this many programs at once may take anywhere from several minutes \r\n"
                           "to an hour depending on the speed of your Internet connection.  Are \r\n"
                           "you sure you want to continue?"),
            QString(), QString(), MessageIcon::Warning);
        confirmed = answer.button == MessageButton::Yes;
    }
    if (!confirmed) {
        seams_.messages.InformationSound();
        seams_.messages.Error(QStringLiteral("Update Cancelled"));
    }
    return confirmed;
}

bool TfrmUpdate::DownloadFile(const QString& url, const QString& path, const QString& name)
{
    WaitCursor hourglass;
    const DownloadResult result =
        DownloadWithIndicator(seams_, this, QUrl(url), path, QStringLiteral("Downloading %1...").arg(name));
    // The box below should not carry the hourglass.
    hourglass.Restore();
    if (!result.ok) {
        seams_.messages.InformationSound();
        seams_.messages.Error(QStringLiteral("Unable to dowload ") + name +
                              QStringLiteral(". Please verify your Internet connection or contact "
                                             "TARVEX for assistance."));
    }
    return result.ok;
}

void TfrmUpdate::FetchInstallerSums(const QString& folder)
{
    sums_.reset();
    startUnchecked_.reset();
    const QString path = folder + QString::fromLatin1(kSumsFileName);
    WaitCursor hourglass;
    DownloadResult result;
    try {
        result = seams_.network.DownloadToFile(QUrl(WebServer() + QStringLiteral("/toolbench/") +
                                                    QString::fromLatin1(kSumsFileName)),
                                               path);
    } catch (const std::exception&) {
        result.ok = false;
    }
    if (!result.ok) return;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) sums_ = ParseSha256Sums(file.readAll());
    file.close();
    QFile::remove(path);
}

bool TfrmUpdate::MayStart(const QString& path, const QStringList& toStart)
{
    const QString name = QFileInfo(path).fileName();
    const QString address = WebServer() + QStringLiteral("/toolbench/");
    if (sums_) {
        const QByteArray listed = sums_->value(name);
        if (!listed.isEmpty() && FileSha256(path) == listed) return true;
        // Whatever it is, it is not what the server published: it must not run.
        QFile::remove(path);
        seams_.messages.InformationSound();
        seams_.messages.Error(
            QStringLiteral("%1 from %2 does not match the SHA-256 sum the server lists for it in %3.\r"
                           "The file was deleted and not started.")
                .arg(name, address, QString::fromLatin1(kSumsFileName)));
        return false;
    }
    if (!startUnchecked_) {
        seams_.messages.InformationSound();
        const QuestionAnswer answer = seams_.messages.Question(
            QStringLiteral("The server lists no SHA-256 sums (%1) for its files, so these downloaded files "
                           "cannot be checked before they are started:\r\r%2\r\rfrom %3\r\r"
                           "Start them anyway?")
                .arg(QString::fromLatin1(kSumsFileName), toStart.join(QLatin1Char('\r')), address),
            QString(), QString(), MessageIcon::Warning);
        startUnchecked_ = answer.button == MessageButton::Yes;
    }
    return *startUnchecked_;
}

bool TfrmUpdate::UpdatePricing(const QString& folder, bool announce)
{
    const QString installer = folder + QStringLiteral("pricing.exe");
    if (!DownloadFile(WebServer() + QStringLiteral("/toolbench/pricing.exe"), installer,
                      QStringLiteral("Pricing Database")))
        return false;
    if (!MayStart(installer, {QStringLiteral("pricing.exe")})) return false;
    if (announce) {
        seams_.messages.DefaultBeep();
        seams_.messages.Information(
            QStringLiteral("Download Complete.\r"
                           "Click OK to continue with installation"));
    }
    seams_.shell.Open(installer);
    return true;
}

bool TfrmUpdate::UpdatePrograms(const QString& folder)
{
    const QList<ProgramRegistration> registrations = ReadProgramRegistrations(seams_);
    const QString server = WebServer();
    const int top = SelectionTop();
    const int bottom = SelectionBottom();

    // Download pass: the first failure stops the downloads that follow.
    bool allDownloaded = true;
    QList<int> downloaded;
    for (int row = top; row <= bottom; ++row) {
        const ProgramRegistration* registration = FindRegistration(registrations, ProgramName(row));
        if (registration == nullptr) continue;
        if (allDownloaded) {
            allDownloaded = DownloadFile(server + QStringLiteral("/toolbench/") + registration->updateExe,
                                         folder + registration->updateExe, ProgramName(row));
            if (allDownloaded) downloaded << row;
        }
    }

    seams_.messages.DefaultBeep();
    if (allDownloaded) {
        seams_.messages.Information(
            QStringLiteral("Updated files have been downloaded\r"
                           "Click OK to continue with installation"));
    } else {
        seams_.messages.Information(
            QStringLiteral("Some files were not downloaded\r"
                           "Click OK to install the files which were successfully downloaded\r"
                           "and contact TARVEX for assistance with the others"));
    }

    // The files this update starts, for the one question when they cannot be checked.
    QStringList toStart;
    for (const int row : std::as_const(downloaded))
        if (const ProgramRegistration* registration = FindRegistration(registrations, ProgramName(row)))
            toStart << registration->updateExe;
    toStart << QStringLiteral("pricing.exe");

    // Install pass: one installer at a time, dated as it starts.
    for (const int row : std::as_const(downloaded)) {
        const ProgramRegistration* registration = FindRegistration(registrations, ProgramName(row));
        if (registration == nullptr) continue;
        if (!MayStart(folder + registration->updateExe, toStart)) continue;
        seams_.shell.Open(folder + registration->updateExe);
        SettingsStore store = seams_.Settings();
        OpenKeyOrRaise(store, QString::fromLatin1(kMakerKey) + QLatin1Char('\\') + registration->subKey);
        WriteStringOrRaise(store, QStringLiteral("UpdateDate"), FormatShortDate(seams_.clock.Now().date()));
        store.CloseKey();
        seams_.clock.Pause(kPauseAfterInstallerMs);
    }

    // New program files want the newest prices too.
    seams_.clock.Pause(kPauseAfterInstallerMs);
    UpdatePricing(folder, false);
    return true;
}

void TfrmUpdate::btnUpdateClick()
{
    if (busy_) return;
    bool updated = false;
    {
        const BusyScope busy(busy_);
        try {
            if (!ConfirmManyPrograms() || !CheckConnection()) return;
            const QString folder = DownloadFolder();
            FetchInstallerSums(folder);
            updated = SelectedAction() == PricingOnly ? UpdatePricing(folder, true) : UpdatePrograms(folder);
        } catch (const OnlineError& error) {
            seams_.messages.Error(error.Text());
            return;
        }
    }
    if (updated) done(QDialog::Accepted);
}

}  // namespace quillon
