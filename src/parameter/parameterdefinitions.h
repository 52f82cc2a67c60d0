#pragma once

// Reading of the parameter definition files and their localized twins into plain data, so the
// rules can run without a window; CParameter moves the result into its table.

#include "parameter/paramglobals.h"
#include "parameter/paramtext.h"

#include <QVector>

class QIODevice;
class QXmlStreamReader;

// Column texts of one freshly built row.
QStringList parameterRowTexts(const QString &group, const QString &number, const QString &name, const QString &range,
                              const QString &unit, const QString &defaultText, const QString &comment);

// The table as loading builds it: 1600 rows in parameter order.
struct ParameterGrid {
    QVector<QString> cells;
    QVector<QString> defaultValues;
    QVector<unsigned char> attributes;
    QVector<int> readOnly;
    QVector<bool> shownByGroup; // rows a Group element showed
    int definedCount = 0;        // rows that received a definition element

    ParameterGrid();
    void reset(); // placeholder rows: "--" texts, default "--", attribute 0
    QString &at(int row, int column) { return cells[row * ParameterColumns + column]; }
    const QString &at(int row, int column) const { return cells.at(row * ParameterColumns + column); }
};

struct DefinitionContext {
    bool extended = false;  // group-numbered types and those whose files carry version prefixes
    bool groupMode = false;
    double firmware = 0.0;
    QString capacity;       // g_variantSelectorA
    QString voltageCode;    // g_variantSelectorB
    ParamText::ReferenceLookup reference;
};

// Reads the definitions until the end of the document or the first XML error; what was read stays.
// Returns false on an XML error.
bool readParameterDefinitions(QIODevice *device, const DefinitionContext &context, ParameterGrid &grid);

// One localized text: the parameter number it belongs to (-1: none), the column (3, 8, 11), the text.
struct LocalizedText {
    int number = -1;
    int column = 0;
    QString text;
};
QVector<LocalizedText> readLocalizedTexts(QIODevice *device, const DefinitionContext &context);

struct CellEdit {
    int row;
    int column;
    QString text;
};
// The walk of the non-group types: a cursor moves down the table's rows (given as their parameter
// numbers, -1 for a row without label) to each Name; Default and Writable texts go to the row of the
// last Name. Stops at a Name that is not found below the cursor; *complete tells whether it did.
QVector<CellEdit> walkLocalizedTexts(const QVector<int> &rowNumbers, const QVector<LocalizedText> &texts,
                                     bool *complete);

// Rows [label, default, unit] of a hidden-parameter file; the reader stands inside the root element.
void appendHideParameters(QXmlStreamReader &reader, double firmware, QList<QStringList> &list);
// The version rule of the hidden-parameter texts: "from-to\\value", value only when the range holds.
QString hideParameterVersionText(const QString &text, double firmware);
