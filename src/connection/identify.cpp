#include "connection/identify.h"

#include "comm/globals.h"
#include "connection/settype.h"
#include "platform/appstate.h"
#include "platform/paths.h"
#include "platform/textfiles.h"

#include <QFile>

namespace {

const QString Unidentified = QStringLiteral("---");

struct Series {
    const char *name;
    char letter;
    int capacityOffset;
};

// The tree of probes for drives that report no type code: each probe reads one parameter and
// either names the next probe or ends with a series.
struct Probe {
    int number;
    int onAnswer; // index of the next probe, or -1 - index into the series table
    int onFailure;
};

const Series ProbedSeries[] = {
    { "VP-GT", 'L', 3 },   // 0
    { "VM2", 'X', 1 },     // 1
    { "VP/VP-G", 'G', 5 }, // 2
    { "VK2", 'T', 1 },     // 3
    { "ZR3", 'K', 1 },     // 4
    { "VT3", 'Y', 1 },     // 5, offset only for the 400 V class
    { "VM3", 'D', 1 },     // 6
    { "VR3-L", 'M', 2 },   // 7
    { "VR3", 'A', 2 },     // 8
    { "VP3", 'I', 5 },     // 9
};

constexpr int Series(int index) { return -1 - index; }
constexpr int NoSeries = -100;

const Probe Probes[] = {
    { 990, 5, 1 },                       // 0
    { 500, Series(0), 2 },               // 1 first branch
    { 300, 3, NoSeries },                // 2
    { 125, Series(1), 4 },               // 3
    { 350, Series(2), Series(3) },       // 4
    { 500, 7, 6 },                       // 5 second branch
    { 76, Series(4), Series(5) },        // 6
    { 991, Series(6), 8 },               // 7
    { 186, 9, Series(7) },               // 8
    { 584, Series(8), Series(9) },       // 9
};

// The reads of one identification: once one goes unanswered the drive has stopped answering,
// and nothing it did not say may steer the rest.
class Asking {
public:
    explicit Asking(const DriveReads &reads) : m_reads(reads) {}

    double parameter(int number, double unit)
    {
        return m_silent ? -1.0 : heard(m_reads.readPar(number, unit));
    }
    int typeCode() { return m_silent ? -1 : int(heard(m_reads.readTypeCode())); }
    bool silent() const { return m_silent; }

private:
    double heard(double value)
    {
        if (value == -1.0 && m_reads.lastAnswered && !m_reads.lastAnswered())
            m_silent = true;
        return value;
    }

    const DriveReads &m_reads;
    bool m_silent = false;
};

// Walks the probe tree; answers the index into ProbedSeries, or -1 when nothing matched.
int probeSeries(Asking &ask)
{
    int next = 0;
    for (;;) {
        const Probe &probe = Probes[next];
        const double unit = probe.number == 76 ? 0.01 : 1.0;
        next = ask.parameter(probe.number, unit) != -1.0 ? probe.onAnswer : probe.onFailure;
        if (ask.silent() || next == NoSeries)
            return -1;
        if (next < 0)
            return -1 - next;
    }
}

QString probedVoltage(int voltageClass, const QString &name)
{
    const bool lowVoltage = name == QLatin1String("VP/VP-G") || name == QLatin1String("VP-GT");
    switch (voltageClass) {
    case 1:
        return QStringLiteral("021");
    case 2:
        return lowVoltage ? QStringLiteral("020") : QStringLiteral("023");
    case 3:
        return lowVoltage ? QStringLiteral("040") : QStringLiteral("043");
    default:
        return Unidentified;
    }
}

} // namespace

QString invTypeFilePath()
{
    return localPath(g_appDir + QStringLiteral("ParameterInforamtion\\InvType\\InvType.txt"));
}

QString composeTypeText(const QString &type, const QString &capacity)
{
    const QStringList parts = type.split(QLatin1Char('-'), Qt::SkipEmptyParts);
    // The three-part rules need three parts; a shorter type falls back to the plain join.
    if (parts.size() >= 3 && parts.at(1).contains(QLatin1Char('G'))) {
        const QString name = parts.at(0).section(QLatin1Char('/'), 0, 0);
        QString k = capacity;
        k.remove(QStringLiteral("-G"));
        return name + '-' + parts.at(1) + '-' + parts.at(2) + '-' + k;
    }
    if (parts.size() > 2)
        return parts.at(0) + '-' + parts.at(1) + '-' + parts.at(2) + '-' + capacity;
    return type + '-' + capacity;
}

QString capacityText(const QString &type, int code, bool *found)
{
    *found = false;
    bool ok = false;
    const QStringList lines = readMgrLines(&ok);
    if (!ok)
        return type;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList header = mgrHeaderPieces(lines.at(i));
        if (header.isEmpty() || header.first() != type)
            continue;
        const QStringList pieces = i + 1 < lines.size() ? mgrEntryPieces(lines.at(i + 1)) : QStringList();
        if (pieces.size() > 1 && pieces.first() == QLatin1String("POWER") && code > 0 && code < pieces.size()) {
            *found = true;
            return pieces.at(code);
        }
        return Unidentified;
    }
    return type;
}

QString pictureName(const QString &typeText)
{
    const QStringList parts = typeText.split(QLatin1Char('-'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QString();
    if (parts.size() > 1 && (parts.at(1) == QLatin1String("G") || parts.at(1) == QLatin1String("GT")))
        return parts.at(0) + '-' + parts.at(1);
    return parts.at(0);
}

namespace {

QString identify(Asking &ask, const std::function<void(const QString &, const QString &)> &cannotRead)
{
    g_modelCode = QStringLiteral("0");
    const double p90 = ask.parameter(90, 1.0);
    if (p90 == -1.0)
        return Unidentified;
    const int p = static_cast<int>(p90);
    const int voltageClass = p / 100;
    int capacity = p % 100;
    g_modelCode = QString::number(p / 1000);

    QString voltage;
    const int typeCode = ask.typeCode();
    if (typeCode == 0 || ask.silent())
        return Unidentified;
    if (typeCode == -1) {
        const int found = probeSeries(ask);
        if (found < 0)
            return Unidentified;
        const auto &series = ProbedSeries[found];
        g_seriesLetter = series.letter;
        g_modelName = QString::fromLatin1(series.name);
        voltage = probedVoltage(voltageClass, g_modelName);
        if (found != 5 || voltageClass == 3)
            capacity -= series.capacityOffset;
    } else {
        bool ok = false;
        bool matched = false;
        const QStringList lines = readDataLines(invTypeFilePath(), gbkCodec(), &ok);
        if (!ok) {
            if (cannotRead) {
                QFile file(invTypeFilePath());
                file.open(QIODevice::ReadOnly);
                cannotRead(invTypeFilePath(), file.errorString());
            }
        }
        for (const QString &line : lines) {
            const QStringList fields = line.split(QStringLiteral("//"), Qt::SkipEmptyParts);
            if (fields.size() < 6 || fields.at(5).toInt() != typeCode)
                continue;
            g_invTypeFields = fields;
            // Type code 13 is shared; a drive of series A answers P.186, the other series does not.
            if (typeCode == 13 && ask.parameter(186, 1.0) == -1.0 && fields.at(0) == QLatin1String("A")) {
                if (ask.silent())
                    return Unidentified;
                continue;
            }
            g_seriesLetter = fields.at(0).isEmpty() ? '0' : fields.at(0).at(0).toLatin1();
            g_modelName = fields.at(1);
            g_firmwareVersion = fields.at(2);
            g_parameterCount = fields.at(3).toInt();
            g_groupMode = fields.at(4).toInt();
            // A line may not list a cell for every voltage class P.90 can name.
            if (voltageClass <= 0 || 5 + voltageClass >= fields.size())
                return Unidentified;
            const QStringList cell = fields.at(5 + voltageClass).split(QLatin1Char('-'), Qt::SkipEmptyParts);
            if (cell.size() < 2)
                return Unidentified;
            voltage = cell.at(0);
            capacity -= cell.at(1).toInt();
            matched = true;
            break;
        }
        // A code that no line names would otherwise leave the previous drive's model name in force.
        if (!matched)
            return Unidentified;
    }

    const QString type = g_modelName + '-' + voltage;
    bool found = false;
    const QString answer = capacityText(type, capacity, &found);
    if (!found)
        return answer;
    return composeTypeText(type, answer);
}

} // namespace

QString identifyDrive(const DriveReads &reads, const std::function<void(const QString &, const QString &)> &cannotRead,
                      bool *silent)
{
    Asking ask(reads);
    const QString answer = identify(ask, cannotRead);
    if (silent)
        *silent = ask.silent();
    return ask.silent() ? Unidentified : answer;
}
