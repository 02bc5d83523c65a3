#pragma once
// A temporary installation: a program folder, a shared data folder and a
// settings file, with small catalogue files written by the tests.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <QStringList>
#include <QTemporaryDir>

#include "platform/Fakes.h"
#include "tests/support/QtPrinters.h"

namespace quillon {

class TfrmMain;

// One catalogue row: a line's band, part number and kind with one connector.
std::string CatalogueRow(const std::string& begin, const std::string& end, const std::string& partNumber,
                         const std::string& kind, const std::string& connector, const std::string& parts = "");

// Lines with band edges 500-700, 800-960, 806-960, 1850-2200, 1700-2200 and
// the connector types "N Female", "7-16 DIN Male", "EIA Flange" ("n female"
// once more in another spelling).
std::vector<std::string> FixtureCatalogue();

class Install {
public:
    Install();

    QString ProgramFolder() const;
    QString DataFolder() const;
    QString SettingsFile() const;
    // The user's own folder for what the program writes (made by the program).
    QString UserDataFolder() const;

    void WriteCatalogue(const std::vector<std::string>& rows) const;
    void WritePriceList() const;
    void WritePriceList(const std::vector<std::string>& lines) const;
    void WriteRates() const;
    void WriteRates(const std::vector<std::string>& lines) const;
    // The bundled demo catalogue and price list with these exchange rates,
    // and the data folder recorded in the store.
    void WriteDemoData(const std::vector<std::string>& rates) const;
    // All three files, and the data folder recorded in the store.
    void WriteAll() const;
    // "Common Files" key, optionally with its "Path" value.
    void RecordDataFolder(bool withPath = true) const;

    // The window over this installation, with the doubles of `fakes`.
    std::unique_ptr<TfrmMain> Open(QStringList arguments = {});

    FakeSeams fakes;

private:
    QTemporaryDir root_;
};

// The boxes shown, as "kind: text" lines.
QStringList BoxLines(const FakeMessages& messages);

}  // namespace quillon
