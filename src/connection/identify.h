#pragma once

// Drive identification: from P.90, the type code and the two drive-type files to the drive type text
// ("VM3-043-2.2K"), or "---" when the drive cannot be identified.

#include <QString>
#include <functional>

class ReadWrite;

// What identification asks of the drive; each read answers -1 when it fails.
struct DriveReads {
    std::function<double(int number, double unit)> readPar;
    std::function<int()> readTypeCode;
    // Whether the last read that failed was refused rather than left unanswered; when absent,
    // every failure is a refusal.
    std::function<bool()> lastAnswered;
};

// The reads of a protocol object.
DriveReads driveReadsOf(ReadWrite *readWrite);

// Identifies the drive and sets g_modelCode, g_seriesLetter, g_modelName and, from InvType.txt,
// g_firmwareVersion, g_parameterCount, g_groupMode and g_invTypeFields on the way.
// A missing InvType.txt is reported by the warning callback (file name, system error text).
// Only a refusal answers "no" to a probe: a read left unanswered ends the identification with
// "---" and *silent set.
QString identifyDrive(const DriveReads &reads,
                      const std::function<void(const QString &, const QString &)> &cannotRead = {},
                      bool *silent = nullptr);

// The type text composed from a type T ("VP/VP-G-020") and a capacity text K ("0.75K-G").
QString composeTypeText(const QString &type, const QString &capacity);

// The rating of code c in the section named type of InvType.mgr. *answer is "---" when the section
// exists but holds no such rating, type when no section names it.
QString capacityText(const QString &type, int code, bool *found);

// Picture of a drive type text: its first part, or the first two when the second is "G" or "GT".
QString pictureName(const QString &typeText);

QString invTypeFilePath();
