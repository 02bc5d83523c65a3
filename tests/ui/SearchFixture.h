#pragma once
// A shown, active main window over a temporary installation, with helpers to
// set the query, run the search and read the results page as it is shown.

#include <memory>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "tests/ui/Install.h"
#include "ui/QueryPage.h"
#include "ui/ResultsPage.h"
#include "ui/Unit1.h"

namespace quillon {

// Every call to the messages double as "Beep" or "Kind: text".
inline QStringList CallLines(const FakeMessages& messages)
{
    QStringList lines;
    for (const MessageRecord& call : messages.Calls()) {
        switch (call.kind) {
        case MessageCall::DefaultBeep: lines << QStringLiteral("Beep"); break;
        case MessageCall::Information: lines << QStringLiteral("Information: ") + call.text; break;
        case MessageCall::Warning: lines << QStringLiteral("Warning: ") + call.text; break;
        case MessageCall::Error: lines << QStringLiteral("Error: ") + call.text; break;
        default: lines << QStringLiteral("Other: ") + call.text; break;
        }
    }
    return lines;
}

inline const QString kNoLines =
    QStringLiteral("Information: Sorry, no Transmission Lines available for this query.\r\rPlease try again.");

class SearchWindow : public ::testing::Test {
protected:
    // Opens the window on the installation as the test left it, shown and active.
    void Open(QStringList arguments = {})
    {
        window = install.Open(std::move(arguments));
        query = window->tsQueryValues;
        results = window->tsResults;
        query->edtVSWR->setFocus();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        install.fakes.messages.Clear();
    }

    void SetBand(const char* beginning, const char* ending)
    {
        query->cbxBeginningFrequency->setEditText(QLatin1String(beginning));
        query->cbxEndingFrequency->setEditText(QLatin1String(ending));
    }
    void SetKinds(bool air, bool foam, bool waveguide, bool braided)
    {
        query->chkAir->setChecked(air);
        query->chkFoam->setChecked(foam);
        query->chkWaveguide->setChecked(waveguide);
        query->chkBraided->setChecked(braided);
    }
    QAction* Action(const char* name) const { return window->findChild<QAction*>(QLatin1String(name)); }
    // The button's click handler, as the button runs it.
    void Search() { query->btnSearch->click(); }

    QString Cell(int row, int column) const
    {
        return results->SpecsModel->data(results->SpecsModel->index(row, column), Qt::DisplayRole).toString();
    }
    QString Heading(int column) const
    {
        return results->SpecsModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QStringList Column(int column) const
    {
        QStringList cells;
        for (int r = 0; r < results->SpecsModel->rowCount(); ++r) cells << Cell(r, column);
        return cells;
    }
    QStringList ResultPartNumbers() const
    {
        QStringList parts;
        for (const TTransmissionLine* line : window->Session().ResultLines())
            parts << QString::fromStdString(line->PartNumber);
        return parts;
    }
    static QStringList Items(const QListWidget* list)
    {
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
        return items;
    }
    // A part-number grid's rows as "part | description | price".
    static QStringList Rows(const TPartNumberModel* model)
    {
        QStringList rows;
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells << model->data(model->index(r, c), Qt::DisplayRole).toString();
            rows << cells.join(QStringLiteral(" | "));
        }
        return rows;
    }
    // The rows drawn in a background colour, whichever colour.
    template <class Model>
    static std::vector<int> ColouredRows(const Model* model)
    {
        std::vector<int> rows;
        for (int r = 0; r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c)
                if (model->data(model->index(r, c), Qt::BackgroundRole).isValid()) {
                    rows.push_back(r);
                    break;
                }
        return rows;
    }

    Install install;
    std::unique_ptr<TfrmMain> window;
    TQueryValuesPage* query = nullptr;
    TResultsPage* results = nullptr;
};

}  // namespace quillon
