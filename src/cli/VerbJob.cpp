#include "cli/VerbJob.h"

#include <QThread>

#include <sstream>

namespace kestrava {

VerbJob::VerbJob(QObject* parent) : QObject(parent) {}

VerbJob::~VerbJob() {
    if (m_thread) {
        m_thread->wait();
    }
}

bool VerbJob::running() const {
    return m_thread && !m_thread->isFinished();
}

bool VerbJob::start(const QString& device, const std::vector<std::string>& verbAndArgs) {
    if (running()) {
        return false;
    }
    if (m_thread) {
        m_thread->wait();
    }
    m_outcome = {};
    m_thread.reset(QThread::create([this, path = device.toStdString(), verbAndArgs] {
        std::ostringstream out;
        std::ostringstream err;
        Outcome outcome;
        outcome.status = PortVerbs::run(path, verbAndArgs, out, err, {}, &outcome.report);
        outcome.out = out.str();
        outcome.err = err.str();
        // Handed over on the caller's thread, where outcome() is read.
        QMetaObject::invokeMethod(
            this,
            [this, done = std::move(outcome)]() mutable {
                m_outcome = std::move(done);
                emit finished();
            },
            Qt::QueuedConnection);
    }));
    m_thread->start();
    return true;
}

} // namespace kestrava
