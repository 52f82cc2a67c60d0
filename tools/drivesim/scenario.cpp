#include "scenario.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <cmath>

bool ParamDef::admits(quint16 value) const
{
    const int v = isSigned ? int(qint16(value)) : int(value);
    if (ranges.isEmpty())
        return true;
    for (const auto &r : ranges)
        if (v >= r.first && v <= r.second)
            return true;
    return false;
}

QString LineSettings::text() const
{
    return QStringLiteral("baud=%1 data=%2 parity=%3 stop=%4").arg(baud).arg(data).arg(QChar(parity)).arg(stop);
}

int LineSettings::bitsPerChar() const
{
    // start bit, data bits, parity bit, stop bits (1.5 rounds up on the wire budget)
    return 1 + data + (parity == 'N' ? 0 : 1) + (stop == QLatin1String("1") ? 1 : 2);
}

bool Scenario::refuses(Refusal::Target target, int number, bool write, bool lost) const
{
    for (const Refusal &r : refusals) {
        if (r.target != target || r.number != number || r.lost != lost)
            continue;
        if (r.op == Refusal::Any || (r.op == Refusal::Write) == write)
            return true;
    }
    return false;
}

bool Scenario::losesCommand(const QString &code) const
{
    return std::any_of(refusals.cbegin(), refusals.cend(),
                       [&code](const Refusal &r) { return r.target == Refusal::Command && r.code == code; });
}

static bool toInt(const QString &text, int *value)
{
    bool ok = false;
    int v = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toInt(&ok, 16) : text.toInt(&ok);
    if (ok)
        *value = v;
    return ok;
}

bool parseLineSettings(const QString &text, LineSettings *settings)
{
    LineSettings s;
    int found = 0;
    for (const QString &item : text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString key = item.section(QLatin1Char('='), 0, 0);
        const QString value = item.section(QLatin1Char('='), 1);
        if (key == QLatin1String("baud") && toInt(value, &s.baud))
            ++found;
        else if (key == QLatin1String("data") && toInt(value, &s.data))
            ++found;
        else if (key == QLatin1String("parity") && value.size() == 1) {
            s.parity = value.at(0).toLatin1();
            ++found;
        } else if (key == QLatin1String("stop")) {
            s.stop = value;
            ++found;
        }
    }
    if (found < 4)
        return false;
    *settings = s;
    return true;
}

static bool parseRanges(const QString &text, ParamDef *def)
{
    def->ranges.clear();
    def->isSigned = false;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        int lo, hi;
        const int dots = part.indexOf(QLatin1String(".."));
        if (dots < 0) {
            if (!toInt(part, &lo))
                return false;
            hi = lo;
        } else if (!toInt(part.left(dots), &lo) || !toInt(part.mid(dots + 2), &hi) || hi < lo) {
            return false;
        }
        if (lo < 0)
            def->isSigned = true;
        def->ranges.append({lo, hi});
    }
    return !def->ranges.isEmpty();
}

static bool parseFault(const QStringList &w, Scenario *s, QString *error)
{
    static const QMap<QString, Fault::Kind> kinds = {
        {QStringLiteral("silent-first"), Fault::SilentFirst}, {QStringLiteral("link-lost"), Fault::LinkLost},
        {QStringLiteral("silent-after"), Fault::SilentAfter},
        {QStringLiteral("bad-check"), Fault::BadCheck},       {QStringLiteral("short"), Fault::Short},
        {QStringLiteral("long"), Fault::Long},                {QStringLiteral("dribble"), Fault::Dribble},
        {QStringLiteral("late"), Fault::Late},               {QStringLiteral("busy"), Fault::Busy}};
    if (w.size() < 2 || !kinds.contains(w.at(1))) {
        *error = QStringLiteral("unknown fault");
        return false;
    }
    Fault f;
    f.kind = kinds.value(w.at(1));
    int i = 2;
    if (f.kind == Fault::SilentFirst || f.kind == Fault::SilentAfter) {
        if (w.size() < 3 || !toInt(w.at(2), &f.arg) || f.arg < 0) {
            *error = QStringLiteral("%1 needs a request count").arg(w.at(1));
            return false;
        }
        f.remaining = f.arg;
        s->faults.append(f);
        return true;
    }
    if (f.kind == Fault::LinkLost) {
        f.remaining = -1;
        s->faults.append(f);
        return true;
    }
    if (w.size() > i) {
        if (w.at(i) == QLatin1String("always"))
            f.remaining = -1;
        else if (!toInt(w.at(i), &f.remaining) || f.remaining < 1) {
            *error = QStringLiteral("fault count must be a positive number or \"always\"");
            return false;
        }
        ++i;
    }
    f.arg = 100;
    const bool timed = f.kind == Fault::Late || f.kind == Fault::Busy;
    if (timed && w.size() > i && !toInt(w.at(i++), &f.arg)) {
        *error = QStringLiteral("%1 needs milliseconds").arg(w.at(1));
        return false;
    }
    if (f.kind == Fault::Busy && w.size() > i
        && (w.size() != i + 2 || w.at(i) != QLatin1String("every") || !toInt(w.at(i + 1), &f.every) || f.every < 1)) {
        *error = QStringLiteral("busy [count|always] [ms] [every n]");
        return false;
    }
    s->faults.append(f);
    return true;
}

bool applyScenarioLine(const QString &rawLine, Scenario *s, QString *error, const QString &baseDir)
{
    QString line = rawLine;
    const int hash = line.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        line.truncate(hash);
    const QStringList w = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w.isEmpty())
        return true;
    const QString key = w.at(0);
    auto need = [&](int n) {
        if (w.size() >= n)
            return true;
        *error = QStringLiteral("\"%1\" needs %2 value(s)").arg(key).arg(n - 1);
        return false;
    };
    auto number = [&](int index, int *value) {
        if (toInt(w.at(index), value))
            return true;
        *error = QStringLiteral("\"%1\" is not a number").arg(w.at(index));
        return false;
    };
    auto identity = [&](int param, const QString &valueText) {
        int v;
        if (!toInt(valueText, &v))
            return false;
        ParamDef &d = s->params[param];
        if (d.ranges.isEmpty()) {
            d.readOnly = true;
            d.ranges.append({0, 65535});
        }
        d.raw = d.initial = quint16(v);
        return true;
    };

    if (key == QLatin1String("include")) {
        if (!need(2))
            return false;
        return loadScenario(QDir(baseDir).filePath(w.at(1)), s, error);
    }
    if (key == QLatin1String("protocol")) {
        if (!need(2))
            return false;
        if (w.at(1) == QLatin1String("rtu"))
            s->protocol = Protocol::Rtu;
        else if (w.at(1) == QLatin1String("ascii"))
            s->protocol = Protocol::Ascii;
        else if (w.at(1) == QLatin1String("taviron"))
            s->protocol = Protocol::Taviron;
        else {
            *error = QStringLiteral("protocol is rtu, ascii or taviron");
            return false;
        }
        return true;
    }
    if (key == QLatin1String("baud"))
        return need(2) && number(1, &s->line.baud);
    if (key == QLatin1String("data"))
        return need(2) && number(1, &s->line.data) && (s->line.data == 7 || s->line.data == 8 || (*error = "data is 7 or 8", false));
    if (key == QLatin1String("parity")) {
        if (!need(2) || !QStringLiteral("NOEMS").contains(w.at(1)) || w.at(1).size() != 1) {
            *error = QStringLiteral("parity is N, O, E, M or S");
            return false;
        }
        s->line.parity = w.at(1).at(0).toLatin1();
        return true;
    }
    if (key == QLatin1String("stop")) {
        if (!need(2) || !QStringList({"1", "1.5", "2"}).contains(w.at(1))) {
            *error = QStringLiteral("stop is 1, 1.5 or 2");
            return false;
        }
        s->line.stop = w.at(1);
        return true;
    }
    if (key == QLatin1String("terminator")) {
        if (!need(2) || !QStringList({"none", "cr", "crlf"}).contains(w.at(1))) {
            *error = QStringLiteral("terminator is none, cr or crlf");
            return false;
        }
        s->terminator = w.at(1);
        return true;
    }
    if (key == QLatin1String("reply")) {
        if (!need(2) || !QStringList({"whole", "paced"}).contains(w.at(1))) {
            *error = QStringLiteral("reply is whole or paced");
            return false;
        }
        s->pacedReply = w.at(1) == QLatin1String("paced");
        return true;
    }
    if (key == QLatin1String("station"))
        return need(2) && number(1, &s->station) && ((s->station >= 0 && s->station <= 254) || (*error = "station is 0 to 254", false));
    if (key == QLatin1String("series")) {
        if (!need(2) || w.at(1).size() != 1) {
            *error = QStringLiteral("series is one letter");
            return false;
        }
        s->series = w.at(1).at(0).toLatin1();
        return true;
    }
    if (key == QLatin1String("typecode")) {
        if (!need(2))
            return false;
        if (w.at(1) == QLatin1String("none")) {
            s->typeCode = -1;
            return true;
        }
        return number(1, &s->typeCode);
    }
    if (key == QLatin1String("p90") || key == QLatin1String("firmware") || key == QLatin1String("p186")) {
        const int param = key == QLatin1String("p90") ? 90 : key == QLatin1String("firmware") ? 188 : 186;
        if (!need(2) || !identity(param, w.at(1))) {
            *error = QStringLiteral("\"%1\" needs a raw value").arg(key);
            return false;
        }
        return true;
    }
    if (key == QLatin1String("P")) {
        // P <number> <raw> <ranges> <decimals> [ro]
        if (!need(5))
            return false;
        int n, raw, dec;
        if (!number(1, &n) || !number(2, &raw) || !number(4, &dec))
            return false;
        if (n < 0 || n > 1599 || dec < 0 || dec > 9) {
            *error = QStringLiteral("parameter number 0..1599, decimals 0..9");
            return false;
        }
        ParamDef d;
        if (!parseRanges(w.at(3), &d)) {
            *error = QStringLiteral("bad range \"%1\"").arg(w.at(3));
            return false;
        }
        d.raw = d.initial = quint16(raw);
        d.decimals = dec;
        d.readOnly = w.size() > 5 && w.at(5) == QLatin1String("ro");
        s->params[n] = d;
        return true;
    }
    if (key == QLatin1String("related")) {
        // related <selector> <value>-<resolution>;... <number>;... [scaled-ranges]
        RelatedRule r;
        const QStringList pairs = w.value(2).split(QRegularExpression(QStringLiteral("[-;]")), Qt::SkipEmptyParts);
        bool ok = need(4) && number(1, &r.selector) && pairs.size() % 2 == 0 && !pairs.isEmpty();
        for (int i = 0; ok && i < pairs.size(); i += 2) {
            const int value = pairs.at(i).toInt(&ok);
            const double resolution = ok ? pairs.at(i + 1).toDouble(&ok) : 0;
            ok = ok && resolution > 0 && resolution <= 1;
            r.decimals[value] = ok ? qRound(-std::log10(resolution)) : 0;
        }
        for (const QString &n : w.value(3).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            r.governed << (ok ? n.toInt(&ok) : 0);
        r.scaledRanges = w.size() > 4 && w.at(4) == QLatin1String("scaled-ranges");
        if (!ok) {
            *error = QStringLiteral("related <selector> <value>-<resolution>;... <number>;... [scaled-ranges]");
            return false;
        }
        s->related.append(r);
        return true;
    }
    if (key == QLatin1String("set")) {
        // set <number> <raw>: a new value for a known parameter (control channel)
        int n, raw;
        if (!need(3) || !number(1, &n) || !number(2, &raw))
            return false;
        if (!s->params.contains(n)) {
            *error = QStringLiteral("unknown parameter %1").arg(n);
            return false;
        }
        s->params[n].raw = quint16(raw);
        return true;
    }
    if (key == QLatin1String("monitor")) {
        int raw;
        if (!need(3) || w.at(1).size() != 1 || !number(2, &raw)) {
            *error = QStringLiteral("monitor <item character> <raw>");
            return false;
        }
        s->monitor[w.at(1).at(0)] = quint16(raw);
        return true;
    }
    struct IntKey {
        const char *name;
        int *target;
    };
    const IntKey ints[] = {{"mode", &s->mode},
                           {"alarm-live", &s->liveAlarm},
                           {"status", &s->fixedStatus},
                           {"rated-current", &s->ratedCurrent},
                           {"rated-voltage", &s->ratedVoltage},
                           {"base-frequency", &s->baseFrequency},
                           {"max-frequency", &s->maxFrequency},
                           {"accel", &s->accel},
                           {"jog-frequency", &s->jogFrequency},
                           {"freq-selector", &s->freqSelector},
                           {"turnaround-ms", &s->turnaroundMs},
                           {"restart-ms", &s->restartMs}};
    for (const IntKey &k : ints)
        if (key == QLatin1String(k.name))
            return need(2) && number(1, k.target);
    if (key == QLatin1String("inputs") || key == QLatin1String("outputs")) {
        int v;
        if (!need(2) || !number(1, &v))
            return false;
        (key == QLatin1String("inputs") ? s->inputs : s->outputs) = quint16(v);
        return true;
    }
    if (key == QLatin1String("alarm")) {
        s->alarms.clear();
        for (int i = 1; i < w.size(); ++i) {
            int v;
            if (!number(i, &v))
                return false;
            s->alarms.append(v);
        }
        return true;
    }
    if (key == QLatin1String("alarm-detail")) {
        if (w.size() == 2 && w.at(1) == QLatin1String("none")) {
            s->alarmDetail.clear();
            return true;
        }
        int item, raw;
        if (!need(3) || !number(1, &item) || !number(2, &raw))
            return false;
        s->alarmDetail[item] = quint16(raw);
        return true;
    }
    if (key == QLatin1String("ram")) {
        // ram <first address, hex> <value, hex>...
        bool ok = need(3);
        const int first = ok ? w.at(1).toInt(&ok, 16) : 0;
        for (int i = 2; ok && i < w.size(); ++i)
            s->ram[first + i - 2] = quint16(w.at(i).toUInt(&ok, 16));
        if (!ok)
            *error = QStringLiteral("ram <address hex> <value hex>...");
        return ok;
    }
    if (key == QLatin1String("fault"))
        return parseFault(w, s, error);
    if (key == QLatin1String("refuse") || key == QLatin1String("lose")) {
        Refusal r;
        r.lost = key == QLatin1String("lose");
        if (r.lost && need(3) && w.at(1) == QLatin1String("command")) {
            r.target = Refusal::Command;
            r.code = w.at(2);
            s->refusals.append(r);
            return true;
        }
        if (r.lost && (!need(3) || w.at(1) != QLatin1String("param"))) {
            *error = QStringLiteral("lose param <number> [read|write], lose command <code>");
            return false;
        }
        if (need(3) && w.at(1) == QLatin1String("monitor")) {
            if (w.at(2).size() != 1) {
                *error = QStringLiteral("refuse monitor <item character>");
                return false;
            }
            r.target = Refusal::Monitor;
            r.number = w.at(2).at(0).unicode();
            s->refusals.append(r);
            return true;
        }
        if (!need(3) || (w.at(1) != QLatin1String("param") && w.at(1) != QLatin1String("page")) || !number(2, &r.number)) {
            *error = QStringLiteral("refuse param|page <number> [read|write], refuse monitor <item>");
            return false;
        }
        r.target = w.at(1) == QLatin1String("param") ? Refusal::Param : Refusal::Page;
        if (w.size() > 3)
            r.op = w.at(3) == QLatin1String("read") ? Refusal::Read : w.at(3) == QLatin1String("write") ? Refusal::Write : Refusal::Any;
        s->refusals.append(r);
        return true;
    }
    if (key == QLatin1String("clear")) {
        s->faults.clear();
        s->refusals.clear();
        return true;
    }
    *error = QStringLiteral("unknown key \"%1\"").arg(key);
    return false;
}

bool loadScenario(const QString &path, Scenario *s, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    const QString baseDir = QFileInfo(path).absolutePath();
    QTextStream in(&file);
    int lineNo = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNo;
        QString why;
        if (!applyScenarioLine(line, s, &why, baseDir)) {
            if (!why.contains(QLatin1String(" line ")))
                why = QStringLiteral("%1 line %2: %3").arg(QFileInfo(path).fileName()).arg(lineNo).arg(why);
            *error = why;
            return false;
        }
    }
    return true;
}
