#include "parameter/valuetext.h"

#include "parameter/paramglobals.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QTextCodec>
#include <QTextStream>
#include <cmath>

namespace ValueText {

int decimalsOf(const QString &resolution, bool writing)
{
    const QString text = resolution.contains(QLatin1String("--")) ? QStringLiteral("1") : resolution;
    static const int decimals[] = { 0, 0, 1, 2, 3, 4 };
    static const int multipliers[] = { 1, 1, 10, 100, 1000, 10000 };
    const int p = text.indexOf(QLatin1Char('1'));
    if (p < 0 || p > 5)
        return -1;
    return writing ? multipliers[p] : decimals[p];
}

namespace {

const QRegularExpression &plainNumber()
{
    static const QRegularExpression re(QStringLiteral("^\\s*([+-]?)([0-9]*)(?:\\.([0-9]*))?\\s*$"));
    return re;
}

struct Decimal {
    bool negative = false;
    QString whole;    // digits before the point, leading zeros removed
    QString fraction; // digits after the point
};

bool parseDecimal(const QString &text, Decimal *out)
{
    const QRegularExpressionMatch m = plainNumber().match(text);
    if (!m.hasMatch())
        return false;
    out->negative = m.captured(1) == QLatin1String("-");
    out->whole = m.captured(2);
    out->fraction = m.captured(3);
    if (out->whole.isEmpty() && out->fraction.isEmpty())
        return false;
    while (out->whole.startsWith(QLatin1Char('0')))
        out->whole.remove(0, 1);
    return true;
}

bool isZeroDigits(const QString &digits)
{
    for (QChar c : digits) {
        if (c != QLatin1Char('0'))
            return false;
    }
    return true;
}

} // namespace

bool isPlainNumber(const QString &text)
{
    Decimal d;
    return parseDecimal(text, &d);
}

int toRawValue(const QString &value, const QString &resolution)
{
    Decimal d;
    if (!parseDecimal(value, &d))
        return NotANumber;
    const int multiplier = decimalsOf(resolution, true);
    if (multiplier < 0)
        return NoResolution;
    if ((d.whole == QLatin1String("9999") || d.whole == QLatin1String("99999")) && isZeroDigits(d.fraction))
        return 0xFFFF;
    if (d.whole.size() > 6)
        return OutOfRange;

    // Shift the point by the multiplier's digits on the text itself: binary fractions would
    // turn 12.345 into 1234.4999... and round the wrong way.
    const int shift = multiplier == 1 ? 0 : int(std::lround(std::log10(multiplier)));
    const QString fraction = d.fraction.leftJustified(shift + 1, QLatin1Char('0'));
    qint64 magnitude = (d.whole + fraction.left(shift)).toLongLong();
    if (fraction.at(shift) >= QLatin1Char('5'))
        ++magnitude;

    if (!d.negative || magnitude == 0)
        return magnitude > 0xFFFF ? OutOfRange : int(magnitude);
    // Beyond -32768 the two's complement would come back as a positive value.
    if (magnitude > 0x8000)
        return OutOfRange;
    return int(0x10000 - magnitude);
}

QString scaleText(double scale)
{
    return QString::number(scale, 'g', 6);
}

int readDecimals(double scale)
{
    const QString text = scaleText(scale);
    if (text.contains(QLatin1Char('e'))) {
        // Scales below 0.0001 print in exponent form, where the "1" says nothing.
        const int exponent = int(std::floor(std::log10(scale) + 1e-9));
        return exponent < 0 && exponent >= -6 ? -exponent : 6;
    }
    const int d = decimalsOf(text, false);
    return d < 0 ? 6 : d;
}

QString formatReadValue(double value, int decimals)
{
    const double whole = std::trunc(value);
    if (whole == 9999.0 || whole == 99999.0)
        return QString::number(qint64(whole));
    return QString::number(value, 'f', decimals < 0 ? 6 : decimals);
}

QString resolutionFromValueText(const QString &value)
{
    const int p = value.indexOf(QLatin1Char('.'));
    if (p <= 0)
        return QStringLiteral("1");
    switch (value.size() - p - 1) {
    case 1: return QStringLiteral("0.1");
    case 2: return QStringLiteral("0.01");
    case 3: return QStringLiteral("0.001");
    case 4: return QStringLiteral("0.0001");
    default: return QStringLiteral("1");
    }
}

bool differAsNumbers(const QString &a, const QString &b)
{
    return a.toDouble() != b.toDouble();
}

QVector<bool> readDeferredParameters(QIODevice *device, char series)
{
    QVector<bool> deferred(ParameterRows, false);
    if (!device)
        return deferred;
    QTextStream in(device);
    in.setCodec(QTextCodec::codecForName("GBK"));
    const QString letter = QString(QLatin1Char(series));
    static const QRegularExpression separators(QStringLiteral("P|-"));
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split(QLatin1Char(':'));
        if (fields.first() != letter)
            continue;
        for (const QString &piece : fields.value(1).split(separators, Qt::SkipEmptyParts)) {
            bool ok = false;
            const int n = piece.trimmed().toInt(&ok);
            if (ok && n >= 0 && n < ParameterRows)
                deferred[n] = true;
        }
        break;
    }
    return deferred;
}

} // namespace ValueText
