#pragma once

// The dock's knowledge of the drive's mode, which every CU rule of the program reads, as a poll
// that saw `mode` (0 CU, 1 EXT, 2 JOG, ...) at station 1 leaves it.

#include "shell/navigation.h"

inline void setDockMode(CNavigation *navigation, int mode, bool p79Is3 = false)
{
    DriveModeState &state = navigation->modeState;
    state.passedTest(1);
    state.polled(state.pollBegun(), { mode, 0, p79Is3 });
    // Painted now, as the display's next tick would: a test may take the station's test back afterwards.
    QMetaObject::invokeMethod(navigation, "monitorModeState");
}
