#include "shell/earlierpresses.h"

#include "shell/appglobals.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QThread>

namespace
{

class InputSeen : public QObject
{
public:
    bool seen = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            seen = true;
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void takeEarlierPresses()
{
    if (!qApp || QThread::currentThread() != qApp->thread())
        return;
    // A press's own command may take a while, during which more presses wait: taken too, until a
    // round finds none. Bounded, so a user clicking on and on cannot keep the box away for ever.
    for (int round = 0; round < 50; ++round) {
        // Whatever the server has sent is in the queue before it is looked at.
        QGuiApplication::sync();
        InputSeen input;
        qApp->installEventFilter(&input);
        QCoreApplication::processEvents();
        qApp->removeEventFilter(&input);
        if (!input.seen)
            return;
    }
}

int execAfterEarlierPresses(QDialog *box)
{
    const QPointer<QDialog> alive = box;
    // A failure met before the press that opens this box is told first.
    if (g_mainWindow)
        g_mainWindow->showOwedErrors();
    takeEarlierPresses();
    return alive ? alive->exec() : -1;
}

void warnAfterEarlierPresses(QWidget *parent, const QString &title, const QString &text)
{
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    execAfterEarlierPresses(box);
    delete box;
}
