// Saving and opening parameter list files from the parameter form.

#include "connection/comsetup.h"
#include "comm/globals.h"
#include "parameter/comparison.h"
#include "parameter/parameter.h"
#include "parameter/parameterlistfile.h"
#include "parameter/paramtext.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/savefilename.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QThread>

using namespace ParameterListFile;

namespace
{

const QString WorkbookEnding = QStringLiteral("xlsx");
const QString TextEnding = QStringLiteral("txt");

void showProgress(bool on)
{
    if (!g_mainWindow)
        return;
    if (g_mainWindow->progressBar)
        g_mainWindow->progressBar->setVisible(on);
    if (g_mainWindow->progressLabel)
        g_mainWindow->progressLabel->setVisible(on);
}

void setProgressRange(int maximum)
{
    if (g_mainWindow && g_mainWindow->progressBar)
        g_mainWindow->progressBar->setRange(0, maximum);
}

void setProgress(int value)
{
    if (g_mainWindow && g_mainWindow->progressBar)
        g_mainWindow->progressBar->setValue(value);
}

// Modbus is read from the set-up dialog's protocol selector as the user left it.
bool modbusSelected()
{
    if (g_mainWindow && g_mainWindow->comSetup)
        return g_mainWindow->comSetup->ProcomboBox->currentIndex() > 0;
    return g_protocolIndex > 0;
}

} // namespace

void CParameter::save()
{
    auto warn = [this](const QString &text) { warnAfterEarlierPresses(this, tr("Warning"), text); };
    if (g_invType.isEmpty()) {
        warn(tr("Nothing can be saved."));
        return;
    }
    QString name = g_mainWindow && g_mainWindow->typeValueLabel ? g_mainWindow->typeValueLabel->text() : g_invType;
    if (name.contains(QLatin1Char('/')))
        name.replace(QLatin1Char('/'), QLatin1Char('_'));
    else if (name.contains(QLatin1Char('|')))
        name.replace(QLatin1Char('|'), QLatin1Char('_'));
    g_saveFileName = saveStartFolder() + name;

    auto refuse = [&](const QString &path, const QString &reason) {
        warn(tr("Cannot write file %1:\n%2.").arg(path, reason));
    };
    // The format is settled before the user is asked to give up an old file for it.
    auto writable = [&](const QString &path) {
        const QString ending = fileEnding(path);
        if (ending != WorkbookEnding && ending != TextEnding)
            refuse(path, tr("Only names ending in .%1 or .%2 can be saved").arg(WorkbookEnding, TextEnding));
        else if (QFileInfo::exists(path) && !QFileInfo(path).isFile())
            refuse(path, tr("It is not a regular file"));
        else
            return true;
        return false;
    };
    QString kind;
    const QString path = askSaveFileName(this, tr("Save File"), g_saveFileName,
        tr("XLS Files(*.xlsx);;TXT Files(*.txt)"), &kind, SaveEnding::WhenNone, writable);
    if (path.isEmpty())
        return;
    showProgress(true);
    auto cannotWrite = [&](const QString &reason) {
        refuse(path, reason);
        showProgress(false);
    };

    Listing listing;
    listing.typeText = QString(g_invType).replace(QLatin1Char('/'), QLatin1Char('|'));
    listing.displayIndex = selectParaCombo->currentIndex();
    listing.sortFlag = g_sortFlag;
    listing.groups = g_groupMode != 0;
    listing.modbus = modbusSelected();
    listing.language = g_language;
    for (int c = 0; c < ParameterColumns; ++c) {
        const QTableWidgetItem *header = PartableWidget->horizontalHeaderItem(c);
        listing.headers << (header ? header->text() : QString());
    }
    const int rows = PartableWidget->rowCount();
    setProgressRange(rows);
    for (int r = 0; r < rows; ++r) {
        setProgress(r);
        if (!PartableWidget->item(r, PColumn) || PartableWidget->isRowHidden(r))
            continue;
        QStringList cells;
        for (int c = 0; c < ParameterColumns; ++c)
            cells << cellText(r, c);
        listing.rows << cells;
    }

    QString reason;
    const bool written = kind == TextEnding
        ? saveTextListing(path, listing, &reason)
        : saveWorkbookListing(path, listing, g_unitNames, tr("Comment 2"), tr("Modified"), &reason);
    if (!written) {
        cannotWrite(reason);
        return;
    }
    showProgress(false);
}

void CParameter::open()
{
    auto warn = [this](const QString &text) { warnAfterEarlierPresses(this, tr("Warning"), text); };
    const QString path
        = chooseFileAfterEarlierPresses(this, QFileDialog::AcceptOpen, tr("Open File"), saveStartFolder(),
            tr("XLS Files(*.xlsx);;TXT Files(*.txt)"));
    if (path.isEmpty())
        return;
    QTableWidget *table = PartableWidget;
    auto cannotRead = [&](const QString &reason) {
        warn(tr("Cannot read file %1:\n%2.").arg(path, reason));
        showProgress(false);
    };
    // Save writes an ending in any case, so it is read in any case.
    const QString kind = fileEnding(path);
    if (kind != WorkbookEnding && kind != TextEnding) {
        cannotRead(tr("Only names ending in .%1 or .%2 can be opened").arg(WorkbookEnding, TextEnding));
        return;
    }
    showProgress(true);
    auto typeMismatch = [&] {
        warn(tr("The INV type doesn't match ."));
        tableRows = table->rowCount();
        showProgress(false);
        VerifyParameter->setCurrentIndex(1);
    };
    const bool groups = g_groupMode != 0;

    ReadListing listing;
    QString reason;
    const ReadResult result = kind == WorkbookEnding
        ? readWorkbookListing(path, g_invType, groups, ParameterRows, &listing, &reason,
              [](int row, int lastRow) {
                  setProgressRange(lastRow);
                  setProgress(row);
              })
        : readTextListing(path, g_invType, groups, ParameterRows, &listing, &reason);
    if (result == ReadResult::CannotRead) {
        cannotRead(reason);
        return;
    }
    if (result == ReadResult::OtherDrive) {
        typeMismatch();
        return;
    }
    const QVector<QString> &stored = listing.values;
    Header &header = listing.header;
    acceptHeader(&header);
    const bool fromWorkbook = kind == WorkbookEnding;
    const int display = header.displayIndex;

    selectParaCombo->setCurrentIndex(display);
    selectPara(display == 1 ? 2 : display);
    QThread::msleep(100);
    tableRows = table->rowCount();
    if (display == 1)
        g_selectedRows.clear();

    QFont plain = table->font();
    plain.setBold(false);
    QFont bold = plain;
    bold.setBold(true);
    const int rows = fromWorkbook ? qMin(tableRows, table->rowCount()) : table->rowCount();
    for (int i = 0; i < rows; ++i) {
        QString label = cellText(i, PColumn);
        label.remove(QLatin1Char(' ')).remove(QLatin1String("P."));
        bool isNumber = false;
        const int number = label == QLatin1String("99X") ? ParamText::PseudoRow : label.toInt(&isNumber);
        const bool known = (isNumber || number == ParamText::PseudoRow) && number >= 0 && number < ParameterRows;
        const QString value = known ? stored.at(number) : QString();
        auto mark = [&](const QFont &font, const QColor &color) {
            for (int c = 0; c <= SettingColumn; ++c) {
                if (QTableWidgetItem *item = table->item(i, c)) {
                    item->setFont(font);
                    item->setForeground(color);
                }
            }
        };
        mark(plain, Qt::black);
        // The workbook reader underlines every row with help, the text reader only the rows it lists.
        const int helpNumber = known ? number : -1;
        if (fromWorkbook)
            underlineHelpCell(i, helpNumber);

        if (value.isEmpty()) {
            // What the list does not give must not be written with it.
            if (table->item(i, SettingColumn))
                setItemText(i, SettingColumn, QString());
            const bool undefined = cellText(i, NameColumn) == QLatin1String("--")
                && cellText(i, DefaultColumn) == QLatin1String("--");
            if (!fromWorkbook || display == 1 || undefined)
                table->hideRow(i);
            continue;
        }
        if (value == QLatin1String("--")) {
            setItemText(i, SettingColumn, QString());
        } else {
            setItemText(i, SettingColumn, value);
            if (differsFromDefault(value, stripUnit(cellText(i, DefaultColumn))))
                mark(bold, Qt::red);
        }
        underlineHelpCell(i, helpNumber);
        if (display == 1)
            g_selectedRows.append(i);
    }
    mySort(header.sortColumn);
    if (listing.lastRow >= 0)
        setProgress(listing.lastRow);
    showProgress(false);
    if (!listing.refused.isEmpty())
        warn(tr("These values were not loaded:\n%1").arg(listing.refused.join(QLatin1Char('\n'))));
    tableRows = table->rowCount();
    showComparison(CompareResult::DefaultVsSetting);
}
