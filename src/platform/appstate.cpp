#include "platform/appstate.h"

#include <QTranslator>

QTranslator g_translator;
QString g_appDir;
QString g_appFilePath;
unsigned char g_language = 0;
