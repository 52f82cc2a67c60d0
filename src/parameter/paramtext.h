#pragma once

// Text rules of the parameter table: row labels, range and unit texts, version prefixes and the
// variant forms of the definition files. Plain functions, usable without a window.

#include <QString>
#include <QStringList>
#include <functional>

namespace ParamText {

// Bits of a row's attribute byte.
constexpr unsigned char AttrDecimalsMask = 0x07;
constexpr unsigned char AttrSpecialValue = 0x08; // admits 9999 or 99999 besides the range
constexpr unsigned char AttrReadOnly = 0x10;
constexpr unsigned char AttrSigned = 0x20;

constexpr int PseudoRow = 999; // "99X": the row through which the drive commands are written

// "P." + number, right-justified with spaces to six characters.
QString rowLabel(const QString &number);
// Four upper-case hexadecimal digits + "H"; "----" for the pseudo-row's label.
QString modbusText(const QString &number, const QString &label);
// The number of a column-1 label ("   P.5" gives 5, "P. 99X" gives 999); 0 when it holds no number.
int labelNumber(const QString &label);

// The number in an element name after its kind word ("Name12" gives 12, "Name99X" 999, "NameX" 0);
// -1 when it lies outside the table, so the element is ignored.
int elementNumber(const QString &elementName, int kindLength);
// An element name may end in "-" and a voltage code; such an element applies only to that code.
bool voltageCodeMatches(const QString &elementName, const QString &voltageCode);

struct Range {
    bool valid = false; // fewer than two bounds leave Min and Max as they are
    QString min;
    QString max;
    bool special = false;
    bool isSigned = false;
};
Range parseRange(const QString &text);

// Decimals of a unit or resolution text: the position of its first "1" ("0.01Hz" gives 2).
int unitDecimals(const QString &unit);

// Firmware range "from-to": from <= version < to, compared as numbers.
bool versionInRange(const QString &from, const QString &to, double version);

// Version prefix of the extended reading ("0.13-1.00\\text"). Returns false when the element does not
// apply to the firmware (or the prefix is malformed); otherwise leaves the text to use, one leading
// space removed.
bool takeVersionPrefix(QString &text, double firmware);
// The same rule as the localized texts apply it: a text with a single part is used unchanged.
bool takeLocalizedVersionPrefix(QString &text, double firmware);

// Value of the reference parameter of a "P<m>:" variant, as text.
using ReferenceLookup = std::function<QString(int parameter)>;
// Resolves "V:" (capacity) and "P<m>:" (parameter value) variants; "---" becomes "--".
QString pickVariant(const QString &text, const QString &capacity, const ReferenceLookup &reference);

// "%1" formatting of a read value: at most six significant digits, no trailing zeros.
QString formatValue(double value);

// Removes the first unit name (in table order) that occurs in the text, every occurrence of it.
QString stripUnitName(const QString &text, const QStringList &unitNames);

} // namespace ParamText
