#include "gui/statistics/AnalysisWindows.h"

namespace {
AnalysisWindows* g_windows = nullptr;
}

void AnalysisWindows::Installer(AnalysisWindows* windows) {
    g_windows = windows;
}

AnalysisWindows* AnalysisWindows::Get() {
    return g_windows;
}
