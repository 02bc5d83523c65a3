#pragma once
// The update window: fetches the pricing database installer, or installers
// for the maker's programs registered on this computer, from the maker's web
// server and starts each one. It closes with Accepted only after a
// successful "&Update Now".

#include <optional>

#include <QHash>
#include <QColor>
#include <QDialog>
#include <QList>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace quillon {

struct Seams;

// One program of the maker's, as its installer registered it.
struct ProgramRegistration {
    QString subKey;  // the sub-key's name under "\Software\Tarvex"
    QString menuCaption;
    QString updateExe;
    QString path;
    QString exeName;
    QString updateDate;
};

// The sub-keys of "\Software\Tarvex" (created when missing) that hold both a
// non-empty MenuCaption and a non-empty UpdateExe, in the store's order.
QList<ProgramRegistration> ReadProgramRegistrations(const Seams& seams);

class TfrmUpdate : public QDialog {
    Q_OBJECT

public:
    enum Action { PricingOnly = 0, ProgramFiles = 1 };

    explicit TfrmUpdate(Seams& seams, QWidget* parent = nullptr);
    ~TfrmUpdate() override;

    // Controls, named as their objectName.
    QGroupBox* rgAction = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblDirections = nullptr;
    QCheckBox* chkAll = nullptr;
    QTableWidget* sgPrograms = nullptr;
    QCheckBox* chkReminder = nullptr;
    QComboBox* cboNumDays = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* btnUpdate = nullptr;
    QPushButton* btnCancel = nullptr;

    // The action group's items: PricingOnly, ProgramFiles.
    QRadioButton* ActionItem(Action action) const;
    Action SelectedAction() const;
    // Selects the action and applies its rules, as a click does.
    void SelectAction(Action action);

    // Lists the registered programs and selects the row named preselect
    // (exact match); without a match the first row stays selected.
    void FillProgramList(const QString& preselect);
    // The stored date unchanged when there is one, else the executable's
    // last-modified date; empty when there is neither.
    QString LastUpdateText(const QString& exePath, const QString& storedDate) const;

    QString DownloadFolder();
    bool CheckConnection();
    bool ConfirmManyPrograms();
    // Body rows, counted from 0; the selection is one block of rows and never
    // empty while the list has a row.
    int SelectionTop() const;
    int SelectionBottom() const;
    int SelectedCount() const;
    // row: a body row counted from 0, or -1 for the heading.
    QColor RowTextColor(int row, const QString& lastUpdate) const;

    bool DownloadFile(const QString& url, const QString& path, const QString& name);
    // Fetches the server's SHA256SUMS for this update (see InstallerSums.h);
    // without one every start of this update waits for the user's answer.
    void FetchInstallerSums(const QString& folder);
    // Whether the downloaded installer may be started: its sum matches the
    // listed one (a mismatch deletes it and says so), or, with no list, the
    // user agreed once for the files of this update, named in toStart.
    bool MayStart(const QString& path, const QStringList& toStart);
    bool UpdatePricing(const QString& folder, bool announce);
    bool UpdatePrograms(const QString& folder);

    // The web server every address starts with.
    QString WebServer() const;

    // Event handlers.
    void rgActionClick();
    void chkAllClick();
    void sgProgramsClick();
    void chkReminderClick();
    void btnUpdateClick();
    void btnCancelClick();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void ApplyActionRules();
    QString ProgramName(int row) const;

    Seams& seams_;
    QButtonGroup* actionButtons_ = nullptr;
    // Downloads and pauses run inside "&Update Now"; the window must not close
    // under them.
    bool busy_ = false;
    // Per update: the sums the server lists (none without a list) and the
    // user's one answer about starting files that cannot be checked.
    std::optional<QHash<QString, QByteArray>> sums_;
    std::optional<bool> startUnchecked_;
};

}  // namespace quillon
