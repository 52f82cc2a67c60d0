#pragma once

// Drives a modal dialog that a click or call is about to open: the action runs once the dialog is up.

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs action on the next modal window that is not `except`; polls so that it works whatever opens it.
inline void onNextModal(std::function<void(QWidget *)> action, QWidget *except = nullptr)
{
    auto *timer = new QTimer;
    QPointer<QWidget> skip(except);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action, skip]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == skip.data())
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}
