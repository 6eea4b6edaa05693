#pragma once

#include <QObject>

#include <functional>

namespace kestrava {

// Carries the reader thread's notices to the port owner's thread. It lives on the thread that
// created it; the reader posts queued invocations of its slots, which then run the callbacks
// given at construction on that thread. Destroying it drops invocations still queued.
class PortCourier : public QObject {
    Q_OBJECT

public:
    PortCourier(std::function<void()> serveDelivery, std::function<void()> servePortEvent,
                std::function<void()> serveReports);

    // Thread-safe: queue one invocation of the matching slot on the courier's thread.
    void postDelivery();
    void postPortEvent();
    void postReports();

private slots:
    void deliver();
    void portEvent();
    void reports();

private:
    std::function<void()> m_serveDelivery;
    std::function<void()> m_servePortEvent;
    std::function<void()> m_serveReports;
};

} // namespace kestrava
