#include "exchange/QtReplyTimers.h"

namespace kestrava {

QtReplyTimers::QtReplyTimers(QObject* parent) : QObject(parent) {
    for (int id = kFirstId; id <= kLastId; ++id) {
        auto* timer = new QTimer(this);
        timer->setSingleShot(false);
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (m_handler) {
                m_handler(id);
            }
        });
        m_timers[static_cast<std::size_t>(id - kFirstId)] = timer;
    }
}

void QtReplyTimers::setHandler(Handler handler) {
    m_handler = std::move(handler);
}

QTimer* QtReplyTimers::timer(int timerId) const {
    if (timerId < kFirstId || timerId > kLastId) {
        return nullptr;
    }
    return m_timers[static_cast<std::size_t>(timerId - kFirstId)];
}

void QtReplyTimers::start(int timerId, int milliseconds) {
    if (QTimer* t = timer(timerId)) {
        t->start(milliseconds);
    }
}

void QtReplyTimers::stop(int timerId) {
    if (QTimer* t = timer(timerId)) {
        t->stop();
    }
}

bool QtReplyTimers::isRunning(int timerId) const {
    const QTimer* t = timer(timerId);
    return t != nullptr && t->isActive();
}

} // namespace kestrava
