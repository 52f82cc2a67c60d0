#include "shell/earlierpresses.h"

#include "shell/appglobals.h"
#include "shell/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QThread>

namespace
{

class InputSeen : public QObject
{
public:
    bool seen = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A double click's second press on a button: the first click opened this box, and the box
        // would have dropped the second. Taken, it would open the box again behind this one.
        if (event->type() == QEvent::MouseButtonDblClick && qobject_cast<QAbstractButton *>(watched)) {
            seen = true;
            return true;
        }
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
        InputSeen input;
        qApp->installEventFilter(&input);
        // Whatever the server has sent is in the queue before it is looked at. The sync delivers
        // the toolkit's queued input itself, so the filter is in place first.
        QGuiApplication::sync();
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
    askAfterEarlierPresses(parent, QMessageBox::Warning, title, text);
}

QMessageBox::StandardButton askAfterEarlierPresses(QWidget *parent, QMessageBox::Icon icon, const QString &title,
    const QString &text, QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QPointer<QMessageBox> box = new QMessageBox(icon, title, text, QMessageBox::NoButton, parent);
    // Buttons and default as the static calls set them: in the toolkit's order, the default given or
    // else the first that accepts.
    const auto *buttonBox = box->findChild<QDialogButtonBox *>();
    for (uint mask = QMessageBox::FirstButton; mask <= QMessageBox::LastButton; mask <<= 1) {
        const auto standard = QMessageBox::StandardButton(uint(buttons) & mask);
        if (!standard)
            continue;
        QPushButton *button = box->addButton(standard);
        if (!box->defaultButton()
            && (defaultButton == QMessageBox::NoButton
                    ? buttonBox && buttonBox->buttonRole(button) == QDialogButtonBox::AcceptRole
                    : standard == defaultButton))
            box->setDefaultButton(button);
    }
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    if (execAfterEarlierPresses(box) != -1 && box)
        answer = box->standardButton(box->clickedButton());
    delete box;
    return answer;
}

QString chooseFileAfterEarlierPresses(QWidget *parent, QFileDialog::AcceptMode mode, const QString &caption,
    const QString &start, const QString &filter, QString *selectedFilter, QFileDialog::Options options)
{
    QPointer<QFileDialog> dialog = new QFileDialog(parent, caption, start, filter);
    dialog->setSupportedSchemes({ QStringLiteral("file") });
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setOptions(options);
    // A start that names a file offers that name, as the static calls do.
    if (!start.isEmpty() && !QFileInfo(start).isDir())
        dialog->selectFile(QFileInfo(start).fileName());
    dialog->setAcceptMode(mode);
    if (selectedFilter && !selectedFilter->isEmpty())
        dialog->selectNameFilter(*selectedFilter);
    QString chosen;
    if (execAfterEarlierPresses(dialog) == QDialog::Accepted && dialog) {
        if (selectedFilter)
            *selectedFilter = dialog->selectedNameFilter();
        const QUrl url = dialog->selectedUrls().value(0);
        chosen = url.isLocalFile() || url.isEmpty() ? url.toLocalFile() : url.toString();
    }
    delete dialog;
    return chosen;
}

QColor chooseColourAfterEarlierPresses(const QColor &initial, QWidget *parent)
{
    QPointer<QColorDialog> dialog = new QColorDialog(parent);
    dialog->setCurrentColor(initial);
    QColor chosen;
    if (execAfterEarlierPresses(dialog) != -1 && dialog)
        chosen = dialog->selectedColor();
    delete dialog;
    return chosen;
}
