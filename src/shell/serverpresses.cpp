#include "shell/serverpresses.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QX11Info>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdlib>

namespace
{
constexpr unsigned LeftButton = 1;

bool onX()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") && QX11Info::isPlatformX11();
}

} // namespace

int installServerFilter(QAbstractNativeEventFilter *filter)
{
    if (!onX())
        return -1;
    QCoreApplication::instance()->installNativeEventFilter(filter);
    // The toolkit takes its mouse events from the input extension where the server has it.
    const xcb_query_extension_reply_t *input = xcb_get_extension_data(QX11Info::connection(), &xcb_input_id);
    return input && input->present ? input->major_opcode : -1;
}

ServerPresses::ServerPresses(QWidget *button, Judge judge)
    : m_button(button)
    , m_judge(std::move(judge))
    , m_inputOpcode(installServerFilter(this))
{
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

// Whether the server's topmost window at that point of the screen is, or holds, the button's window:
// not a popup, a box or another program's window lying over it.
bool ServerPresses::topmostAt(unsigned window, int rootX, int rootY) const
{
    xcb_connection_t *connection = QX11Info::connection();
    const xcb_window_t root = QX11Info::appRootWindow();
    xcb_window_t at = root;
    // Down the stack of windows holding the point: a window manager's frame, then the program's window.
    for (int depth = 0; depth < 8; ++depth) {
        // A window gone meanwhile is an error of no consequence here.
        xcb_generic_error_t *error = nullptr;
        xcb_translate_coordinates_reply_t *reply = xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, root, at, int16_t(rootX), int16_t(rootY)), &error);
        const xcb_window_t child = reply ? reply->child : xcb_window_t(XCB_WINDOW_NONE);
        free(reply);
        free(error);
        if (child == XCB_WINDOW_NONE)
            return false;
        if (child == window)
            return true;
        at = child;
    }
    return false;
}

// The press's place on the screen: a popup open anywhere grabs the pointer, and the press is then
// reported on the popup's window.
bool ServerPresses::onButton(int rootX, int rootY) const
{
    if (!m_button || !m_button->isVisible() || !m_button->isEnabled())
        return false;
    QWindow *handle = m_button->window()->windowHandle();
    if (!handle)
        return false;
    const qreal ratio = handle->devicePixelRatio();
    const QPoint at = m_button->mapFromGlobal(QPoint(qRound(rootX / ratio), qRound(rootY / ratio)));
    return m_button->rect().contains(at) && topmostAt(unsigned(handle->winId()), rootX, rootY);
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
        if (press->detail != LeftButton || !onButton(press->root_x, press->root_y))
            return false;
        time = press->time;
    } else if (type == XCB_GE_GENERIC && m_inputOpcode >= 0) {
        const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
        if (generic->extension != m_inputOpcode || generic->event_type != XCB_INPUT_BUTTON_PRESS)
            return false;
        const auto *press = reinterpret_cast<const xcb_input_button_press_event_t *>(event);
        // A touch the server also sends as a pointer press is taken from the pointer's.
        if (press->detail != LeftButton || (press->flags & XCB_INPUT_POINTER_EVENT_FLAGS_POINTER_EMULATED)
            || !onButton(press->root_x >> 16, press->root_y >> 16))
            return false;
        time = press->time;
    } else {
        return false;
    }
    return m_judge(time) == Verdict::Take;
}
