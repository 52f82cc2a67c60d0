#pragma once

// Answers modal dialogs as a user would: while it lives, every modal window that opens on the GUI
// thread is handed to the handler it was given, which reads it and closes it.

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

class ModalWatcher : public QObject
{
public:
    explicit ModalWatcher(std::function<void(QWidget *)> handler)
        : m_handler(std::move(handler))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal) {
                m_last = nullptr;
                return;
            }
            if (modal == m_last)
                return;
            m_last = modal;
            ++m_count;
            m_handler(modal);
        });
        m_timer.start(10);
    }

    // Modal windows seen so far.
    int count() const { return m_count; }

private:
    std::function<void(QWidget *)> m_handler;
    QTimer m_timer;
    QPointer<QWidget> m_last;
    int m_count = 0;
};
