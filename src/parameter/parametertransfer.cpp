// The transfer half of the parameter form: batch and single reads, single and batch writes, the
// drive commands 996 to 999, and the read and write operations other subsystems call.

#include "parameter/parameter.h"

#include "comm/globals.h"
#include "comm/linkflags.h"
#include "comm/readwrite.h"
#include "comm/typeinfo.h"
#include "parameter/paramtext.h"
#include "parameter/parinformation.h"
#include "parameter/relatedunits.h"
#include "parameter/valuetext.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/operationlog.h"
#include "shell/textfit.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <cmath>

using namespace ParamText;

namespace {

constexpr int ValueColumnCurrent = 9;
constexpr int ValueColumnSetting = 10;
const QString NoOverride = QStringLiteral("---");

// Scale of a row for reading from the decimals code of its attribute byte.
double attributeScale(unsigned char attribute)
{
    const int code = attribute & AttrDecimalsMask;
    return code <= 5 ? std::pow(10.0, -code) : 1.0;
}

bool hasOverride(int parameter)
{
    const QString &text = g_relatedUnitText[parameter];
    return !text.isEmpty() && text != NoOverride;
}

// A resolution text for a scale the drive reported; exponent forms would hide the decimals.
QString resolutionOfScale(double scale)
{
    QString text = ValueText::scaleText(scale);
    if (!text.contains(QLatin1Char('e')))
        return text;
    text = QString::number(scale, 'f', 6);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

QString stripped(const QString &text)
{
    return QString(text).remove(QLatin1Char(' '));
}

} // namespace

// ---- Link, flags and the drive ----

bool CParameter::linkReady()
{
    if (g_connectionTest)
        return true;
    CNavigation *navigation = g_mainWindow ? g_mainWindow->navigation : nullptr;
    return !navigation || navigation->checkConnection() != -1;
}

DriveModeState::Go CParameter::modeRuleForWrite()
{
    if (g_connectionTest || !g_mainWindow || !g_mainWindow->navigation)
        return g_cuModeResult == 0 ? DriveModeState::Go::Send : DriveModeState::Go::Refuse;
    return g_mainWindow->navigation->modeRule();
}

unsigned char CParameter::attributeOf(int parameter) const
{
    return parameter >= 0 && parameter < ParameterRows ? attributes[parameter] : 0;
}

double CParameter::readFromDrive(int parameter, double scale, bool *ok)
{
    *ok = false;
    if (!g_readWrite || parameter < 0 || parameter >= ParameterRows)
        return -1.0;
    const unsigned char attribute = attributeOf(parameter);
    // The flags travel with the read: set as globals, a poller's read in between could take them.
    ValueFlags flags;
    flags.noValue = (attribute & AttrSpecialValue) != 0;
    flags.isSigned = (attribute & AttrSigned) != 0;
    const double value = g_readWrite->ReadPar(parameter, scale, flags);
    if (value != -1.0) {
        *ok = true;
        return value;
    }
    if (!(attribute & AttrSigned) || g_offLine)
        return value;
    // A signed parameter can hold -1 itself. Read without the sign rule, quietly: a failure then
    // still gives -1, a value cannot, and the first read already reported its own failure.
    const FlagScope quiet(g_quietRead);
    flags.isSigned = false;
    const double unsignedValue = g_readWrite->ReadPar(parameter, scale, flags);
    *ok = unsignedValue != -1.0;
    return value;
}

QString CParameter::probeResolution(int parameter)
{
    // Only the decimal digit of the reply is wanted, so neither one-shot flag may stand in its way;
    // the unit is cleared first so that a failed read cannot leave the last reply's decimals.
    const double previous = g_zrValueUnit;
    g_zrValueUnit = 0.0;
    const double value = g_readWrite ? g_readWrite->ReadPar(parameter, 1.0, ValueFlags()) : -1.0;
    const double unit = g_zrValueUnit;
    if (value == -1.0 || unit <= 0.0) {
        g_zrValueUnit = previous;
        return QStringLiteral("1");
    }
    return resolutionOfScale(unit);
}

QString CParameter::writeResolution(int parameter, const QString &unit, const QString &value)
{
    if (hasOverride(parameter))
        return g_relatedUnitText[parameter];
    if (unit != QLatin1String("--"))
        return unit;
    if (g_protocolIndex == 0 && parameter <= highestParameter)
        return probeResolution(parameter);
    return ValueText::resolutionFromValueText(value);
}

int CParameter::rowOfLabel(int parameter) const
{
    for (int r = 0; r < PartableWidget->rowCount(); ++r) {
        const QString label = cellText(r, 1);
        if (label.contains(QLatin1String("P.")) && labelNumber(label) == parameter)
            return r;
    }
    return -1;
}

void CParameter::setRowMarked(int row, bool marked)
{
    QTableWidget *table = PartableWidget;
    QFont font = table->font();
    font.setBold(marked);
    for (int c = 0; c <= 10; ++c) {
        if (QTableWidgetItem *item = table->item(row, c)) {
            item->setFont(font);
            item->setForeground(marked ? Qt::red : Qt::black);
        }
    }
    underlineHelpCell(row, parameterOfRow(row));
}

void CParameter::sortByNumber()
{
    if (g_sortFlag != 0)
        return;
    PartableWidget->sortItems(1, Qt::AscendingOrder);
    g_sortFlag = 1;
}

// ---- Operations other subsystems call ----

int CParameter::decimalsOf(QString resolution)
{
    return ValueText::decimalsOf(resolution, writeMode);
}

int CParameter::toRawValue(int parameter, QString value, QString resolution)
{
    Q_UNUSED(parameter)
    const int raw = ValueText::toRawValue(value, resolution);
    if (g_batchTransfer || !g_mainWindow)
        return raw;
    if (raw == ValueText::OutOfRange)
        g_mainWindow->ErrWarning(12);
    else if (raw == ValueText::NotANumber)
        g_mainWindow->ErrWarning(14);
    return raw;
}

bool CParameter::writeParValue(int parameter, QString value, QString resolution)
{
    writeMode = true;
    const int raw = toRawValue(parameter, value, resolution);
    if (raw == ValueText::NoResolution) {
        if (!g_batchTransfer)
            warnAfterEarlierPresses(this, tr("Warning"), tr("Communication Error!"));
        return false;
    }
    if (raw < 0) {
        // A value the drive would take as something else is refused; the batch lists it as failed.
        if (g_batchTransfer)
            g_failedParameters.append(QStringLiteral("P.") + QString::number(parameter));
        return false;
    }
    if (!g_readWrite || parameter < 0 || parameter >= ParameterRows)
        return false;
    return g_readWrite->WritePar(parameter, raw);
}

double CParameter::readParValue(int parameter, bool *ok)
{
    bool done = false;
    if (ok)
        *ok = false;
    if (!linkReady())
        return -1.0;
    writeMode = false;
    if (parameter < 0 || parameter >= ParameterRows)
        return -1.0;
    QString unit = QStringLiteral("1");
    const int row = PartableWidget->currentRow();
    if (row >= 0 && row < tableRows && cellText(row, 1).contains(QLatin1String("P."))
        && labelNumber(cellText(row, 1)) == parameter)
        unit = cellText(row, 7);
    const double scale = hasOverride(parameter) ? g_relatedUnitText[parameter].toDouble() : scaleExponent(parameter, unit);
    const double value = readFromDrive(parameter, scale, &done);
    if (ok)
        *ok = done;
    return value;
}

bool CParameter::readResolutionSetting()
{
    bool ok = false;
    const double value = readFromDrive(21, 1.0, &ok);
    g_resolutionText = ok ? formatValue(value) : QStringLiteral("-1");
    if (!ok)
        return false;
    if (g_resolutionText == QLatin1String("0"))
        resolutionFactor = writeMode ? 100 : 2;
    else
        resolutionFactor = writeMode ? 10 : 1;
    return true;
}

// ---- Reading ----

void CParameter::markAfterRead(int row, const QString &text)
{
    bool marked = false;
    if (!readBackAfterWrite) {
        const QString reference = stripUnit(row < ParameterRows ? defaultValues[row] : QString());
        marked = !PartableWidget->isRowHidden(row)
                 && (reference.contains(QLatin1String("--")) || ValueText::differAsNumbers(reference, text));
    } else {
        const QString setting = cellText(row, ValueColumnSetting);
        marked = !setting.isEmpty() && setting != text && row < ParameterRows && g_readOnlyFlags[row] == 0;
    }
    setRowMarked(row, marked);
}

void CParameter::ReadAllPar()
{
    if (!linkReady())
        return;
    FlagScope batch(g_batchTransfer, FlagScope::Clear);
    writeMode = false;
    selectParaCombo->setCurrentIndex(2);
    selectPara(2);
    sortByNumber();
    allReadPB->setEnabled(false);
    QTableWidget *table = PartableWidget;
    tableRows = table->rowCount();

    const int count = g_parameterCount;
    const int maximum = count < 900 && g_groupMode != 0 ? count + 100 : count;
    QProgressDialog progress(QString(), tr("Cancel"), 0, maximum, this, Qt::WindowSystemMenuHint);
    showTransferProgress(progress, tr("Reading parameters..."));

    auto abandon = [&] {
        allReadPB->setEnabled(true);
        batch.end();
        progress.close();
    };

    int c = 0;
    QVector<bool> asked(ParameterRows);
    for (int i = 0; i < count || (g_groupMode != 0 && i < 1000);) {
        if (progress.wasCanceled()) {
            abandon();
            return;
        }
        if (i == count && i < 900)
            i = 900;
        if (i >= table->rowCount())
            break;
        if (i >= 995 && i <= 999) {
            if (stripped(cellText(i, 1)) == QLatin1String("P.99X") || cellText(i, 3) != QLatin1String("--")
                || cellText(i, 8) != QLatin1String("--")) {
                setItemText(i, ValueColumnCurrent, QStringLiteral("0"));
                progress.setValue(++c);
            } else {
                table->hideRow(i);
                ++c;
            }
            ++i;
            continue;
        }

        // The selector is asked once a batch; a unit it leaves unknown shows no value in a guessed one.
        if (const int selector = unreadSelectorOf(i); selector >= 0) {
            const bool known = !asked.at(selector) && readUnitNow(selector);
            asked[selector] = true;
            if (g_offLine) {
                abandon();
                return;
            }
            if (!known) {
                setItemText(i, ValueColumnCurrent, QStringLiteral("?"));
                ++i;
                progress.setValue(++c);
                continue;
            }
        }
        double scale = 1.0;
        if (g_protocolIndex != 0)
            scale = hasOverride(i) ? g_relatedUnitText[i].toDouble() : attributeScale(attributes[i]);
        bool ok = false;
        const double value = readFromDrive(i, scale, &ok);
        if (!ok) {
            if (g_offLine) {
                abandon();
                return;
            }
            if (!readBackAfterWrite || cellText(i, ValueColumnSetting).isEmpty())
                table->hideRow(i);
        } else {
            if (g_protocolIndex == 0)
                scale = g_zrValueUnit;
            const QString text = ValueText::formatReadValue(value, ValueText::readDecimals(scale));
            setItemText(i, ValueColumnCurrent, text);
            markAfterRead(i, text);
        }
        ++i;
        progress.setValue(++c);
    }

    progress.setValue(maximum);
    allReadPB->setEnabled(true);
    batch.end();
    resolutionFactor = -1;
    const int comparison = readBackAfterWrite ? 2 : 0;
    readBackAfterWrite = false;
    // Closed first: a closing dialog hands the focus back to the main window, over the comparison.
    progress.close();
    showComparison(comparison);
}

void CParameter::ReadSinglePar()
{
    if (!linkReady())
        return;
    writeMode = false;
    QTableWidget *table = PartableWidget;
    const int row = table->currentRow();
    if (row < 0 || !table->item(row, 1))
        return;
    const QString label = stripped(cellText(row, 1));
    const QString unit = cellText(row, 7);
    const QString defaultText = cellText(row, 8);
    if (label == QLatin1String("P.99X")) {
        setItemText(row, ValueColumnCurrent, QStringLiteral("0"));
        return;
    }
    const int n = labelNumber(label);
    // A value in a unit the drive did not tell would look like a known one; the refusal names the selector.
    if (const int selector = unreadSelectorOf(n); selector >= 0 && !readUnitNow(selector, unreadValueText(n, selector))) {
        setItemText(row, ValueColumnCurrent, QStringLiteral("?"));
        return;
    }
    bool ok = false;
    const double value = readParValue(n, &ok);
    if (!ok)
        return;
    double scale = g_zrValueUnit;
    if (g_protocolIndex != 0)
        scale = hasOverride(n) ? g_relatedUnitText[n].toDouble() : scaleExponent(n, unit);
    const QString text = ValueText::formatReadValue(value, ValueText::readDecimals(scale));
    setItemText(row, ValueColumnCurrent, text);
    QFont font = table->font();
    font.setBold(ValueText::differAsNumbers(stripUnit(defaultText), text));
    table->item(row, ValueColumnCurrent)->setFont(font);
}

// ---- Writing ----

void CParameter::runPseudoRowCommand(const QString &value, bool emptyIsRefused)
{
    if (value == QLatin1String("0") || (value.isEmpty() && !emptyIsRefused))
        return;
    if (value == QLatin1String("1"))
        Execute996();
    else if (value == QLatin1String("2"))
        Execute997();
    else if (value == QLatin1String("3"))
        Execute998();
    else if (value == QLatin1String("4"))
        Execute999();
    else if (value == QLatin1String("5") || value == QLatin1String("6")) {
        sendRestartCommand(value == QLatin1String("5") ? "991" : "992");
    } else if (g_mainWindow) {
        g_mainWindow->reportError(19);
    }
}

void CParameter::WriteSinglePar()
{
    if (!linkReady())
        return;
    // What the row shows at the press is written, whatever the table shows once the drive has
    // told its mode.
    QTableWidget *table = PartableWidget;
    const int row = table->currentRow();
    const bool hasRow = row >= 0 && table->item(row, 1);
    const QString label = hasRow ? cellText(row, 1) : QString();
    const QString unit = hasRow ? cellText(row, 7) : QString();
    const QString value = hasRow ? cellText(row, ValueColumnSetting) : QString();
    switch (modeRuleForWrite()) {
    case DriveModeState::Go::Send:
        break;
    case DriveModeState::Go::Refuse:
        warnAfterEarlierPresses(this, tr("Warning"), tr("Please change INV operation mode to CU!"));
        return;
    default:
        return;
    }
    const bool pseudoRow = label.contains(QLatin1String("99X"));
    // A row without a Setting writes nothing, so the log names nothing; the pseudo-row refuses it.
    if (!hasRow || (value.isEmpty() && !pseudoRow))
        return;
    appendOperationLog({ QStringLiteral("Write Single Parameter:") + label + QLatin1Char('=') + value });

    if (pseudoRow) {
        runPseudoRowCommand(value, true);
        return;
    }
    const int n = labelNumber(label);
    auto logFailure = [&] {
        const QString number = QString(label).remove(QLatin1String("P.")).remove(QLatin1Char(' '));
        appendOperationLog({ QStringLiteral("Write parameter P.") + number + QLatin1Char('=') + value
                             + QStringLiteral(" failure!") });
    };
    // The unit is the one the selector gives now; the read's refusal names what was left unwritten.
    const int selector = selectorOf(n);
    if (selector >= 0 && !readUnitNow(selector, unreadUnitText(QStringLiteral("P.%1").arg(n), selector))) {
        logFailure();
        return;
    }
    const int rowNow = selector >= 0 ? rowOfLabel(n) : row;
    const QString resolution = writeResolution(n, rowNow >= 0 ? cellText(rowNow, 7) : unit, value);
    if (!writeParValue(n, value, resolution)) {
        logFailure();
        return;
    }
    setRowMarked(row, false);
    updateRelatedUnits(g_relatedUnitRules.value(n), value, g_relatedUnitText);
    resolveGovernedRows(n, value);
}

// ---- Drive commands ----

bool CParameter::executeCommand(const char *code, const QString &firstLine)
{
    // After a loss the test comes first, as for every other command, before the question.
    CNavigation *navigation = g_mainWindow ? g_mainWindow->navigation : nullptr;
    if (navigation && navigation->checkConnection() == -1 && !g_connectionTest)
        return false;
    const QString text = firstLine + QStringLiteral("\n") + tr("Click \"Confirm\" to confirm the operation.\n")
                         + tr("Click \"Cancel\" to cancel the operation.\n");
    QMessageBox box(QMessageBox::NoIcon, tr("Warning"), text, QMessageBox::Ok | QMessageBox::Cancel);
    box.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.setStyleSheet(QStringLiteral("QLabel{font:13px}"));
    box.button(QMessageBox::Ok)->setText(tr("Confirm"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    box.setIcon(QMessageBox::Warning);
    if (execAfterEarlierPresses(&box) != QMessageBox::Ok)
        return false;
    return sendRestartCommand(code);
}

bool CParameter::sendRestartCommand(const char *code)
{
    // The link arms the restart's wait once the command has gone out, answered or not: the drive
    // may have heard it. One that never went out restarts nothing, and is refused aloud.
    if (g_readWrite)
        g_readWrite->SendCommand(code);
    if (ReadWrite::lastCommandSent())
        return true;
    CNavigation *navigation = g_mainWindow ? g_mainWindow->navigation : nullptr;
    if (g_offLine && !g_connectionTest && navigation)
        navigation->askForConnectionTest();
    return false;
}

void CParameter::Execute996()
{
    executeCommand("996", tr("The operation will clear all alarm record information.\n"));
}

void CParameter::Execute997()
{
    // The reset returns the drive to page 0 of the character protocol.
    if (executeCommand("997", tr("The operation will reset the INV.\n")))
        g_zrPage = 0;
}

void CParameter::Execute998()
{
    executeCommand("998", tr("The operation will clear all parameters to initial value.\n"));
}

void CParameter::Execute999()
{
    executeCommand("999", tr("The operation will clear part parameters to initial value.\n"));
}

void CParameter::showTransferProgress(QProgressDialog &progress, const QString &title)
{
    progress.setWindowModality(Qt::WindowModal);
    progress.setWindowTitle(title);
    fitWindowTitle(&progress);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.show();
    progress.setValue(0);
    QCoreApplication::processEvents();
}
