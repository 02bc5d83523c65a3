// Fuzz entries of the layers on Qt: the news page parsers, the settings file,
// the program's command line and the query tool's arguments. Each is built
// only when the build has its layer.

#include "fuzz/Entries.h"
#include "fuzz/FuzzInput.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#ifdef QUILLON_FUZZ_ONLINE
#include <QUrl>

#include "online/NewsParsers.h"
#endif
#ifdef QUILLON_FUZZ_PLATFORM
#include "platform/SettingsTree.h"
#endif
#ifdef QUILLON_FUZZ_PERSIST
#include "persist/CommandLine.h"
#endif
#ifdef QUILLON_FUZZ_TOOLS
#include "tools/QueryArguments.h"
#endif

namespace quillon::fuzz {

namespace {

// Arguments as the system hands them over: NUL-separated, local 8-bit.
[[maybe_unused]] QStringList Arguments(const std::uint8_t* data, std::size_t size)
{
    QStringList arguments;
    if (size == 0) return arguments;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& piece : bytes.split('\0')) arguments << QString::fromLocal8Bit(piece);
    return arguments;
}

// A page's lines, the way the program splits a downloaded file.
[[maybe_unused]] QStringList PageLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n')) {
            lines << text.mid(start, i - start);
            if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines << text.mid(start);
    return lines;
}

}  // namespace

#ifdef QUILLON_FUZZ_ONLINE
namespace {

void CheckAddressToOpen(const QString& address)
{
    const QString open = WebAddressToOpen(address);
    if (open.isEmpty()) return;
    const QUrl url(open, QUrl::StrictMode);
    Check(url.isValid(), "an address to open that is not valid");
    Check(url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"),
          "an address to open that is not a web address");
    Check(!url.host().isEmpty(), "an address to open without a host");
}

}  // namespace

void NewsPages(const std::uint8_t* data, std::size_t size)
{
    // First byte: odd for UTF-8 pages, even for 8-bit ones. Then the listing,
    // the home page and the server, separated by lines "%%".
    if (size == 0) return;
    const std::vector<std::string_view> parts = Sections(Text(data + 1, size - 1));
    auto decode = [&](std::size_t index) {
        if (index >= parts.size()) return QString();
        const std::string_view part = parts[index];
        const auto length = static_cast<qsizetype>(part.size());
        return (data[0] & 1) != 0 ? QString::fromUtf8(part.data(), length) : QString::fromLatin1(part.data(), length);
    };
    const QStringList listing = PageLines(decode(0));
    const QStringList home = PageLines(decode(1));
    const QString server = parts.size() > 2 ? PageLines(decode(2)).value(0) : QStringLiteral("http://www.tarvex.test");

    const QStringList links = BuildLinks(listing, home, server);
    Check(!links.isEmpty() && links.size() <= kMaxLinks, "a link list of the wrong size");
    for (const QString& link : links) {
        Check(link.contains(QLatin1Char('=')), "an entry without its =");
        Check(EntryName(link) + QLatin1Char('=') + EntryValue(link) == link, "an entry that does not split");
        CheckAddressToOpen(EntryValue(link));
    }
    for (const QString& line : listing) CheckAddressToOpen(line);
}
#endif

#ifdef QUILLON_FUZZ_PLATFORM
namespace {

bool SameTree(const settings::Key& a, const settings::Key& b)
{
    if (a.name != b.name || a.values.size() != b.values.size() || a.keys.size() != b.keys.size()) return false;
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        const settings::Value& x = a.values[i];
        const settings::Value& y = b.values[i];
        if (x.name != y.name || x.type != y.type || x.text != y.text || x.number != y.number) return false;
    }
    for (std::size_t i = 0; i < a.keys.size(); ++i)
        if (!SameTree(a.keys[i], b.keys[i])) return false;
    return true;
}

}  // namespace

void SettingsFile(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const std::optional<settings::Key> tree = settings::FromJson(bytes, &error);
    if (!tree) {
        Check(!error.isEmpty(), "a refused file without a reason");
        return;
    }
    // What the store would write back reads as the same tree.
    const QByteArray written = settings::ToJson(*tree);
    const std::optional<settings::Key> again = settings::FromJson(written, &error);
    Check(again.has_value(), "the store cannot read what it wrote");
    Check(SameTree(*tree, *again), "what was written reads back different");
    Check(settings::ToJson(*again) == written, "writing is not stable");
    // Each top-level key is found by its own name.
    for (const settings::Key& key : tree->keys) {
        if (!key.name.isEmpty() && !key.name.contains(QLatin1Char('\\')))
            Check(settings::FindPath(*tree, {key.name}) != nullptr, "a key not found by its name");
    }
}
#endif

#ifdef QUILLON_FUZZ_PERSIST
void CommandLine(const std::uint8_t* data, std::size_t size)
{
    const QStringList arguments = Arguments(data, size);
    const quillon::CommandLine line = ParseCommandLine(arguments);
    Check(line.Arguments == arguments, "arguments not kept as given");
    Check(line.HasArguments() == !arguments.isEmpty(), "arguments present");
    Check(line.OpenFileArgument() == (arguments.size() >= 2 ? std::optional<QString>(arguments[1]) : std::nullopt),
          "the file Open File reads");
    switch (line.Form) {
    case CommandLineForm::None:
        Check(arguments.isEmpty(), "no form for arguments");
        break;
    case CommandLineForm::QueryFile:
        Check(arguments.size() == 2 && arguments[0].compare(QLatin1String("FILE"), Qt::CaseInsensitive) == 0
                  && line.QueryFilePath == arguments[1],
              "a query file form without FILE and its path");
        break;
    case CommandLineForm::NotEnoughParameters:
        Check(arguments.size() != 2 && !line.Error.isEmpty(), "not enough parameters");
        break;
    case CommandLineForm::PartNumber:
        Check(line.CommandLinePartNumber == arguments[0], "the part number as given");
        Check(line.CommandLineFilling == (arguments.size() == 1), "the command-line filling");
        break;
    }
}
#endif

#ifdef QUILLON_FUZZ_TOOLS
void ToolArguments(const std::uint8_t* data, std::size_t size)
{
    const QStringList arguments = QStringList{QStringLiteral("quillon-query")} + Arguments(data, size);
    const tool::ParsedArguments parsed = tool::ParseToolArguments(arguments);
    if (parsed.Options) {
        const tool::ToolOptions& options = *parsed.Options;
        Check(parsed.Error.empty() && !parsed.ShowHelp, "options with an error");
        Check(options.BandBeginning.has_value() == options.BandEnding.has_value(), "half a band");
        Check(options.CurrencyTag >= 1 && options.CurrencyTag <= 36, "a currency off the menu");
        Check(!(options.NoBandCriterion && options.MaxLoss), "a loss criterion without the band");
    } else if (parsed.ShowHelp) {
        Check(!parsed.HelpText.empty(), "empty help");
    } else {
        Check(!parsed.Error.empty(), "refused without a reason");
    }
}
#endif

}  // namespace quillon::fuzz
