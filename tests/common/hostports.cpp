// Linked into every test program: it starts on a registry file of its own and a device folder that
// holds nothing, so no test, nor a program or simulated drive it starts, reaches a port of the host.

#include <QFile>
#include <QTemporaryDir>

namespace
{

void keepOffHostPorts()
{
    static QTemporaryDir folder;
    qputenv("TAVIRON_REGISTRY", QFile::encodeName(folder.filePath(QStringLiteral("registry.ini"))));
    qputenv("TAVIRON_DEVICE_DIR", QFile::encodeName(folder.filePath(QStringLiteral("no-devices"))));
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(keepOffHostPorts)
