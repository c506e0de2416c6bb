#pragma once

class CPresentationGraphique;
struct ChartModel;

// The sample chart the chart presentation dialog shows its working presentation on: three
// series of three points (20, 50, 30; 25, 40, 35; 17, 42, 28 at x = 1, 2, 3), points "Line 1"
// to "Line 3", series "Column 1" to "Column 3", titled "Titre" over the line "Base : 150".
class ChartSample {
public:
    static void Remplir(ChartModel& chart, const CPresentationGraphique& presentation);
    // The look only, the data kept: what each change of the dialog does.
    static void Appliquer(ChartModel& chart, const CPresentationGraphique& presentation);
};
