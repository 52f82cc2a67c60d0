#pragma once

// Small widgets the monitoring windows and their option dialogs build alike.

#include <QList>
#include <QPair>
#include <Qt>

class QLabel;
class QString;
class QToolButton;
class QWidget;

// A 48 x 48 flat button with a 24-pixel picture from the resources above its text.
QToolButton *iconTextButton(const QString &icon, const QString &text);

// A bold dark-magenta label of the drive-information rows.
QLabel *driveInfoLabel(const QString &text);

// The caption and value labels, one row each, in a column.
QWidget *driveInfoColumn(const QList<QPair<QLabel *, QLabel *>> &rows, Qt::Alignment valueAlignment = {});
