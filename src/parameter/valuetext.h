#pragma once

// Value rules of the parameter transfers: how a resolution text scales a value, how a value text
// becomes the 16-bit register value that is written, and how a read value is shown. Plain
// functions, usable without a window or a drive.

#include <QString>
#include <QVector>

class QIODevice;

namespace ValueText {

// Results of toRawValue that are not register values.
enum RawRefusal {
    NoResolution = -1, // the resolution text holds no usable "1"
    OutOfRange = -2,   // the value does not fit the register
    NotANumber = -3,   // the text is not an optional sign, digits and an optional fraction
};

// Position of the first "1" in a resolution text ("--" counts as "1"): the decimals it gives a
// read value (writing false), or the power of ten a written value is multiplied by (writing true).
// -1 when there is no "1" within the first six characters.
int decimalsOf(const QString &resolution, bool writing);

// An optional sign, digits and an optional fraction ("12", "-5", "+0.5", "3.", ".25");
// surrounding spaces are allowed.
bool isPlainNumber(const QString &text);

// The register value of a value text written with the given resolution, or a RawRefusal.
// 9999 and 99999 (either sign) stand for the drive's special value FFFFh. Negative values are
// sent as their two's complement and must fit -32768; the product is rounded half up exactly
// on the decimal digits, so 12.345 at 0.01 gives 1235.
int toRawValue(const QString &value, const QString &resolution);

// Decimals a value read with the given scale is shown with (the scale in its shortest text:
// 0.01 gives 2); 6 when the scale gives none.
int readDecimals(double scale);

// The "Current value" text of a read value: 9999 and 99999 as plain integers whatever the
// decimals, otherwise fixed notation with the decimals (-1: six).
QString formatReadValue(double value, int decimals);

// The resolution of a value text in a row whose unit is undefined: the digits after its point
// give 0.1 to 0.0001, anything else "1".
QString resolutionFromValueText(const QString &value);

// Scale of a read as its shortest text with six significant digits ("0.01", "1").
QString scaleText(double scale);

// True when two value texts differ as numbers (a text that is no number counts as 0).
bool differAsNumbers(const QString &a, const QString &b);

// The parameters the batch write writes after all others, from the lines of W_Par.txt
// ("A:P120-121-122"); the first line of the series counts. 1600 flags.
QVector<bool> readDeferredParameters(QIODevice *device, char series);

} // namespace ValueText
