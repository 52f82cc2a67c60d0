#pragma once

// Program-wide state of the application shell.

#include <QString>

class CMainWindow;

extern CMainWindow *g_mainWindow;
extern QString g_appDir;          // program folder, ending in "/"
extern QString g_appPath;         // the executable's path
extern unsigned char g_language;  // 0 English, 1 Simplified Chinese, 2 Traditional Chinese
extern QString g_commandLineDoc;  // document named on the command line, empty when none
