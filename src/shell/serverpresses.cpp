#include "shell/serverpresses.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QX11Info>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

namespace
{
constexpr unsigned LeftButton = 1;

bool onX()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") && QX11Info::isPlatformX11();
}

} // namespace

ServerPresses::ServerPresses(QWidget *button, Judge judge)
    : m_button(button)
    , m_judge(std::move(judge))
{
    if (!onX())
        return;
    // The toolkit takes its mouse events from the input extension where the server has it.
    if (const xcb_query_extension_reply_t *input = xcb_get_extension_data(QX11Info::connection(), &xcb_input_id);
        input && input->present)
        m_inputOpcode = input->major_opcode;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

ServerPresses::~ServerPresses()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

unsigned long ServerPresses::serverTime()
{
    return onX() ? QX11Info::getTimestamp() : 0;
}

bool ServerPresses::onButton(unsigned window, int x, int y) const
{
    if (!m_button || !m_button->isVisible() || !m_button->isEnabled())
        return false;
    QWidget *top = m_button->window();
    QWindow *handle = top->windowHandle();
    if (!handle || handle->winId() != window)
        return false;
    // Event coordinates are in the native window's device pixels.
    const qreal ratio = handle->devicePixelRatio();
    const QPoint at = m_button->mapFrom(top, QPoint(qRound(x / ratio), qRound(y / ratio)));
    return m_button->rect().contains(at);
}

bool ServerPresses::nativeEventFilter(const QByteArray &eventType, void *message, long *)
{
    if (eventType != "xcb_generic_event_t" || !m_button)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const unsigned type = event->response_type & 0x7f;
    unsigned long time = 0;
    if (type == XCB_BUTTON_PRESS) {
        const auto *press = reinterpret_cast<const xcb_button_press_event_t *>(event);
        if (press->detail != LeftButton || !onButton(press->event, press->event_x, press->event_y))
            return false;
        time = press->time;
    } else if (type == XCB_GE_GENERIC && m_inputOpcode >= 0) {
        const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
        if (generic->extension != m_inputOpcode || generic->event_type != XCB_INPUT_BUTTON_PRESS)
            return false;
        const auto *press = reinterpret_cast<const xcb_input_button_press_event_t *>(event);
        // A touch the server also sends as a pointer press is taken from the pointer's.
        if (press->detail != LeftButton || (press->flags & XCB_INPUT_POINTER_EVENT_FLAGS_POINTER_EMULATED)
            || !onButton(press->event, press->event_x >> 16, press->event_y >> 16))
            return false;
        time = press->time;
    } else {
        return false;
    }
    return m_judge(time) == Verdict::Take;
}
