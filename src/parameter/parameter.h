#pragma once

// The parameter form: the table of the connected drive's parameters, its display modes, sorting,
// help popup and clearing, and the loading of the definitions into the table.

#include "parameter/paramglobals.h"
#include "shell/drivemodestate.h"
#include "ui_parameterform.h"

#include <QList>
#include <QModelIndex>
#include <QStringList>
#include <QWidget>

class QProgressDialog;
class QXmlStreamReader;
class CompareResult;
class CSelPar;
class ParInformation;
struct DefinitionContext;
struct ParameterGrid;

class CParameter : public QWidget, public Ui_ParameterForm {
    Q_OBJECT
public:
    explicit CParameter(QWidget *parent = nullptr);
    ~CParameter() override;

    // During a connection test every read the load makes gets every try, and the look-ups a failed
    // read turned off are on again. False when one of those reads went unanswered: the table is then
    // left empty rather than filled with the fallbacks, and the test fails.
    bool loadParameterTable();
    void createRow(QString group, QString number, QString name, QString range, QString unit, QString defaultText,
                   QString comment, int row);
    QString pickVariant(QString text, QString capacity);
    void loadRelatedUnits();
    // After the selector was written: the rows it governs show the range, unit and default its new
    // value selects, without a reload of the table.
    void resolveGovernedRows(int selector, const QString &written);
    void loadLocalizedNames();
    void languageChange();

    void loadHideParameters();
    void parseHideParameterXml(QXmlStreamReader &reader);
    void readRelatedSelectors();
    bool readParameterAsText(int parameter);
    double scaleExponent(int parameter, QString unit);
    QString stripUnit(QString text);
    void loadCurrentValues(QXmlStreamReader &reader);

    // The comparison after a batch read (mode 0 or 2) and after opening a list (mode 1): the comparison
    // combo takes the mode, then the dialog lists and shows the differing rows.
    void showComparison(int mode);

    // The column whose cell carries a parameter's help: the group cell, or the number where groups are hidden.
    int helpColumn() const;

    // Text of a cell; empty when the row or its item does not exist (the form's rows start without items).
    QString cellText(int row, int column) const;

    // The parameter's value as read from the drive with the table's scaling; -1.0 when the read
    // failed. `ok` tells a failure from a value of -1, which signed parameters can hold.
    double readParValue(int parameter, bool *ok = nullptr);
    // Converts and writes one value; true when the drive took it.
    bool writeParValue(int parameter, QString value, QString resolution);
    // The register value of a value text, or ValueText::NoResolution, OutOfRange or NotANumber;
    // the two refusals of the value itself are shown unless a batch transfer runs.
    int toRawValue(int parameter, QString value, QString resolution);
    int decimalsOf(QString resolution);
    bool readResolutionSetting();
    // The resolution Write sends a value in: the unit a selector (P.21, P.187) gives the parameter
    // now, else `unit` (a row's "--" taken from the drive or the value's decimals).
    QString writeResolution(int parameter, const QString &unit, const QString &value);

    // Units a selector gives, when the drive refused or left unanswered the selector's read at the
    // load: such a unit is a guess, so it is shown as unknown and nothing is written in it.
    // The selector whose unread value gives the parameter its unit; -1 when its unit is known.
    int unreadSelectorOf(int parameter) const;
    // The selector (P.21, P.187) whose value gives the parameter its unit; -1 when none does.
    int selectorOf(int parameter) const;
    // Reads the selector now; its rows take the unit it gives, or show it unknown when the read
    // failed. `heldBack`, when given, stands under the read's refusal.
    bool readUnitNow(int selector, const QString &heldBack = QString());
    // The line a refusal or a box shows for the writes ("P.1, P.3") left undone because of it.
    static QString unreadUnitText(const QString &parameters, int selector);
    // The same under a single Read's refusal.
    static QString unreadValueText(int parameter, int selector);

    CompareResult *compareResult = nullptr;
    ParInformation *parInformation = nullptr;
    CSelPar *selectDialog = nullptr;
    int tableRows = ParameterRows;
    QList<QStringList> hideParameterList;
    QString defaultValues[ParameterRows];
    unsigned char attributes[ParameterRows] = {};
    bool readBackAfterWrite = false;
    int highestParameter = 1299;
    bool writeAllFromButton = false;
    bool writeMode = false;    // direction of decimalsOf: false reading, true writing
    int resolutionFactor = -1;

public slots:
    void showAll();
    void CallIndexDialog();
    void ReadAllPar();
    void WriteAllPar();
    void ReadSinglePar();
    void WriteSinglePar();
    void ClearCurrentVal();
    void ClearSettingVal();
    void Execute996();
    void Execute997();
    void Execute998();
    void Execute999();
    void WriteAllParClicked();
    void save();
    void open();
    void selectPara(int mode);
    void tableHide();
    void mySort(int column);
    void showDifferentPar();
    void ShowTooltip(QModelIndex index);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Shows the window-modal progress of a batch transfer; it stays open until the batch closes it.
    void showTransferProgress(QProgressDialog &progress, const QString &title);
    void loadTable();
    QString definitionFileName() const;
    DefinitionContext definitionContext();
    void fillTableFromGrid(const ParameterGrid &grid);
    void finishLoading();
    void localizedNamesPass(bool mayResort);
    void clearValueColumn(int column);
    void applyListRule900(); // rows 900 to 999 of group-numbered types below 900 ordinary rows
    QString referenceValue(int parameter);
    bool loadingMayRead() const;
    double readForLoading(int parameter, double scale);
    bool m_loadUnanswered = false; // a read of this test's load went unanswered: ask nothing more
    QVector<bool> m_selectorUnread = QVector<bool>(ParameterRows); // its value at the load is a guess
    void showUnreadUnits();
    void selectorKnown(int selector);
    QString localizedFileName() const;
    QString modelInfix() const;
    int parameterOfRow(int row) const;
    bool hasHelp(int parameter) const;
    void underlineHelpCell(int row, int parameter);
    bool modbusColumnShown() const;
    void setItemText(int row, int column, const QString &text);

    // Transfers
    bool linkReady();
    // The dock's CU rule for the form's writes, which asks the drive a mode the dock does not know.
    DriveModeState::Go modeRuleForWrite();
    unsigned char attributeOf(int parameter) const;
    double readFromDrive(int parameter, double scale, bool *ok);
    QString probeResolution(int parameter);
    int rowOfLabel(int parameter) const;
    void setRowMarked(int row, bool marked);
    void sortByNumber();
    void markAfterRead(int row, const QString &text);
    void runPseudoRowCommand(const QString &value, bool emptyIsRefused);
    bool executeCommand(const char *code, const QString &firstLine);
    // True once the command went out; refused aloud when the link is given up.
    bool sendRestartCommand(const char *code);
    int batchWriteBox(const QString &text, bool offerContinue = false);
    bool readBeforeBatchWrite(int parameter, double scale, QString *text);
    bool batchWriteChecks();
    bool writtenAsSelector(int parameter) const;
    bool batchWriteHasWork(const QVector<bool> &deferred) const;
};
