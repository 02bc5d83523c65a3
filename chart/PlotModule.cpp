#include "chart/PlotModule.h"

#include "chart/ChartPicture.h"

#include <QApplication>

namespace {

QCoreApplication* MakeApplication(int& argc, char** argv) { return new QApplication(argc, argv); }

std::optional<QString> SavePicture(const quillon::ChartPlan& plan, const QString& path)
{
    return quillon::SaveChartPicture(plan, path);
}

const quillon::PlotModule kModule{quillon::kPlotModuleInterface, sizeof(quillon::ChartPlan), MakeApplication,
                                  SavePicture};

}  // namespace

extern "C" __attribute__((visibility("default"))) const quillon::PlotModule* quillon_plot_module() { return &kModule; }
