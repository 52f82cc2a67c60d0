#include "shell/serverreleases.h"

#include "shell/serverpresses.h"

#include <QCoreApplication>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

ServerReleases::ServerReleases(std::function<void()> released)
    : m_released(std::move(released))
    , m_inputOpcode(installServerFilter(this))
{
}

ServerReleases::~ServerReleases()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool ServerReleases::nativeEventFilter(const QByteArray &eventType, void *message, long *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const unsigned type = event->response_type & 0x7f;
    bool left = false;
    if (type == XCB_BUTTON_RELEASE) {
        left = reinterpret_cast<const xcb_button_release_event_t *>(event)->detail == 1;
    } else if (type == XCB_GE_GENERIC && m_inputOpcode >= 0) {
        const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
        const auto *release = reinterpret_cast<const xcb_input_button_release_event_t *>(event);
        left = generic->extension == m_inputOpcode && generic->event_type == XCB_INPUT_BUTTON_RELEASE
            && release->detail == 1 && !(release->flags & XCB_INPUT_POINTER_EVENT_FLAGS_POINTER_EMULATED);
    }
    // The toolkit has its release all the same.
    if (left)
        m_released();
    return false;
}
