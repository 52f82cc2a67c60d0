#pragma once

// A user at the keyboard for the modal windows a slot opens: file dialogs get the next prepared
// name typed in and confirmed (an empty name cancels), message boxes are read and confirmed.
// Everything seen is written down for the test to compare.

#include "modalwatcher.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QtTest>

class UserAnswers
{
public:
    UserAnswers()
        : m_watcher([this](QWidget *modal) { answer(modal); })
    {
    }

    // Names for the coming file dialogs, in order.
    QStringList fileNames;
    // "title | filters" of each file dialog.
    QStringList dialogs;
    // "title | text" of each message box.
    QStringList boxes;
    QList<QMessageBox::StandardButton> replies; // for the coming message boxes, in order; then OK or Yes

private:
    void answer(QWidget *modal)
    {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            dialogs.append(
                dialog->windowTitle() + QStringLiteral(" | ") + dialog->nameFilters().join(QLatin1Char(';')));
            const QString name = fileNames.isEmpty() ? QString() : fileNames.takeFirst();
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (name.isEmpty() || !edit) {
                dialog->reject();
                return;
            }
            // Typed, then the dialog's accept button (Return would go to the name completer's list),
            // in one turn: the dialog selects its start file once the folder has loaded, which on a
            // busy machine comes late and would replace a name typed before it.
            QTimer::singleShot(0, dialog, [dialog, edit, name] {
                edit->setText(name);
                auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
                QAbstractButton *accept = buttons ? buttons->buttons().value(0) : nullptr;
                for (QAbstractButton *button : buttons ? buttons->buttons() : QList<QAbstractButton *>())
                    if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                        accept = button;
                if (accept && accept->isEnabled())
                    QTest::mouseClick(accept, Qt::LeftButton);
                else
                    dialog->reject();
            });
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxes.append(box->windowTitle() + QStringLiteral(" | ") + box->text());
            QAbstractButton *button = box->button(replies.isEmpty() ? QMessageBox::Ok : replies.takeFirst());
            if (!button)
                button = box->button(QMessageBox::Yes);
            if (button)
                press(button);
            else
                box->reject();
        }
    }

    // Pressed once the watcher's turn is over, so that a window the press opens (the question
    // whether to replace a file) is answered too.
    static void press(QAbstractButton *button)
    {
        QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
    }

    ModalWatcher m_watcher;
};
