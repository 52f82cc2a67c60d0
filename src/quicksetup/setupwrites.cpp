#include "quicksetup/setupwrites.h"

namespace QuickSetupWrites {

namespace {

// Written as FFFFh: the drive's "no function".
constexpr int NoValue = 99999;
constexpr int Skip = -1;

QString integerText(int v) { return QString::number(v); }
QString realText(double v) { return QString::number(v, 'g', 6); }

// Outputs of series A: the first item is "NULL"; codes 11 to 15 are not offered.
int outputRule1(int index)
{
    const int v = index - 1;
    if (v < 0)
        return NoValue;
    return v >= 11 ? v + 5 : v;
}

int outputRule2(int index, char series)
{
    if (index < 0)
        return Skip;
    if (series == 'X' && index >= 12)
        return index + 5;
    if (series == 'L' && index >= 11)
        return index + 5;
    return index;
}

// Inputs of series A: the first item is "NULL"; code 42 is not offered.
int inputRule1(int index)
{
    const int v = index - 1;
    if (v < 0)
        return NoValue;
    return v >= 42 ? v + 1 : v;
}

int inputRule2(int index)
{
    if (index < 0)
        return Skip;
    return index >= 42 ? index + 1 : index;
}

int inputRule3(int index) { return index < 0 ? Skip : index; }

const int TerminalInputs[] = { 80, 81, 82, 83, 84, 86, 126, 127, 128 };

} // namespace

QVector<Write> writes(const Choices &c, char series, const std::function<bool(const QString &)> &feature)
{
    QVector<Write> out;
    auto add = [&out](int parameter, int value, Field field) {
        if (value != Skip)
            out.append({ parameter, integerText(value), QStringLiteral("1"), field });
    };

    // The control method.
    if (series == 'G' || series == 'X' || series == 'T' || series == 'L') {
        int v = c.controlMethod - 1;
        if (series == 'T' && v == 1)
            v = 2;
        if (series == 'X' && v >= 1)
            v += 1;
        add(300, v < 0 ? Skip : v, Field::ControlMethod);
    } else if (series == 'H') {
        const int v = c.controlMethod - 1;
        add(99, v < 0 ? Skip : v, Field::ControlMethod);
    } else if (series == 'A') {
        const int v = c.controlMethod - 1;
        add(400, v < 0 ? NoValue : v, Field::ControlMethod);
    }

    out.append({ 1, realText(c.maxFrequency), QStringLiteral("0.01"), Field::MaxFrequency });
    out.append({ 3, realText(c.baseFrequency), QStringLiteral("0.01"), Field::BaseFrequency });
    out.append({ 19, integerText(c.maxVoltage), QStringLiteral("0.1"), Field::MaxVoltage });
    const QString fineTime = QStringLiteral("0.01s/0.1s");
    const QString coarseTime = QStringLiteral("0.1s");
    out.append({ 7, realText(c.accelTime), feature(QStringLiteral("quicksetup_P7")) ? fineTime : coarseTime,
                 Field::AccelTime });
    out.append({ 8, realText(c.decelTime), feature(QStringLiteral("quicksetup_P8")) ? fineTime : coarseTime,
                 Field::DecelTime });
    // Linear braking is 1 on the drive, idling 0; any other index goes as it is.
    out.append({ 71, integerText(c.brake == 0 ? 1 : c.brake == 1 ? 0 : c.brake), QStringLiteral("1"), Field::Brake });

    if (series == 'A') {
        add(40, outputRule1(c.outputs[0]), Field::Terminal);
        add(85, outputRule1(c.outputs[1]), Field::Terminal);
        if (feature(QStringLiteral("quicksetup_P126-P130")))
            add(129, outputRule1(c.outputs[2]), Field::Terminal);
        add(130, outputRule1(c.outputs[3]), Field::Terminal);
        for (int i = 0; i < 16; ++i)
            add(568 + i, outputRule1(c.slotOutputs[i]), Field::Terminal);
    } else {
        add(40, outputRule2(c.outputs[0], series), Field::Terminal);
        if (feature(QStringLiteral("quicksetup_P80-P86NotH")))
            add(85, outputRule2(c.outputs[1], series), Field::Terminal);
        if (feature(QStringLiteral("quicksetup_P126-P130")))
            add(129, outputRule2(c.outputs[2], series), Field::Terminal);
        int v = c.outputs[3];
        if (series == 'X' && v == 12)
            v = 17;
        if (series == 'L' && v >= 11)
            v += 5;
        add(130, v < 0 ? Skip : v, Field::Terminal);
    }

    if (series == 'A') {
        for (int i = 0; i < 9; ++i)
            add(TerminalInputs[i], inputRule1(c.inputs[i]), Field::Terminal);
        for (int i = 0; i < 6; ++i)
            add(551 + i, inputRule1(c.inputs[10 + i]), Field::Terminal);
        for (int i = 0; i < 6; ++i)
            add(559 + i, inputRule1(c.inputs[16 + i]), Field::Terminal);
        add(550, inputRule2(c.inputs[9]), Field::Terminal);
    } else if (series == 'L') {
        for (int i = 0; i < 7; ++i)
            add(TerminalInputs[i], inputRule2(c.inputs[i]), Field::Terminal);
        add(550, inputRule2(c.inputs[9]), Field::Terminal);
    } else {
        if (feature(QStringLiteral("quicksetup_P80-P86NotH"))) {
            for (int i = 0; i < 6; ++i)
                add(TerminalInputs[i], inputRule2(c.inputs[i]), Field::Terminal);
        }
        if (feature(QStringLiteral("quicksetup_P126-P130"))) {
            for (int i = 6; i < 9; ++i)
                add(TerminalInputs[i], inputRule3(c.inputs[i]), Field::Terminal);
        }
    }

    const int m = c.operationMethod;
    add(79, m <= 1 ? 1 : m <= 3 ? 2 : m == 4 ? 3 : m, Field::OperationMethod);
    return out;
}

int inputParameter(int selector, char series)
{
    if (selector < 0 || selector > 21)
        return -1;
    if (selector == 9)
        return series == 'A' || series == 'L' ? 550 : -1;
    if (selector > 9)
        return series == 'A' ? (selector < 16 ? 551 + selector - 10 : 559 + selector - 16) : -1;
    if (series == 'L' && selector > 6)
        return -1;
    return TerminalInputs[selector];
}

int inputIndex(int selector, int code, char series)
{
    if (inputParameter(selector, series) < 0 || code < 0)
        return -1;
    if (series == 'A' && selector != 9) { // behind "NULL", which stands for no function
        if (code == NoValue)
            return 0;
        return code == 42 ? -1 : code < 42 ? code + 1 : code;
    }
    if (code == NoValue)
        return -1;
    if (series != 'A' && series != 'L' && selector >= 6) // written as their place
        return code;
    return code == 42 ? -1 : code > 42 ? code - 1 : code;
}

} // namespace QuickSetupWrites
