#pragma once

// The text the alarm history and the service report are written as: GBK, lines ended CR LF.

#include <QByteArray>
#include <QString>

QByteArray crLfText(const QString &text);
