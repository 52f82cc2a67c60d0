#include "parameter/parameterdefinitions.h"

#include "platform/textfiles.h"

#include <QFileDevice>
#include <QXmlStreamReader>

using namespace ParamText;

QStringList parameterRowTexts(const QString &group, const QString &number, const QString &name, const QString &range,
                              const QString &unit, const QString &defaultText, const QString &comment)
{
    const QString label = rowLabel(number);
    return { group, label, modbusText(number, label), name, range, QStringLiteral("--"), QStringLiteral("--"),
             unit, defaultText, QString(), QString(), comment };
}

ParameterGrid::ParameterGrid()
{
    reset();
}

void ParameterGrid::reset()
{
    const QString undefined = QStringLiteral("--");
    cells.resize(ParameterRows * ParameterColumns);
    for (int n = 0; n < ParameterRows; ++n) {
        const QStringList texts = parameterRowTexts(undefined, QString::number(n), undefined, undefined, undefined,
                                                    undefined, undefined);
        for (int c = 0; c < ParameterColumns; ++c)
            at(n, c) = texts.at(c);
    }
    defaultValues.fill(undefined, ParameterRows);
    attributes.fill(0, ParameterRows);
    readOnly.fill(0, ParameterRows);
    shownByGroup.fill(false, ParameterRows);
    definedCount = 0;
}

namespace {

enum class Kind { Group, Name, Range, Unit, Default, Writable, Other };

Kind kindOf(const QStringRef &name)
{
    if (name.contains(QLatin1String("Group")))
        return Kind::Group;
    if (name.contains(QLatin1String("Name")))
        return Kind::Name;
    if (name.contains(QLatin1String("Range")))
        return Kind::Range;
    if (name.contains(QLatin1String("Unit")))
        return Kind::Unit;
    if (name.contains(QLatin1String("Default")))
        return Kind::Default;
    if (name.contains(QLatin1String("Writable")))
        return Kind::Writable;
    return Kind::Other;
}

// No definition comes near this; a longer text would fill the table's cells without end.
bool overlongText(const QXmlStreamReader &xml, const QString &text)
{
    if (text.size() <= MaxDataNameChars)
        return false;
    const auto *file = qobject_cast<const QFileDevice *>(xml.device());
    reportDataLine(file ? file->fileName() : QString(), int(xml.lineNumber()),
        QStringLiteral("a text longer than %1 characters").arg(MaxDataNameChars));
    return true;
}

} // namespace

bool readParameterDefinitions(QIODevice *device, const DefinitionContext &context, ParameterGrid &grid)
{
    QXmlStreamReader xml(device);
    int row = -1; // set by Group (group-numbered reading) or Name; elements before it are ignored
    QVector<bool> touched(ParameterRows, false);
    auto mark = [&](int r) {
        if (!touched.at(r)) {
            touched[r] = true;
            ++grid.definedCount;
        }
    };

    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        const Kind kind = kindOf(xml.name());
        if (kind == Kind::Other)
            continue;
        QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        if (xml.hasError())
            break;
        if (overlongText(xml, text))
            continue;
        if (context.extended && !takeVersionPrefix(text, context.firmware))
            continue;

        switch (kind) {
        case Kind::Group: {
            if (!context.extended)
                break;
            row = elementNumber(name, 5);
            if (row < 0)
                break;
            grid.shownByGroup[row] = true;
            grid.at(row, 0) = text;
            if (text == QLatin1String("00-02"))
                grid.at(row, 1) = QStringLiteral("P.99X");
            mark(row);
            break;
        }
        case Kind::Name:
            if (!(context.extended && context.groupMode))
                row = elementNumber(name, 4);
            if (row < 0)
                break;
            grid.at(row, 3) = text;
            mark(row);
            break;
        case Kind::Range: {
            if (row < 0 || !voltageCodeMatches(name, context.voltageCode))
                break;
            const Range r = parseRange(pickVariant(text, context.capacity, context.reference));
            if (!r.valid)
                break;
            unsigned char &attr = grid.attributes[row];
            attr = r.isSigned ? (attr | AttrSigned) : (attr & ~AttrSigned);
            if (r.special)
                attr |= AttrSpecialValue;
            grid.at(row, 5) = r.min;
            grid.at(row, 6) = r.max;
            break;
        }
        case Kind::Unit: {
            if (!voltageCodeMatches(name, context.voltageCode))
                break;
            if (context.extended) {
                const int dash = name.indexOf(QLatin1Char('-'));
                row = elementNumber(dash < 0 ? name : name.left(dash), 4);
            }
            if (row < 0)
                break;
            const QString unit = pickVariant(text, context.capacity, context.reference);
            grid.at(row, 7) = unit;
            unsigned char &attr = grid.attributes[row];
            attr = (attr & ~AttrDecimalsMask) | static_cast<unsigned char>(unitDecimals(unit));
            break;
        }
        case Kind::Default: {
            if (row < 0 || !voltageCodeMatches(name, context.voltageCode))
                break;
            const QString value = pickVariant(text, context.capacity, context.reference);
            grid.at(row, 8) = value;
            grid.defaultValues[row] = value;
            if (context.extended && (value == QLatin1String("99999") || value == QLatin1String("9999")))
                grid.attributes[row] |= AttrSpecialValue;
            break;
        }
        case Kind::Writable:
            if (row < 0)
                break;
            grid.at(row, 11) = text;
            if (text.contains(QLatin1Char('-'))) {
                grid.readOnly[row] = 1;
                grid.attributes[row] |= AttrReadOnly;
            } else {
                grid.attributes[row] &= ~AttrReadOnly;
            }
            break;
        case Kind::Other:
            break;
        }
    }
    return !xml.hasError();
}

QVector<LocalizedText> readLocalizedTexts(QIODevice *device, const DefinitionContext &context)
{
    QVector<LocalizedText> texts;
    QXmlStreamReader xml(device);
    int number = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        int column = 0;
        if (name.contains(QLatin1String("Name")))
            column = 3;
        else if (name.contains(QLatin1String("Default")))
            column = 8;
        else if (name.contains(QLatin1String("Range")))
            column = -1;
        else if (name.contains(QLatin1String("Writable")))
            column = 11;
        else
            continue;
        QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        if (xml.hasError())
            break;
        if (overlongText(xml, text))
            continue;
        if (text.isEmpty() || column < 0 || !takeLocalizedVersionPrefix(text, context.firmware))
            continue;
        if (column == 3) {
            number = elementNumber(name, 4);
        } else if (column == 8) {
            if (!voltageCodeMatches(name, context.voltageCode))
                continue;
            text = pickVariant(text, context.capacity, context.reference);
        }
        texts.append({ number, column, text });
    }
    return texts;
}

QVector<CellEdit> walkLocalizedTexts(const QVector<int> &rowNumbers, const QVector<LocalizedText> &texts,
                                     bool *complete)
{
    QVector<CellEdit> edits;
    int cursor = 0;
    for (const LocalizedText &t : texts) {
        if (t.column == 3) {
            while (cursor < rowNumbers.size() && (t.number < 0 || rowNumbers.at(cursor) != t.number))
                ++cursor;
            if (cursor >= rowNumbers.size()) {
                if (complete)
                    *complete = false;
                return edits;
            }
            edits.append({ cursor, 3, t.text });
            ++cursor;
        } else if (cursor > 0) {
            edits.append({ cursor - 1, t.column, t.text });
        }
    }
    if (complete)
        *complete = true;
    return edits;
}

QString hideParameterVersionText(const QString &text, double firmware)
{
    const QStringList parts = text.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return text;
    const QStringList bounds = parts.at(0).split(QLatin1Char('-'));
    if (bounds.size() == 2 && versionInRange(bounds.at(0), bounds.at(1), firmware))
        return parts.at(1);
    return QString();
}

void appendHideParameters(QXmlStreamReader &reader, double firmware, QList<QStringList> &list)
{
    QString label, defaultText, unit;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringRef name = reader.name();
        if (name.contains(QLatin1String("Pr"))) {
            label = QStringLiteral("P.") + name.mid(2).toString();
        } else if (name.contains(QLatin1String("DefaultValue"))) {
            defaultText = hideParameterVersionText(reader.readElementText(), firmware);
        } else if (name.contains(QLatin1String("Unit"))) {
            unit = hideParameterVersionText(reader.readElementText(), firmware);
            if (!unit.isEmpty() && !defaultText.isEmpty())
                list.append({ label, defaultText, unit });
        }
    }
}
