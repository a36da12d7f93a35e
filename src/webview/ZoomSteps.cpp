#include "webview/ZoomSteps.h"

#include <cmath>

namespace {
// A zoom factor read back from the engine is a double; compare to a hundredth of a percent.
bool SamePct(double a, double b)
{
    return std::fabs(a - b) < 0.01;
}
} // namespace

double TZoomSteps::ValueOf(int step)
{
    if (step < ZOOM_STEP_MIN || step > ZOOM_STEP_MAX)
        return 0;
    return ZoomStepValues[step];
}

int TZoomSteps::StepOf(double pct)
{
    for (int i = ZOOM_STEP_MIN; i <= ZOOM_STEP_MAX; ++i)
        if (SamePct(ZoomStepValues[i], pct))
            return i;
    return ZOOM_STEP_UNK;
}

bool TZoomSteps::IsValidPct(double pct)
{
    return pct >= ZoomStepValues[ZOOM_STEP_MIN] && pct <= ZoomStepValues[ZOOM_STEP_MAX];
}

int TZoomSteps::NextStep(int step, double currentPct, bool increase)
{
    if (step >= ZOOM_STEP_MIN && step <= ZOOM_STEP_MAX) {
        if (increase)
            return step < ZOOM_STEP_MAX ? step + 1 : -1;
        return step > ZOOM_STEP_MIN ? step - 1 : -1;
    }
    if (step != ZOOM_STEP_UNK)
        return -1;

    // Between steps: find the pair of bounds around the current zoom; the bound after the last step is
    // twice its value so that a zoom above 500 % still steps down.
    double previous = 0;
    for (int i = ZOOM_STEP_MIN; i <= ZOOM_STEP_UNK; ++i) {
        const double bound = i <= ZOOM_STEP_MAX ? ZoomStepValues[i] : 2 * ZoomStepValues[ZOOM_STEP_MAX];
        if (previous < currentPct && currentPct < bound) {
            if (increase)
                return i <= ZOOM_STEP_MAX ? i : -1;
            return i > ZOOM_STEP_MIN ? i - 1 : -1;
        }
        previous = bound;
    }
    return -1;
}
