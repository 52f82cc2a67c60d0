#include "parameter/comparison.h"

#include "comm/globals.h"
#include "parameter/parameter.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "shell/textfit.h"

namespace {

bool differsAsNumbers(const QString &a, const QString &b)
{
    return a.toDouble() != b.toDouble();
}

} // namespace

CompareResult::CompareResult(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("Compare"));
    setFixedSize(650, 450);
    CompareWidget->setRowCount(0);
    showElidedTextsAsToolTips(CompareWidget);
    giveColumnTheRest(CompareWidget, 2);
    fitTexts(this);
}

CompareResult::~CompareResult() = default;

void CompareResult::retranslate()
{
    retranslateUi(this);
    fitTexts(this);
}

void CompareResult::addRow(QString group, QString parameter, QString name, QString defaultValue,
                           QString currentValue, QString settingValue, int row)
{
    const QString texts[] = { group, parameter, name, defaultValue, currentValue, settingValue };
    for (int c = 0; c < 6; ++c) {
        auto *item = new QTableWidgetItem(texts[c]);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        CompareWidget->setItem(row, c, item);
    }
}

void CompareResult::compare(int mode)
{
    CompareWidget->setEnabled(false);
    CompareWidget->setRowCount(0);

    switch (mode) {
    case DefaultVsCurrent:
        setWindowTitle(tr("Default VS Current"));
        CompareWidget->showColumn(4);
        CompareWidget->hideColumn(5);
        break;
    case DefaultVsSetting:
        setWindowTitle(tr("Default VS Setting"));
        CompareWidget->hideColumn(4);
        CompareWidget->showColumn(5);
        break;
    case CurrentVsSetting:
        setWindowTitle(tr("Current VS Setting"));
        CompareWidget->showColumn(4);
        CompareWidget->showColumn(5);
        break;
    default:
        break;
    }
    for (int c = 1; c <= 3; ++c)
        CompareWidget->showColumn(c);

    CParameter *form = g_mainWindow ? g_mainWindow->parameterForm : nullptr;
    const bool knownMode = mode >= DefaultVsCurrent && mode <= CurrentVsSetting;
    if (form && knownMode) {
        QTableWidget *table = form->PartableWidget;
        for (int i = 0; i < table->rowCount(); ++i) {
            const QString cur = form->cellText(i, 9);
            // A current "?" was not read (its unit unknown): it neither equals nor differs from anything.
            if (table->isRowHidden(i) || (mode != DefaultVsSetting && cur == QLatin1String("?")))
                continue;
            const QString def = form->cellText(i, 8);
            const QString set = form->cellText(i, 10);
            const QString d = form->stripUnit(def);
            bool listed = false;
            if (mode == DefaultVsCurrent) {
                listed = differsAsNumbers(d, cur) || cur.isEmpty() || def.contains(QLatin1String("--"));
            } else if (mode == DefaultVsSetting) {
                listed = differsAsNumbers(d, set) || set.isEmpty() || def.contains(QLatin1String("--"));
            } else {
                // A Writable text with a single "-" marks a read-only parameter: nothing to write, nothing to list.
                const QString comment = form->cellText(i, 11);
                listed = cur != set && !set.isEmpty()
                         && (comment.contains(QLatin1String("--")) || !comment.contains(QLatin1Char('-')));
            }
            if (!listed)
                continue;
            const int row = CompareWidget->rowCount();
            CompareWidget->insertRow(row);
            addRow(form->cellText(i, 0), form->cellText(i, 1), form->cellText(i, 3), def, cur, set, row);
        }
    }

    CompareWidget->setColumnHidden(0, g_groupMode == 0);
    CompareWidget->setEnabled(true);
    // The rows were replaced within one pass of the event loop, so the view kept the old list's position.
    CompareWidget->scrollToTop();
    // The columns just shown need room for their headers; the name takes what they leave.
    fitTexts(this);
    giveColumnTheRest(CompareWidget, 2);
}
