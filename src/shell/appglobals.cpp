#include "shell/appglobals.h"

CMainWindow *g_mainWindow = nullptr;
QString g_commandLineDoc;
QString g_stationText;
QString g_logTimeStamp;
int g_stationPreset = 0;
