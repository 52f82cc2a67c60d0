// drivesim: plays one drive of the DI-RER family on a pseudo-terminal (see README.md).
#include "commandtable.h"
#include "drive.h"
#include "line.h"
#include "scenario.h"
#include "wire.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const char Usage[] =
    "usage: drivesim SCENARIO [options]\n"
    "  --fnc FILE          command table (default: ParameterInforamtion/InvType/FNC.txt beside drivesim)\n"
    "  --line FILE         line settings written by the program's port layer; without it the pty is judged\n"
    "  --register COMn     list the pty in the registry stand-in as COMn (\"auto\": a free name) until exit\n"
    "  --journal FILE      append every frame received and sent, with monotonic time stamps\n"
    "  --control FIFO      accept scenario lines (fault, refuse, clear, set, monitor, ...) and \"quit\"\n"
    "  --path-file FILE    also write the slave path (and COM name) to FILE\n";

QString registryPath()
{
    const QString env = qEnvironmentVariable("TAVIRON_REGISTRY");
    if (!env.isEmpty())
        return env;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/TavironINV/registry.ini");
}

const QString PortList = QStringLiteral("HKEY_LOCAL_MACHINE/HARDWARE/DEVICEMAP/SERIALCOMM/");
const QString PortDevices = QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/TavironINV/Ports/");
const QString SimulatedLines = QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/TavironINV/SimulatedLine/");

QString freeComName(QSettings &reg)
{
    for (int n = 10;; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        if (!reg.contains(PortList + name) && !reg.contains(PortDevices + name))
            return name;
    }
}

bool writeAtomically(const QString &path, const QByteArray &text)
{
    const QString tmp = path + QStringLiteral(".tmp");
    QFile f(tmp);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        return false;
    f.close();
    return ::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString scenarioPath, fnc, registerName, pathFile;
    LineOptions options;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            fputs(Usage, stdout);
            return 0;
        } else if (a == QLatin1String("--fnc") && hasValue) {
            fnc = args.at(++i);
        } else if (a == QLatin1String("--line") && hasValue) {
            options.lineFile = args.at(++i);
        } else if (a == QLatin1String("--register") && hasValue) {
            registerName = args.at(++i);
        } else if (a == QLatin1String("--journal") && hasValue) {
            options.journalFile = args.at(++i);
        } else if (a == QLatin1String("--control") && hasValue) {
            options.controlFifo = args.at(++i);
        } else if (a == QLatin1String("--path-file") && hasValue) {
            pathFile = args.at(++i);
        } else if (!a.startsWith(QLatin1String("--")) && scenarioPath.isEmpty()) {
            scenarioPath = a;
        } else {
            fprintf(stderr, "drivesim: unexpected argument %s\n%s", qPrintable(a), Usage);
            return 2;
        }
    }
    if (scenarioPath.isEmpty()) {
        fputs(Usage, stderr);
        return 2;
    }
    Scenario scenario;
    QString error;
    if (!loadScenario(scenarioPath, &scenario, &error)) {
        fprintf(stderr, "drivesim: %s\n", qPrintable(error));
        return 2;
    }
    if (fnc.isEmpty())
        fnc = QCoreApplication::applicationDirPath() + QStringLiteral("/ParameterInforamtion/InvType/FNC.txt");
    CommandTable table;
    if (!table.load(fnc, scenario.protocol, &error)) {
        fprintf(stderr, "drivesim: %s\n", qPrintable(error));
        return 2;
    }

    QTemporaryDir lineDir;
    if (!registerName.isEmpty() && options.lineFile.isEmpty())
        options.lineFile = lineDir.filePath(QStringLiteral("line.txt"));

    Drive drive(&scenario, &table);
    Wire wire(&scenario, &drive, &table);
    Line line(&scenario, &drive, &wire, options);
    if (!line.open(&error)) {
        fprintf(stderr, "drivesim: %s\n", qPrintable(error));
        return 1;
    }

    QByteArray announce = QFile::encodeName(line.slavePath()) + '\n';
    QSettings registry(registryPath(), QSettings::IniFormat);
    if (!registerName.isEmpty()) {
        if (registerName == QLatin1String("auto"))
            registerName = freeComName(registry);
        registry.setValue(PortList + registerName, registerName);
        registry.setValue(PortDevices + registerName, line.slavePath());
        registry.setValue(SimulatedLines + registerName, QFileInfo(options.lineFile).absoluteFilePath());
        registry.sync();
        announce += registerName.toLatin1() + '\n';
    }
    fputs(announce.constData(), stdout);
    fflush(stdout);
    if (!pathFile.isEmpty() && !writeAtomically(pathFile, announce)) {
        fprintf(stderr, "drivesim: cannot write %s\n", qPrintable(pathFile));
        return 1;
    }

    const int rc = line.run();

    if (!registerName.isEmpty()) {
        registry.remove(PortList + registerName);
        registry.remove(PortDevices + registerName);
        registry.remove(SimulatedLines + registerName);
        registry.sync();
    }
    return rc;
}
