#include "view/windowlosswatch.h"

#include <QCoreApplication>
#include <QWidget>

#include <cstdint>

namespace {

// The layout of the X protocol's DestroyNotify event (xproto), spelt out to spare the
// game a build dependency on the XCB headers.
struct DestroyNotify
{
    uint8_t responseType;
    uint8_t pad;
    uint16_t sequence;
    uint32_t event;
    uint32_t window;
};
constexpr uint8_t DestroyNotifyCode = 17;

} // namespace

WindowLossWatch::WindowLossWatch(QWidget &window) : QObject(&window), m_window(window)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowLossWatch::~WindowLossWatch()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WindowLossWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const DestroyNotify *>(message);
    if ((event->responseType & 0x7f) != DestroyNotifyCode)
        return false;
    if (!m_window.testAttribute(Qt::WA_WState_Created) || event->window != m_window.winId())
        return false;
    QMetaObject::invokeMethod(this, &WindowLossWatch::windowDestroyed, Qt::QueuedConnection);
    return false;
}
