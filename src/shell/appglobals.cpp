#include "shell/appglobals.h"

#include <QTranslator>

CMainWindow *g_mainWindow = nullptr;
QTranslator g_translator;
QString g_appDir;
QString g_appFilePath;
unsigned char g_language = 0;
QString g_commandLineDoc;
QString g_stationText;
QString g_logTimeStamp;
int g_stationPreset = 0;
