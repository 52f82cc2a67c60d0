#pragma once

// The station and drive-type dialog, and the reader of InvType.mgr (the drive types, the ratings
// of each type and the program-wide rating lists).

#include "ui_settypedialog.h"

#include <QDialog>
#include <QString>
#include <QStringList>

// Pieces of a line of InvType.mgr read as a section header ("[PW_ID]" gives PW_ID) and as an entry
// ("POWER=a,b" gives POWER, a, b). Nothing is trimmed; empty pieces are dropped.
QStringList mgrHeaderPieces(const QString &line);
QStringList mgrEntryPieces(const QString &line);

// The values of an entry line with the given key; empty when the line is no such entry or has no value.
QStringList mgrEntryValues(const QString &line, const QString &key);

// The lines of InvType.mgr, white space at the start of the file skipped. *ok false when unreadable.
QStringList readMgrLines(bool *ok = nullptr);
QString mgrFilePath();

// Window flags of the small dialogs: a title bar with a close button only.
Qt::WindowFlags dialogWindowFlags();

class CSetType : public QDialog, public Ui_SetTypeDialog {
    Q_OBJECT
public:
    explicit CSetType(QWidget *parent = nullptr);
    ~CSetType() override;

    void initTexts();

private slots:
    void InvTypeCH(int TypeIndex);

private:
    QString noneText;
};
