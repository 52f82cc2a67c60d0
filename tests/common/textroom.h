#pragma once

// Finds the texts of a window that a user would see cut: every visible label, button, check box,
// group box title, tab, header section and drop-down list entry whose text, in the widget's font, is wider
// than the room the style gives it. Each finding names the window, the widget and the language.

#include <QString>
#include <QStringList>

class QWidget;

QStringList cutTexts(QWidget *window, const QString &windowName, const QString &language);
