#pragma once
// The query page of the main window (tsQueryValues): its controls and the
// rules that hold while the user edits it: numeric entry boxes, the coupling
// of the frequency and loss criteria, and the two frequency boxes narrowing
// each other's lists when the focus leaves them.

#include <string>
#include <vector>

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace quillon {

class Messages;
class TLinkLabel;
struct QueryPage;
enum class PageControl;

class TQueryValuesPage final : public QWidget
{
    Q_OBJECT

public:
    // The frequency lists are the catalogue's full lists (ascending numeric
    // order), owned by the main window; the narrowing rules rebuild from them.
    TQueryValuesPage(Messages& messages, const std::vector<std::string>& beginFrequencies,
                     const std::vector<std::string>& endFrequencies, QWidget* parent = nullptr);

    // Top to bottom, as the page shows them.
    QLabel* Label7;
    QCheckBox* chkFrequency;
    QLabel* Label1;
    QComboBox* cbxBeginningFrequency;
    QLabel* Label9;
    QLabel* Label2;
    QComboBox* cbxEndingFrequency;
    QLabel* Label10;
    QCheckBox* chkInsertionLoss;
    QLabel* Label4;
    QLineEdit* edtMaxLoss;
    QLabel* Label8;
    QLabel* Label5;
    QLineEdit* edtLength;
    QRadioButton* rbMeters;
    QRadioButton* rbFeet;
    QCheckBox* chkConnector;
    QLabel* Label6;
    QComboBox* cbxConnector;
    QCheckBox* chkConnector2;
    QLabel* Label3;
    QComboBox* cbxConnector2;
    QLabel* Label11;
    QLineEdit* edtVSWR;
    TLinkLabel* Image1;
    QGroupBox* GroupBox1;
    QCheckBox* chkAir;
    QCheckBox* chkFoam;
    QCheckBox* chkWaveguide;
    QCheckBox* chkBraided;
    QPushButton* btnClose;
    QPushButton* btnSearch;
    QProgressBar* ProgressBar1;
    TLinkLabel* lblEmail;

    // True for an empty text or a number; otherwise shows the information
    // "This field must contain a numeric value." and answers false.
    bool IsNumericEntry(const QString& text);

    // The query as the controls hold it.
    QueryPage ReadQuery() const;

    // Puts a value handed to the page (the remembered query, a query file,
    // the command line) onto its control as the user would: a list selects
    // the equal entry or adds the text, an entry box and a check box run
    // their rules through their own signals.
    void Apply(PageControl control, const QString& text, bool flag);

    // Handlers, one per event.
    void edtMaxLossChange();
    void edtLengthChange();
    void edtVSWRChange();
    void chkFrequencyClick();
    void chkInsertionLossClick();
    // These raise the conversion error when a text they must read as a number
    // is none; the focus-out handling shows it.
    void cbxBeginningFrequencyExit();
    void cbxEndingFrequencyExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildLayout();
    void EntryBoxRule(QLineEdit* box);

    Messages& messages_;
    const std::vector<std::string>& beginFrequencies_;
    const std::vector<std::string>& endFrequencies_;
};

}  // namespace quillon
