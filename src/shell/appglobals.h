#pragma once

// Program-wide state of the application shell. The paths and language every layer reads are in
// platform/appstate.h.

#include "platform/appstate.h"

#include <QString>

class CMainWindow;

extern CMainWindow *g_mainWindow;
extern QString g_commandLineDoc; // the current document: the next Save writes here without asking
extern QString g_stationText; // "Station:" + station number + "," + drive type text of the current station
extern QString g_logTimeStamp; // time stamp of the last start or close line of the log
extern int g_stationPreset; // station preset of the communication set-up dialog
