#pragma once

// Releases of the mouse's left button, read from the X server's events wherever the pointer is.
// A box that opens over a held button takes the toolkit's release, and a window it blocks gets
// none; the hand's own release still comes from the server. Only under X; elsewhere it sees nothing.

#include <QAbstractNativeEventFilter>

#include <functional>

class ServerReleases : public QAbstractNativeEventFilter
{
public:
    explicit ServerReleases(std::function<void()> released);
    ~ServerReleases() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

private:
    std::function<void()> m_released;
    int m_inputOpcode;
};
