#pragma once

#include <QtGlobal>

// The zoom model of a web view: sixteen fixed steps in percent, and how to move between them when the
// current zoom lies on a step or between two.
class TZoomSteps
{
public:
    static constexpr int ZOOM_STEP_MIN = 0;
    static constexpr int ZOOM_STEP_MAX = 15;
    static constexpr int ZOOM_STEP_DEF = 6;
    static constexpr int ZOOM_STEP_UNK = 16;

    static constexpr double ZoomStepValues[ZOOM_STEP_MAX + 1] = {25,  33,  50,  67,  75,  90,  100, 110,
                                                                 125, 150, 175, 200, 250, 300, 400, 500};

    // The percentage of a step, or 0 for a value outside 0 to 15.
    static double ValueOf(int step);
    // The step whose value equals pct, or ZOOM_STEP_UNK.
    static int StepOf(double pct);
    // Whether SetZoomPct accepts pct: from the first to the last step value.
    static bool IsValidPct(double pct);
    // The step one up (or down) from the current step; for ZOOM_STEP_UNK the step is found from the
    // current percentage. Returns -1 when nothing should change.
    static int NextStep(int step, double currentPct, bool increase);
};
