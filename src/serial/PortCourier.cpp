#include "serial/PortCourier.h"

#include <QMetaObject>

#include <utility>

namespace kestrava {

PortCourier::PortCourier(std::function<void()> serveDelivery, std::function<void()> servePortEvent,
                         std::function<void()> serveReports)
    : m_serveDelivery(std::move(serveDelivery)), m_servePortEvent(std::move(servePortEvent)),
      m_serveReports(std::move(serveReports)) {}

// Invocation by name keeps the queued event entirely inside QtCore: no functor object is built
// on the posting thread and read on the receiving one.
void PortCourier::postDelivery() {
    QMetaObject::invokeMethod(this, "deliver", Qt::QueuedConnection);
}

void PortCourier::postPortEvent() {
    QMetaObject::invokeMethod(this, "portEvent", Qt::QueuedConnection);
}

void PortCourier::postReports() {
    QMetaObject::invokeMethod(this, "reports", Qt::QueuedConnection);
}

void PortCourier::deliver() {
    m_serveDelivery();
}

void PortCourier::portEvent() {
    m_servePortEvent();
}

void PortCourier::reports() {
    m_serveReports();
}

} // namespace kestrava
