#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"

#include <QApplication>
#include <QIcon>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    initShellResources();
    app.setWindowIcon(QIcon(QStringLiteral(":/new prefix/images/Taviron.ico")));
    app.installTranslator(&g_translator);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    runStartUpSteps(arguments, QCoreApplication::applicationFilePath(), QCoreApplication::applicationDirPath());

    g_mainWindow = new CMainWindow(nullptr);
    g_mainWindow->setWindowState(Qt::WindowMaximized);
    g_mainWindow->show();
    return app.exec();
}
