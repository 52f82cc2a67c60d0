#pragma once

// Driving widgets the way a user does: a combo box item is chosen by opening the list with the
// mouse and clicking the item, so a disabled combo refuses just as it does for the user.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <QtTest>

// Opens the combo's list and clicks the item. Returns false when the list did not open (a disabled
// or hidden combo).
inline bool chooseComboItem(QComboBox *combo, int index)
{
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView *view = combo->view();
    if (!QTest::qWaitFor([view] { return view->isVisible(); }, 500))
        return false;
    // The open list swallows a mouse release that follows its opening too closely, so the item is
    // reached with the keys, as a user also may.
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    return QTest::qWaitFor([view] { return !view->isVisible(); }, 500);
}

inline bool chooseComboText(QComboBox *combo, const QString &text)
{
    // An editable combo takes the text as typed.
    if (combo->isEditable()) {
        if (!combo->isEnabled() || !combo->isVisible())
            return false;
        combo->lineEdit()->setFocus();
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), text);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        return combo->currentText() == text;
    }
    const int index = combo->findText(text);
    return index >= 0 && chooseComboItem(combo, index);
}

// Runs the action on the modal box or dialog that opens next: it is looked for every 20 ms
// for up to timeoutMs.
template <typename Action> void onNextModal(Action action, int timeoutMs = 10000)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    auto *elapsed = new QElapsedTimer;
    elapsed->start();
    QObject::connect(timer, &QTimer::timeout, [timer, elapsed, action, timeoutMs]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && elapsed->elapsed() < timeoutMs)
            return;
        timer->stop();
        timer->deleteLater();
        delete elapsed;
        if (modal)
            action(modal);
    });
    timer->start();
}

// The texts of a combo's items, in order.
inline QStringList comboItems(QComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}
