#pragma once

// Program-wide state of the application shell.

#include <QString>

class CMainWindow;
class QTranslator;

extern CMainWindow *g_mainWindow;
extern QTranslator g_translator; // the one translator, installed at start
extern QString g_appDir; // program folder, ending in "/"
extern QString g_appFilePath; // the executable's path
extern unsigned char g_language; // 0 English, 1 Simplified Chinese, 2 Traditional Chinese
extern QString g_commandLineDoc; // the current document: the next Save writes here without asking
extern QString g_stationText; // "Station:" + station number + "," + drive type text of the current station
extern QString g_logTimeStamp; // time stamp of the last start or close line of the log
extern int g_stationPreset; // station preset of the communication set-up dialog
