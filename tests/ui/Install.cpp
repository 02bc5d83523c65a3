#include "tests/ui/Install.h"

#include <fstream>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ui/Unit1.h"
#include "platform/SettingsStore.h"

namespace quillon {
namespace {

void WriteFile(const QString& path, const std::vector<std::string>& lines)
{
    std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
    for (const std::string& line : lines) out << line << "\r\n";
}

const char* KindName(MessageCall kind)
{
    switch (kind) {
    case MessageCall::Information: return "Information";
    case MessageCall::Warning: return "Warning";
    case MessageCall::Error: return "Error";
    case MessageCall::Confirmation: return "Confirmation";
    case MessageCall::Question: return "Question";
    default: return "Sound";
    }
}

}  // namespace

std::string CatalogueRow(const std::string& begin, const std::string& end, const std::string& partNumber,
                         const std::string& kind, const std::string& connector, const std::string& parts)
{
    return begin + "|" + end + "|7/8 in|" + partNumber + "|" + kind + "|PE|1.2|0.05|0.0002|3.5|40|" + connector +
           "|1.05|0.05|6|-150|" + (parts.empty() ? partNumber + "-C" : parts) + "||||||";
}

std::vector<std::string> FixtureCatalogue()
{
    return {
        "Begin MHz|End MHz|Size|Part Number|Type|Jacket|Derating Key|Att A|Att B|Avg|Peak|Connector|VSWR|"
        "Ins|GHz|IM3|P1|P2|P3|P4|P5|P6|",
        CatalogueRow("1850", "2200", "QW-4", "EW", "EIA Flange"),
        CatalogueRow("500", "700", "QA-1", "AIR", "N Female"),
        CatalogueRow("500", "700", "QA-1", "AIR", "7-16 DIN Male"),
        CatalogueRow("800", "960", "QF-2", "FOAM", "n female"),
        CatalogueRow("806", "960", "QF-3", "FOAM", "N Female"),
        CatalogueRow("1700", "2200", "QB-5", "BRAIDED", "N Female"),
    };
}

Install::Install() : fakes(QString(), QString())
{
    QDir(root_.path()).mkpath(QStringLiteral("program"));
    QDir(root_.path()).mkpath(QStringLiteral("data"));
    fakes.paths.SetProgramFolder(ProgramFolder());
    fakes.paths.SetSettingsFile(SettingsFile());
    fakes.paths.SetUserDataFolder(UserDataFolder());
    // The spreadsheet question is answered here, not by this machine's desktop.
    fakes.Get().classesRoot = [](const QString&) { return false; };
}

QString Install::ProgramFolder() const { return root_.filePath(QStringLiteral("program")); }
QString Install::DataFolder() const { return root_.filePath(QStringLiteral("data")); }
QString Install::SettingsFile() const { return root_.filePath(QStringLiteral("registry.json")); }
QString Install::UserDataFolder() const { return root_.filePath(QStringLiteral("user/Tarvex/Quillon")); }

void Install::WriteCatalogue(const std::vector<std::string>& rows) const
{
    WriteFile(ProgramFolder() + QStringLiteral("/Freq_TLine_Connectors.dat"), rows);
}

void Install::WritePriceList() const
{
    WriteFile(DataFolder() + QStringLiteral("/M_lom.dat"),
              {"# test price list", "TL|QA|QA-1|FT|Air line|2.50|", "TL|QF|QF-2|FT|Foam line|1.25|"});
}

void Install::WritePriceList(const std::vector<std::string>& lines) const
{
    WriteFile(DataFolder() + QStringLiteral("/M_lom.dat"), lines);
}

void Install::WriteRates() const
{
    WriteFile(ProgramFolder() + QStringLiteral("/xcngrate.dat"), {"GBP|1.5|", "EUR|1.1|"});
}

void Install::WriteRates(const std::vector<std::string>& lines) const
{
    WriteFile(ProgramFolder() + QStringLiteral("/xcngrate.dat"), lines);
}

void Install::WriteDemoData(const std::vector<std::string>& rates) const
{
    const QString demo = QStringLiteral(QUILLON_DEMO_DIR);
    ASSERT_TRUE(QFile::copy(demo + QStringLiteral("/Freq_TLine_Connectors.dat"),
                            ProgramFolder() + QStringLiteral("/Freq_TLine_Connectors.dat")));
    ASSERT_TRUE(QFile::copy(demo + QStringLiteral("/M_lom.dat"), DataFolder() + QStringLiteral("/M_lom.dat")));
    WriteRates(rates);
    RecordDataFolder();
}

void Install::WriteAll() const
{
    WriteCatalogue(FixtureCatalogue());
    WritePriceList();
    WriteRates();
    RecordDataFolder();
}

void Install::RecordDataFolder(bool withPath) const
{
    SettingsStore store(SettingsFile());
    ASSERT_TRUE(store.OpenKey(QStringLiteral("\\Software\\Tarvex\\Common Files"), true));
    if (withPath) {
        ASSERT_TRUE(store.WriteString(QStringLiteral("Path"), DataFolder()));
    }
}

std::unique_ptr<TfrmMain> Install::Open(QStringList arguments)
{
    return std::make_unique<TfrmMain>(fakes.Get(), std::move(arguments));
}

QStringList BoxLines(const FakeMessages& messages)
{
    QStringList lines;
    for (const MessageRecord& box : messages.Boxes())
        lines << QString::fromLatin1(KindName(box.kind)) + QStringLiteral(": ") + box.text;
    return lines;
}

}  // namespace quillon
