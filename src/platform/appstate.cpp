#include "platform/appstate.h"

#include <QTranslator>

QTranslator g_translator;
QTranslator g_qtTranslator;
QString g_appDir;
QString g_appFilePath;
unsigned char g_language = 0;
