#pragma once

// The program-wide paths and language that every layer reads. Set once at start (the language
// again on a switch); nothing here knows of any window.

#include <QString>

class QTranslator;

extern QTranslator g_translator; // the one translator, installed at start
extern QTranslator g_qtTranslator; // Qt's own texts (standard buttons, file dialogs) in the same language
extern QString g_appDir; // program folder, ending in "/"
extern QString g_appFilePath; // the executable's path
extern unsigned char g_language; // 0 English, 1 Simplified Chinese, 2 Traditional Chinese
