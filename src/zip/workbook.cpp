#include "zip/workbook.h"

#include "platform/filesave.h"
#include "zip/ziparchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace
{

QString tr(const char *text)
{
    return QCoreApplication::translate("Workbook", text);
}

const QString DefaultSheetName = QStringLiteral("Sheet1");

// Far beyond any parameter list or trend export (an hour's trend of eight channels is under two
// million cells), and small enough that a crafted workbook cannot take the machine's memory.
constexpr qint64 MaxSmallPartBytes = 16 << 20; // relationships, the workbook part
constexpr qint64 MaxSharedStringsBytes = 64 << 20;
constexpr qint64 MaxSheetBytes = 128 << 20;
constexpr int MaxSheetCells = 2000000;

lxw_color_t toLxw(const QColor &color)
{
    return lxw_color_t((color.red() << 16) | (color.green() << 8) | color.blue());
}

// ---- Reading helpers ----

QString partDirectory(const QString &part)
{
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash + 1);
}

// A relationship target is relative to the folder of the part that names it, or absolute from the root.
QString resolvePart(const QString &baseDirectory, const QString &target)
{
    if (target.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(target.mid(1));
    return QDir::cleanPath(baseDirectory + target);
}

struct Relationship {
    QString type;
    QString target;
};

QMap<QString, Relationship> readRelationships(const QByteArray &xml)
{
    QMap<QString, Relationship> result;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("Relationship")) {
            const QXmlStreamAttributes a = reader.attributes();
            result.insert(a.value(QLatin1String("Id")).toString(),
                { a.value(QLatin1String("Type")).toString(), a.value(QLatin1String("Target")).toString() });
        }
    }
    return result;
}

// The text of a shared or inline string: its <t> elements, leaving out phonetic runs.
QString readStringItem(QXmlStreamReader &reader)
{
    const QString element = reader.name().toString();
    QString text;
    int phonetic = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (reader.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (reader.name() == QLatin1String("t") && phonetic == 0)
                text += reader.readElementText();
        } else if (reader.isEndElement()) {
            if (reader.name() == QLatin1String("rPh"))
                --phonetic;
            else if (reader.name() == element)
                break;
        }
    }
    return text;
}

// "C12" into its column and row; a reference without a row gives only the column.
bool parseCellName(const QStringRef &name, int *row, int *column)
{
    int i = 0;
    int c = 0;
    while (i < name.size() && name.at(i).isLetter()) {
        const ushort u = name.at(i).toUpper().unicode();
        if (u < 'A' || u > 'Z')
            return false;
        c = c * 26 + (u - 'A' + 1);
        if (c > Workbook::MaxColumns)
            return false;
        ++i;
    }
    bool ok = false;
    const int r = name.mid(i).toInt(&ok);
    if (i == 0 || !ok || r < 1 || r > Workbook::MaxRows)
        return false;
    *row = r;
    *column = c;
    return true;
}

QString numberText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

Workbook::Workbook()
{
    close();
}

void Workbook::close()
{
    m_sheetName = DefaultSheetName;
    m_cells.clear();
    m_columnWidths.clear();
    m_autoFilter.clear();
}

bool Workbook::fail(const QString &reason)
{
    m_error = reason;
    return false;
}

bool Workbook::checkCell(int row, int column)
{
    if (row < 1 || row > MaxRows || column < 1 || column > MaxColumns)
        return fail(tr("There is no cell at row %1, column %2").arg(row).arg(column));
    return true;
}

Workbook::Cell *Workbook::cellAt(int row, int column)
{
    return &m_cells[key(row, column)];
}

bool Workbook::setSheetName(const QString &name)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
    if (name.isEmpty() || name.size() > 31 || name.contains(forbidden) || name.startsWith(QLatin1Char('\''))
        || name.endsWith(QLatin1Char('\'')))
        return fail(tr("\"%1\" cannot name a sheet").arg(name));
    m_sheetName = name;
    return true;
}

bool Workbook::setValue(int row, int column, const QVariant &value)
{
    if (!checkCell(row, column))
        return false;
    QVariant stored;
    switch (value.userType()) {
    case QMetaType::UnknownType:
        break;
    case QMetaType::Bool:
        stored = value.toBool();
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        stored = value.toDouble();
        break;
    default: {
        if (!value.canConvert<QString>())
            return fail(tr("A value of type %1 cannot be put in a cell").arg(QString::fromLatin1(value.typeName())));
        QString text = value.toString();
        if (text.startsWith(QLatin1Char('\'')))
            text.remove(0, 1);
        if (text.size() > 32767)
            return fail(tr("A cell holds at most 32767 characters"));
        if (!text.isEmpty())
            stored = text;
        break;
    }
    }
    cellAt(row, column)->value = stored;
    return true;
}

QVariant Workbook::value(int row, int column) const
{
    if (row < 1 || row > MaxRows || column < 1 || column > MaxColumns)
        return QVariant();
    const auto it = m_cells.constFind(key(row, column));
    return it == m_cells.constEnd() ? QVariant() : it->value;
}

QString Workbook::text(int row, int column) const
{
    const QVariant v = value(row, column);
    if (v.userType() == QMetaType::Double)
        return numberText(v.toDouble());
    return v.toString();
}

bool Workbook::setInteriorColor(int row, int column, const QColor &color)
{
    if (!checkCell(row, column))
        return false;
    if (!color.isValid())
        return fail(tr("Invalid colour"));
    cellAt(row, column)->fill = color;
    return true;
}

bool Workbook::setColumnWidth(int column, double width)
{
    if (!checkCell(1, column))
        return false;
    if (!(width >= 0 && width <= 255))
        return fail(tr("A column is 0 to 255 characters wide"));
    m_columnWidths.insert(column, width);
    return true;
}

bool Workbook::setFont(const QString &range, const QColor &color, bool bold)
{
    WorkbookRange r;
    if (!parseRange(range, &r))
        return fail(tr("\"%1\" is no range").arg(range));
    if (!color.isValid())
        return fail(tr("Invalid colour"));
    for (int row = r.row; row < r.row + r.rowCount; ++row) {
        for (int column = r.column; column < r.column + r.columnCount; ++column) {
            Cell *cell = cellAt(row, column);
            cell->fontColor = color;
            cell->bold = bold;
        }
    }
    return true;
}

bool Workbook::setAutoFilter(const QString &range)
{
    WorkbookRange r;
    if (!parseRange(range, &r))
        return fail(tr("\"%1\" is no range").arg(range));
    m_autoFilter = range;
    return true;
}

WorkbookRange Workbook::usedRange() const
{
    if (m_cells.isEmpty())
        return {};
    int top = MaxRows, left = MaxColumns, bottom = 1, right = 1;
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it) {
        const int row = rowOf(it.key());
        const int column = columnOf(it.key());
        top = qMin(top, row);
        bottom = qMax(bottom, row);
        left = qMin(left, column);
        right = qMax(right, column);
    }
    return { top, left, bottom - top + 1, right - left + 1 };
}

QVector<int> Workbook::rows() const
{
    QVector<int> out;
    out.reserve(m_cells.size());
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it)
        out.append(rowOf(it.key()));
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

QString Workbook::columnName(int column)
{
    QString name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.prepend(QChar('A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

QString Workbook::cellName(int row, int column)
{
    return columnName(column) + QString::number(row);
}

bool Workbook::parseRange(const QString &range, WorkbookRange *result)
{
    const QVector<QStringRef> ends = range.splitRef(QLatin1Char(':'));
    if (ends.size() > 2)
        return false;
    int r1 = 0, c1 = 0;
    if (!parseCellName(ends.first(), &r1, &c1))
        return false;
    int r2 = r1, c2 = c1;
    if (ends.size() == 2 && !parseCellName(ends.at(1), &r2, &c2))
        return false;
    *result = { qMin(r1, r2), qMin(c1, c2), qAbs(r2 - r1) + 1, qAbs(c2 - c1) + 1 };
    return true;
}

// ---- Saving ----

bool Workbook::saveAs(const QString &path)
{
    m_error.clear();
    // The library writes only to a file of its own; that file is a scratch copy, and the target is
    // replaced from it as every saved file is.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(scratch.errorString());
    const QString built = scratch.filePath(QStringLiteral("book.xlsx"));
    if (!writeFile(built))
        return false;
    QFile file(built);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    QString reason;
    if (!saveFile(path, file.readAll(), &reason))
        return fail(reason);
    return true;
}

bool Workbook::writeFile(const QString &path)
{
    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook *book = workbook_new(fileName.constData());
    if (!book)
        return fail(tr("Out of memory"));
    lxw_worksheet *sheet = workbook_add_worksheet(book, m_sheetName.toUtf8().constData());
    lxw_error error = sheet ? LXW_NO_ERROR : LXW_ERROR_PARAMETER_VALIDATION;

    // One format per distinct look; cells without any keep the default.
    QMap<QString, lxw_format *> formats;
    auto formatFor = [&](const Cell &cell) -> lxw_format * {
        if (!cell.fill.isValid() && !cell.fontColor.isValid() && !cell.bold)
            return nullptr;
        const QString id = QStringLiteral("%1/%2/%3")
                               .arg(cell.fill.isValid() ? cell.fill.name() : QString())
                               .arg(cell.fontColor.isValid() ? cell.fontColor.name() : QString())
                               .arg(cell.bold);
        lxw_format *&format = formats[id];
        if (!format) {
            format = workbook_add_format(book);
            if (cell.fill.isValid()) {
                format_set_pattern(format, LXW_PATTERN_SOLID);
                format_set_bg_color(format, toLxw(cell.fill));
            }
            if (cell.fontColor.isValid())
                format_set_font_color(format, toLxw(cell.fontColor));
            if (cell.bold)
                format_set_bold(format);
        }
        return format;
    };

    for (auto it = m_cells.constBegin(); sheet && error == LXW_NO_ERROR && it != m_cells.constEnd(); ++it) {
        const lxw_row_t row = lxw_row_t(rowOf(it.key()) - 1);
        const lxw_col_t column = lxw_col_t(columnOf(it.key()) - 1);
        lxw_format *format = formatFor(*it);
        const QVariant &v = it->value;
        switch (v.userType()) {
        case QMetaType::Double:
            error = worksheet_write_number(sheet, row, column, v.toDouble(), format);
            break;
        case QMetaType::Bool:
            error = worksheet_write_boolean(sheet, row, column, v.toBool(), format);
            break;
        case QMetaType::QString:
            error = worksheet_write_string(sheet, row, column, v.toString().toUtf8().constData(), format);
            break;
        default:
            if (format)
                error = worksheet_write_blank(sheet, row, column, format);
            break;
        }
    }
    for (auto it = m_columnWidths.constBegin(); sheet && error == LXW_NO_ERROR && it != m_columnWidths.constEnd(); ++it)
        error = worksheet_set_column(sheet, lxw_col_t(it.key() - 1), lxw_col_t(it.key() - 1), it.value(), nullptr);
    WorkbookRange filter;
    if (sheet && error == LXW_NO_ERROR && parseRange(m_autoFilter, &filter))
        error = worksheet_autofilter(sheet, lxw_row_t(filter.row - 1), lxw_col_t(filter.column - 1),
            lxw_row_t(filter.row + filter.rowCount - 2), lxw_col_t(filter.column + filter.columnCount - 2));

    // The library writes the file only here; a failed write of any part of it shows in this result.
    errno = 0;
    const lxw_error closed = workbook_close(book);
    const int closeErrno = errno;
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error == LXW_NO_ERROR)
        return true;
    QString reason = QString::fromUtf8(lxw_strerror(error));
    if (closed != LXW_NO_ERROR && closeErrno != 0)
        reason += QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(closeErrno)) + QLatin1Char(')');
    return fail(reason);
}

// ---- Opening ----

bool Workbook::open(const QString &path)
{
    close();
    m_error.clear();
    if (readFile(path))
        return true;
    close();
    return false;
}

bool Workbook::readFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return fail(QFileInfo::exists(path) ? tr("It is not a regular file") : tr("No such file"));
    ZipArchiveReader zip;
    if (zip.openFile(path) != ZipOk)
        return fail(tr("It is not a workbook"));
    auto part = [&zip](const QString &name, QByteArray *data) {
        return zip.read(name, data, true, MaxSmallPartBytes) == ZipOk;
    };
    ZipResult streamResult = ZipOk;

    QByteArray xml;
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    if (part(QStringLiteral("_rels/.rels"), &xml)) {
        for (const Relationship &r : readRelationships(xml)) {
            if (r.type.endsWith(QLatin1String("/officeDocument"))) {
                workbookPart = resolvePart(QString(), r.target);
                break;
            }
        }
    }
    if (!part(workbookPart, &xml))
        return fail(tr("It is not a workbook"));

    QString sheetId;
    {
        QXmlStreamReader reader(xml);
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("sheet")) {
                for (const QXmlStreamAttribute &a : reader.attributes()) {
                    if (a.name() == QLatin1String("name") && a.namespaceUri().isEmpty())
                        m_sheetName = a.value().toString();
                    else if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                        sheetId = a.value().toString();
                }
                break;
            }
        }
        if (sheetId.isEmpty())
            return fail(tr("The workbook has no sheet"));
    }

    const QString directory = partDirectory(workbookPart);
    const QString relsPart
        = directory + QStringLiteral("_rels/") + workbookPart.mid(directory.size()) + QStringLiteral(".rels");
    if (!part(relsPart, &xml))
        return fail(tr("The workbook has no sheet"));
    const QMap<QString, Relationship> relationships = readRelationships(xml);
    if (!relationships.contains(sheetId))
        return fail(tr("The workbook has no sheet"));
    const QString sheetPart = resolvePart(directory, relationships.value(sheetId).target);

    QStringList shared;
    for (const Relationship &r : relationships) {
        if (!r.type.endsWith(QLatin1String("/sharedStrings")))
            continue;
        const std::unique_ptr<QIODevice> strings
            = zip.openStream(resolvePart(directory, r.target), &streamResult, true, MaxSharedStringsBytes);
        if (streamResult == ZipNoMemory)
            return fail(tr("The workbook is too large"));
        if (!strings)
            return fail(tr("The workbook's shared strings are missing"));
        QXmlStreamReader reader(strings.get());
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("si"))
                shared.append(readStringItem(reader));
        }
        if (reader.hasError())
            return fail(tr("The workbook's shared strings are damaged"));
        break;
    }

    // The sheet is parsed as it is inflated, never held whole.
    const std::unique_ptr<QIODevice> sheet = zip.openStream(sheetPart, &streamResult, true, MaxSheetBytes);
    if (streamResult == ZipNoMemory)
        return fail(tr("The workbook is too large"));
    if (!sheet)
        return fail(tr("The workbook's first sheet is missing"));
    QXmlStreamReader reader(sheet.get());
    int row = 0;
    int column = 0;
    int cells = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("row")) {
            bool ok = false;
            const int r = reader.attributes().value(QLatin1String("r")).toInt(&ok);
            row = ok ? r : row + 1;
            column = 0;
            if (row < 1 || row > MaxRows)
                return fail(tr("The first sheet is damaged"));
            continue;
        }
        if (reader.name() != QLatin1String("c"))
            continue;
        if (++cells > MaxSheetCells)
            return fail(tr("The workbook is too large"));
        const QXmlStreamAttributes attributes = reader.attributes();
        const QStringRef reference = attributes.value(QLatin1String("r"));
        if (!reference.isEmpty()) {
            int r = 0;
            if (!parseCellName(reference, &r, &column))
                return fail(tr("The first sheet is damaged"));
            row = r;
        } else {
            if (row < 1)
                row = 1;
            if (++column > MaxColumns)
                return fail(tr("The first sheet is damaged"));
        }
        const QString type = attributes.value(QLatin1String("t")).toString();
        QString raw;
        QString inlineText;
        bool hasRaw = false;
        bool hasInline = false;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isEndElement() && reader.name() == QLatin1String("c"))
                break;
            if (!reader.isStartElement())
                continue;
            if (reader.name() == QLatin1String("v")) {
                raw = reader.readElementText();
                hasRaw = true;
            } else if (reader.name() == QLatin1String("is")) {
                inlineText = readStringItem(reader);
                hasInline = true;
            }
        }
        QVariant v;
        if (type == QLatin1String("s")) {
            bool ok = false;
            const int index = raw.trimmed().toInt(&ok);
            if (hasRaw && (!ok || index < 0 || index >= shared.size()))
                return fail(tr("The first sheet is damaged"));
            if (hasRaw)
                v = shared.at(index);
        } else if (type == QLatin1String("inlineStr")) {
            if (hasInline)
                v = inlineText;
        } else if (type == QLatin1String("b")) {
            if (hasRaw)
                v = raw.trimmed() == QLatin1String("1");
        } else if (type == QLatin1String("str") || type == QLatin1String("e")) {
            if (hasRaw)
                v = raw;
        } else if (hasRaw && !raw.trimmed().isEmpty()) {
            bool ok = false;
            const double d = raw.trimmed().toDouble(&ok);
            if (!ok)
                return fail(tr("The first sheet is damaged"));
            v = d;
        }
        if (v.userType() == QMetaType::QString && v.toString().isEmpty())
            v = QVariant();
        cellAt(row, column)->value = v;
    }
    if (reader.hasError())
        return fail(tr("The first sheet is damaged"));
    return true;
}
