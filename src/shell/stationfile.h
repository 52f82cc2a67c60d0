#pragma once

// station.txt, the settings a .tv document carries: the current station, the language and the
// communication settings. Three lines in GBK, each ending in CR LF:
//     Station:NO.005,VP-220V-0.75K-G
//     languageType:0
//     COM:0-COM1-1-1-0-0-1-10
// The station is written as "NO." and three digits; readers also take older documents that hold
// the bare number ("5", "005") or no station at all.

#include <QByteArray>
#include <QString>
#include <QVector>

// An index read from a file that names no entry of its selector: the setting stays as it was.
constexpr int KeepIndex = -1;

struct CommSettings {
    int protocolIndex = 0;
    QString portName = QStringLiteral("COM1");
    int baudIndex = 1;
    int dataBitsIndex = 1;
    int stopBitsIndex = 0;
    int parityIndex = 0;
    int crLfIndex = 1;
    QString timeoutText = QStringLiteral("10");
};

struct DocumentStation {
    int number = -1; // 0..254
    QString type; // drive type text
};

struct StationFile {
    QVector<DocumentStation> stations; // every usable "Station:" line, in file order
    bool hasLanguage = false;
    int language = 0;
    bool hasComm = false;
    CommSettings comm; // as read; an empty port field keeps portName empty
};

// Station number from "NO.005", "NO.5", "005" or "5"; -1 for anything else or a number outside 0..254.
int parseStationNumber(const QString &text);

// The value of the "Station:" line: "NO." + three digits + "," + type text.
QString stationValue(const DocumentStation &station);

// The station a label such as "Select station: NO.005 VP-220V-0.75K-G" shows: the first word
// containing "NO." (a translation may glue its caption to it) and the word after it. An entry with
// number -1 when the label shows none.
DocumentStation stationFromLabel(const QString &label);

// The eight fields of the "COM:" line, joined by "-".
QString commSettingsValue(const CommSettings &comm);

// The whole file. An invalid station gives an empty "Station:" line.
QByteArray writeStationFile(const DocumentStation &station, int language, const CommSettings &comm);

// Reads lines ending in LF or CR LF. Lines without a key are ignored; a "COM:" line with fewer than
// eight fields and a "Station:" line without a valid number and type are ignored too. Index fields
// that are no number read as 0; those outside their selector's range as KeepIndex.
StationFile parseStationFile(const QByteArray &contents);

// The communication globals, and back. Applying an empty port name or a KeepIndex keeps the current value.
CommSettings currentCommSettings();
void applyCommSettings(const CommSettings &comm);
