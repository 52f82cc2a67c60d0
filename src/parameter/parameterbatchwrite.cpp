// The batch write: the whole "Setting value" column to the drive, selectors first, the series'
// deferred parameters after the others, P.79, P.77 and P.34 last, then a read-back.

#include "parameter/parameter.h"

#include "comm/globals.h"
#include "comm/linkflags.h"
#include "comm/readwrite.h"
#include "comm/typeinfo.h"
#include "parameter/paramtext.h"
#include "parameter/relatedunits.h"
#include "parameter/valuetext.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/operationlog.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

using namespace ParamText;

namespace {

struct DeferredWrite {
    int parameter;
    QString resolution;
    QString value;
};

} // namespace

int CParameter::batchWriteBox(const QString &text, bool offerContinue)
{
    QMessageBox box;
    box.setIcon(QMessageBox::NoIcon);
    box.setIcon(QMessageBox::Warning);
    box.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.setStyleSheet(QStringLiteral("QLabel{font:13px}"));
    box.setWindowTitle(tr("Warning"));
    box.setText(text);
    if (offerContinue) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.button(QMessageBox::Ok)->setText(tr("Continue"));
        box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    // Each follows reads or a mode request that held the window.
    return execAfterEarlierPresses(&box);
}

// P.991 and P.187 are left out of the selectors' pass on drives that keep them to themselves.
bool CParameter::writtenAsSelector(int parameter) const
{
    const QString rule = g_relatedUnitRules.value(parameter);
    if (!rule.contains(QLatin1String("//")))
        return false;
    return !(parameter == 991 && isFeatureEnabled(QStringLiteral("Parameter_readP991")))
        && !(parameter == 187 && isFeatureEnabled(QStringLiteral("Navigation_readP187")));
}

// Whether any pass below would send something: a value it writes, or a command of the P.99X row.
bool CParameter::batchWriteHasWork(const QVector<bool> &deferred) const
{
    const int passEnd = g_groupMode != 0 ? qMax(g_parameterCount, 1000) : g_parameterCount;
    for (int row = 0; row < PartableWidget->rowCount(); ++row) {
        const int n = parameterOfRow(row);
        const QString value = cellText(row, 10);
        if (value.isEmpty() || n < 0 || n >= ParameterRows)
            continue;
        if (n == PseudoRow) {
            if (value != QLatin1String("0"))
                return true;
            continue;
        }
        if (n == 79 || n == 77 || n == 34)
            return true;
        if (n < passEnd && (writtenAsSelector(n) || deferred.at(n) || (g_readOnlyFlags[n] == 0 && n != 295)))
            return true;
    }
    return false;
}

void CParameter::WriteAllParClicked()
{
    if (!linkReady())
        return;
    writeAllFromButton = true;
    WriteAllPar();
}

// Reads one protection or version parameter before the batch write; false when the link was lost
// on it (the protocol object has then reported the communication error).
bool CParameter::readBeforeBatchWrite(int parameter, double scale, QString *text)
{
    bool ok = false;
    const double value = readFromDrive(parameter, scale, &ok);
    *text = formatValue(ok ? value : -1.0);
    return !g_offLine;
}

bool CParameter::batchWriteChecks()
{
    const int status = g_mainWindow && g_mainWindow->navigation ? g_mainWindow->navigation->statusWord.load() : 0;
    if (status & 6) {
        batchWriteBox(tr("Unable to write parameter value.\n") + QStringLiteral("\n") + tr("Please stop INV first!"));
        return false;
    }
    switch (modeRuleForWrite()) {
    case DriveModeState::Go::Send:
        break;
    case DriveModeState::Go::Refuse:
        batchWriteBox(tr("Please change INV operation mode to CU!"));
        return false;
    default:
        return false;
    }
    FlagScope batch(g_batchTransfer, FlagScope::Clear);
    writeMode = true;
    g_failedParameters.clear();

    QString text;
    if (!readBeforeBatchWrite(77, 1.0, &text))
        return false;
    if (text == QLatin1String("1")) {
        batchWriteBox(tr("Unable to write parameter value.\n") + QStringLiteral("\n")
                      + tr("Please confirm the parameter value of 00-03(P.77)."));
        return false;
    }
    if (!readBeforeBatchWrite(295, 1.0, &text))
        return false;
    if (text == QLatin1String("1")) {
        batchWriteBox(tr("Unable to write parameter value.\n") + QStringLiteral("\n")
                      + tr("Please confirm the parameter value of 00-05(P.295)."));
        return false;
    }

    // The list's version stands in the row labelled P.188, wherever the table's order has put it.
    const int versionRow = rowOfLabel(188);
    double listed = versionRow >= 0 ? cellText(versionRow, 10).toDouble() : 0.0;
    if (listed >= 100)
        listed /= 1000;
    if (!readBeforeBatchWrite(188, 0.001, &text))
        return false;
    if (listed != text.toDouble()
        && batchWriteBox(tr("The parameter file is inconsistent with the software version of the control board.\n")
                             + tr("Continue writing?"),
                         true)
               != QMessageBox::Ok)
        return false;
    // WriteAllPar's own scope takes the batch over.
    batch.release();
    return true;
}

void CParameter::WriteAllPar()
{
    QFile deferredFile(g_appDir + QStringLiteral("ParameterInforamtion/W_Par.txt"));
    const QVector<bool> deferred = ValueText::readDeferredParameters(
        deferredFile.open(QIODevice::ReadOnly | QIODevice::Text) ? &deferredFile : nullptr, g_seriesLetter);
    deferredFile.close();
    // A table reloaded by a connection test holds no settings: asking for the version and reading
    // everything back would only look like a write that went through.
    if (!batchWriteHasWork(deferred)) {
        batchWriteBox(tr("Unable to write parameter value.\n") + QStringLiteral("\n")
                      + tr("There is no setting value to write. Open a parameter list or enter setting values first."));
        return;
    }
    if (!batchWriteChecks())
        return;
    FlagScope batch(g_batchTransfer, FlagScope::Clear);
    sortByNumber();
    QTableWidget *table = PartableWidget;
    const int rows = table->rowCount();

    auto endOffLine = [this, &batch] {
        batch.end();
        writeMode = false;
    };
    // The rows the loss left unwritten are the one it stopped at and those after it.
    auto stoppedAt = [&](int parameter) {
        endOffLine();
        batchWriteBox(tr("The link was lost: writing stopped at P.%1; it and the rows after it were not written.")
                          .arg(parameter));
    };
    auto failed = [&](int row) {
        setRowMarked(row, true);
        return g_offLine.load();
    };

    // Selectors first, so that the parameters they govern are written with the right resolution. One
    // written gives its unit; the others are read just before the first row they govern.
    QVector<bool> asked(ParameterRows);
    QVector<bool> known(ParameterRows);
    for (int i = 0; i < g_parameterCount && i < rows; ++i) {
        const QString rule = g_relatedUnitRules.value(i);
        const QString setting = cellText(i, 10);
        if (setting.isEmpty() || !writtenAsSelector(i))
            continue;
        const QString value = QString(setting).remove(QLatin1Char(' '));
        if (!writeParValue(i, value, QStringLiteral("1"))) {
            if (failed(i)) {
                stoppedAt(i);
                return;
            }
            continue;
        }
        asked[i] = known[i] = true;
        updateRelatedUnits(rule, value, g_relatedUnitText);
        resolveGovernedRows(i, value);
    }

    QProgressDialog progress(QString(), tr("Cancel"), 0, tableRows, this, Qt::WindowSystemMenuHint);
    showTransferProgress(progress, tr("Writing parameters..."));
    int c = 0;
    auto step = [&] {
        progress.setValue(++c);
        if (!progress.wasCanceled())
            return true;
        endOffLine();
        return false;
    };

    appendOperationLog({ QStringLiteral("Batch write parameter:") });

    // A row whose unit its selector's read leaves unknown is not written; such rows are named, as
    // failed, after the passes.
    QMap<int, QStringList> unwritten;
    auto unitUnknown = [&](int n) {
        const int selector = selectorOf(n);
        if (selector < 0)
            return false;
        if (!asked.at(selector))
            known[selector] = readUnitNow(selector);
        asked[selector] = true;
        if (known.at(selector))
            return false;
        unwritten[selector] << QStringLiteral("P.%1").arg(n);
        g_failedParameters.append(QStringLiteral("P.%1").arg(n));
        setRowMarked(n, true);
        return true;
    };

    const int valueColumn = writeAllFromButton ? 10 : 9;
    QVector<DeferredWrite> later;
    for (int i = 0; (i < g_parameterCount || (g_groupMode != 0 && i < 1000)) && i < rows; ++i) {
        if (!table->item(i, 1))
            break;
        setRowMarked(i, false);
        const QString value = cellText(i, valueColumn);
        const bool pseudoRow = cellText(i, 1).contains(QLatin1String("99X"));
        if (pseudoRow)
            runPseudoRowCommand(value, false);

        const bool writes = !value.isEmpty() && !pseudoRow
                            && (deferred.at(i) || (g_readOnlyFlags[i] == 0 && i != 295 && i != 34 && i != 77));
        const bool unknown = writes && unitUnknown(i);
        if (g_offLine) {
            stoppedAt(i);
            return;
        }
        QString resolution;
        if (!value.isEmpty() && !pseudoRow && !unknown)
            resolution = writeResolution(i, cellText(i, 7), cellText(i, 10));
        if (deferred.at(i) || g_readOnlyFlags[i] != 0) {
            if (deferred.at(i) && !unknown)
                later.append({ i, resolution, value });
            continue;
        }
        if (writes && !unknown) {
            if (!writeParValue(i, value, resolution) && failed(i)) {
                stoppedAt(i);
                return;
            }
        }
        if (!step())
            return;
    }

    for (const DeferredWrite &entry : qAsConst(later)) {
        const int n = entry.parameter;
        if (entry.value.isEmpty() || n == 77 || n == 79 || n == 34)
            continue;
        if (!writeParValue(n, entry.value, entry.resolution) && failed(n)) {
            stoppedAt(n);
            return;
        }
        if (!step())
            return;
    }

    for (int n : { 79, 77, 34 }) {
        const QString value = n < rows ? cellText(n, 10) : QString();
        if (value.isEmpty())
            continue;
        if (!writeParValue(n, value, QStringLiteral("1")) && failed(n)) {
            stoppedAt(n);
            return;
        }
    }

    progress.setValue(g_parameterCount);
    QStringList lines { QString() };
    if (!g_failedParameters.isEmpty()) {
        QString line;
        for (const QString &entry : qAsConst(g_failedParameters))
            line += entry + QLatin1Char(' ');
        lines << line + tr("write failure!");
    }
    appendOperationLog(lines);

    batch.end();
    resolutionFactor = -1;
    writeMode = false;
    readBackAfterWrite = true;
    // The read-back shows a progress of its own, and its comparison must not end up behind this one.
    progress.close();
    for (auto it = unwritten.cbegin(); it != unwritten.cend(); ++it)
        batchWriteBox(unreadUnitText(it.value().join(QStringLiteral(", ")), it.key()));
    ReadAllPar();
}
