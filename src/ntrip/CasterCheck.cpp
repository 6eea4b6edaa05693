#include "ntrip/CasterCheck.h"

#include <QMetaObject>

namespace kestrava {

CasterCheck::CasterCheck(QObject* parent) : QObject(parent) {
    m_session = new CasterSession;
    m_session->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_session, &QObject::deleteLater);
    connect(m_session, &CasterSession::finished, this, [this](const CasterOutcome& outcome) {
        m_running = false;
        emit finished(outcome);
    });
    connect(m_session, &CasterSession::progress, this, &CasterCheck::progress);
    m_thread.setObjectName(QStringLiteral("caster check"));
    m_thread.start();
}

CasterCheck::~CasterCheck() {
    QMetaObject::invokeMethod(m_session, &CasterSession::cancel, Qt::QueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void CasterCheck::start(const NtripRequest& request, const CasterSession::Limits& limits) {
    if (m_running) {
        return;
    }
    m_running = true;
    CasterSession* session = m_session;
    QMetaObject::invokeMethod(
        m_session, [session, request, limits] { session->start(request, limits); },
        Qt::QueuedConnection);
}

void CasterCheck::cancel() {
    if (m_running) {
        QMetaObject::invokeMethod(m_session, &CasterSession::cancel, Qt::QueuedConnection);
    }
}

} // namespace kestrava
