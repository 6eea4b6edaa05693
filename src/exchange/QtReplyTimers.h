#pragma once

#include "exchange/ReplyTimers.h"

#include <QObject>
#include <QTimer>

#include <array>

namespace kestrava {

// The reply timers on Qt's event loop: one repeating QTimer per id (1 to 6), owned by this
// object and firing on its thread. Ids outside 1 to 6 are ignored.
class QtReplyTimers : public QObject, public ReplyTimers {
    Q_OBJECT

public:
    explicit QtReplyTimers(QObject* parent = nullptr);

    void setHandler(Handler handler) override;
    void start(int timerId, int milliseconds) override;
    void stop(int timerId) override;
    bool isRunning(int timerId) const override;

private:
    static constexpr int kFirstId = TIMER_FIRMWARE_START;
    static constexpr int kLastId = TIMER_REPLY;

    QTimer* timer(int timerId) const;

    std::array<QTimer*, kLastId - kFirstId + 1> m_timers{};
    Handler m_handler;
};

} // namespace kestrava
