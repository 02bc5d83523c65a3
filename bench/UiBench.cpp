// Timings of the main window on a generated catalogue whose every line answers
// one query: from the click on the search button to the filled and painted
// results grid, a currency change, and scrolling through the grid.
//
//     quillon-ui-bench [lines]        (default 10000; offscreen unless a
//                                      platform is named in QT_QPA_PLATFORM)
//
// Prints figures; it checks only that the window really shows every line.

#include "bench/CatalogueGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "ui/ProcessFormats.h"
#include "ui/QueryPage.h"
#include "ui/ResultsPage.h"
#include "ui/Unit1.h"
#include "engine/DataSet.h"
#include "platform/Fakes.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"

namespace {

using namespace quillon;

bool WriteFile(const QString& path, const std::string& text)
{
    std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

// Runs the step, then paints whatever it changed, and gives the time in ms.
double Timed(QWidget& window, const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    QApplication::processEvents();
    window.repaint();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "quillon-ui-bench: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FixProcessFormats();
    const std::size_t lines = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10'000;

    bench::GeneratorSizes sizes;
    sizes.Lines = lines;
    const bench::GeneratedFiles files = bench::GenerateFiles(sizes);
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("program"));
    QDir(root.path()).mkpath(QStringLiteral("data"));
    const QString program = root.filePath(QStringLiteral("program"));
    const QString data = root.filePath(QStringLiteral("data"));
    if (!WriteFile(program + QLatin1Char('/') + QLatin1String(kCatalogueFileName), files.Catalogue) ||
        !WriteFile(data + QLatin1Char('/') + QLatin1String(kPriceListFileName), files.PriceList) ||
        !WriteFile(program + QLatin1Char('/') + QLatin1String(kRatesFileName), "GBP|1.5|\r\n"))
        return Fail("cannot write the generated files");
    FakeSeams fakes(program, root.filePath(QStringLiteral("registry.json")));
    fakes.Get().classesRoot = [](const QString&) { return false; };
    {
        SettingsStore store(fakes.paths.SettingsFile());
        if (!store.OpenKey(QString::fromLatin1(kCommonFilesKey), true) ||
            !store.WriteString(QStringLiteral("Path"), data))
            return Fail("cannot record the data folder");
    }

    TfrmMain window(fakes.Get(), {});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return Fail("the window did not show");
    TQueryValuesPage& query = *window.tsQueryValues;
    TResultsPage& results = *window.tsResults;
    query.cbxBeginningFrequency->setEditText(QString::number(bench::kQueryBeginning));
    query.cbxEndingFrequency->setEditText(QString::number(bench::kQueryEnding));
    query.edtLength->setText(QStringLiteral("100"));
    fakes.messages.Clear();

    std::printf("catalogue %zu lines, price list %zu lines; %s\n", lines, sizes.PriceListLines,
                qPrintable(QApplication::platformName()));
    const double first = Timed(window, [&] { query.btnSearch->click(); });
    if (!fakes.messages.Calls().empty() || window.Session().ResultLines().size() != lines ||
        results.SpecsModel->rowCount() != static_cast<int>(lines) || window.CurrentPage() != TfrmMain::kResultsPage)
        return Fail("the search did not show every line");
    std::printf("click to filled, painted grid (first search, prices looked up): %8.1f ms\n", first);

    const double again = Timed(window, [&] { window.Menu.GetTransmissionLines1->trigger(); });
    std::printf("the same search again from the results page (prices known):  %8.1f ms\n", again);

    QAction* pounds = window.findChild<QAction*>(QStringLiteral("GBP1"));
    const double currency = Timed(window, [&] { pounds->trigger(); });
    if (results.SpecsModel->table().Rows.back()[12].rfind("GBP ", 0) != 0) return Fail("the prices did not change");
    std::printf("currency change, table and part-number grids refilled:        %8.1f ms\n", currency);

    QTableView* grid = results.grdSpecs;
    grid->setFocus();
    constexpr int kSteps = 200;
    double worst = 0;
    double total = 0;
    for (int i = 0; i < kSteps; ++i) {
        const double step = Timed(window, [&] { QTest::keyClick(grid, Qt::Key_PageDown); });
        total += step;
        worst = std::max(worst, step);
    }
    std::printf("Page Down with a repaint, %d steps: mean %.2f ms, worst %.2f ms (row %d)\n", kSteps, total / kSteps,
                worst, grid->currentIndex().row());
    const double end = Timed(window, [&] { QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier); });
    std::printf("Ctrl+End to the last row:                                      %8.1f ms (row %d)\n", end,
                grid->currentIndex().row());
    return 0;
}
