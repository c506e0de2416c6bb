#pragma once

// The value axis of a chart: a range that holds every drawn value and 0, cut by a round step
// (1, 2 or 5 times a power of ten) into at most a given number of intervals. Any input gives a
// finite range of positive length and a finite step, so the painter can always divide by them.
struct ChartScale {
    double low = 0.0;
    double high = 1.0;
    double step = 1.0;

    static ChartScale Compute(double smallest, double largest, int maxIntervals);
    // Number of ticks from low to high inclusive.
    int TickCount() const;
    double Tick(int index) const;
};
