#pragma once

// Presses of the mouse's left button on one button, read from the X server's events before the
// toolkit sees them. A modal box, dialog or progress window drops a press on a window it blocks, and
// an open popup takes it; STOP must act all the same, whenever the dock shows it. Only under X;
// elsewhere it sees nothing.

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

#include <functional>

// Installs the filter when under X. The opcode of the input extension's events, where the server
// has it; else -1.
int installServerFilter(QAbstractNativeEventFilter *filter);

class ServerPresses : public QAbstractNativeEventFilter
{
public:
    // What becomes of a press on the button: left to the toolkit, or taken here (it then never
    // reaches the button).
    enum class Verdict { Pass, Take };
    // Told each press on the button with the server's time of it.
    using Judge = std::function<Verdict(unsigned long time)>;

    ServerPresses(QWidget *button, Judge judge);
    ~ServerPresses() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

    // The X server's time now (one round trip), on the clock of its events' times; 0 off X.
    static unsigned long serverTime();

private:
    bool onButton(int rootX, int rootY) const;
    bool topmostAt(unsigned window, int rootX, int rootY) const;

    QPointer<QWidget> m_button;
    Judge m_judge;
    int m_inputOpcode;
};
