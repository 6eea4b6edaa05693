#pragma once

#include "ntrip/CasterSession.h"

#include <QObject>
#include <QThread>

namespace kestrava {

// A caster conversation on a thread of its own, so that a window never waits for the network:
// start() hands the request over, finished() comes back on the owner's thread. Destroying it
// cancels what runs and waits for the thread to end.
class CasterCheck : public QObject {
    Q_OBJECT
public:
    explicit CasterCheck(QObject* parent = nullptr);
    ~CasterCheck() override;
    CasterCheck(const CasterCheck&) = delete;
    CasterCheck& operator=(const CasterCheck&) = delete;

    void start(const NtripRequest& request, const CasterSession::Limits& limits);
    void cancel();
    bool running() const { return m_running; }

signals:
    void finished(const kestrava::CasterOutcome& outcome);
    void progress(qint64 bytes);

private:
    QThread m_thread;
    CasterSession* m_session = nullptr; // lives on m_thread
    bool m_running = false;
};

} // namespace kestrava
