// A chart module of another build: the tool's entry under the right name,
// with an interface the tool does not speak. The tool must refuse it
// without calling into it.

#include "chart/PlotModule.h"

namespace {

const quillon::PlotModule kForeign{quillon::kPlotModuleInterface + 1, sizeof(quillon::ChartPlan), nullptr, nullptr};

}  // namespace

extern "C" __attribute__((visibility("default"))) const quillon::PlotModule* quillon_plot_module() { return &kForeign; }
