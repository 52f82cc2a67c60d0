#include "shell/appglobals.h"

CMainWindow *g_mainWindow = nullptr;
QString g_appDir;
QString g_appPath;
unsigned char g_language = 0;
QString g_commandLineDoc;
