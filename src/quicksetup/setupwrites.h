#pragma once

// What the set-up wizard writes: its choices turned into the parameter writes the drive gets, in
// their order, with the rules that turn a selector's place into a function code. A plain function,
// so the sequence can be listed and checked before the first write.

#include <QString>
#include <QVector>

#include <functional>

namespace QuickSetupWrites {

// The wizard's choices: combo indices (-1 for none) and spin-box values.
struct Choices {
    int controlMethod = 0;
    double maxFrequency = 0;
    double baseFrequency = 0;
    int maxVoltage = 0;
    double accelTime = 0;
    double decelTime = 0;
    int brake = 0;
    int operationMethod = 0;
    int outputs[4] = { 0, 0, 0, 0 };
    int slotOutputs[16] = {};
    int inputs[22] = {};
};

// The field of the wizard a write comes from, for naming it when its value cannot be written.
enum class Field { ControlMethod, MaxFrequency, BaseFrequency, MaxVoltage, AccelTime, DecelTime, Brake, Terminal,
                   OperationMethod };

struct Write {
    int parameter;
    QString value;
    QString resolution;
    Field field;
};

// The writes of one run for a series letter; `feature` answers the feature keys, asked at the row
// that needs them.
QVector<Write> writes(const Choices &choices, char series, const std::function<bool(const QString &)> &feature);

// The parameter input selector `selector` (0 to 21) is written to under a series, -1 when none.
int inputParameter(int selector, char series);

// The selector index that writes the function code `code` to that parameter, -1 when none does.
int inputIndex(int selector, int code, char series);

} // namespace QuickSetupWrites
