#pragma once
// What quillon-query and its chart module (quillon-plot.so, beside the tool)
// agree on. The module draws the chart's pictures with Qt's widgets and Qt
// Charts; the tool opens it only when a picture is asked for, so that its
// other runs start with Qt's core alone. Both come from one build: the
// table carries the interface number and the plan's size so that a module
// of another build is refused, not called.

#include "chart/ChartPlan.h"

#include <QString>

#include <cstddef>
#include <optional>

class QCoreApplication;

namespace quillon {

// Raised whenever PlotModule or what it passes changes.
inline constexpr int kPlotModuleInterface = 1;
inline constexpr char kPlotModuleFileName[] = "quillon-plot.so";
inline constexpr char kPlotModuleEntry[] = "quillon_plot_module";

struct PlotModule {
    int Interface = kPlotModuleInterface;
    std::size_t PlanSize = sizeof(ChartPlan);
    // The application a chart needs (a QApplication), made from the tool's
    // arguments; the caller owns it and keeps argc alive as long.
    QCoreApplication* (*MakeApplication)(int& argc, char** argv) = nullptr;
    // SaveChartPicture at the picture's own size: the reason when the
    // picture could not be written, nothing when it was.
    std::optional<QString> (*SavePicture)(const ChartPlan& plan, const QString& path) = nullptr;
};

}  // namespace quillon

// The module's one entry, looked up by kPlotModuleEntry.
extern "C" const quillon::PlotModule* quillon_plot_module();
