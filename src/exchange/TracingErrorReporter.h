#pragma once

#include "serial/PortErrorReporter.h"

namespace kestrava {

class ProtocolTrace;

// Writes every port error into the protocol trace, then hands it on to the reporter that shows
// it (when there is one).
class TracingErrorReporter : public PortErrorReporter {
public:
    TracingErrorReporter(ProtocolTrace& trace, PortErrorReporter* next)
        : m_trace(trace), m_next(next) {}

    void reportError(const QString& text, const QString& caption) override;

private:
    ProtocolTrace& m_trace;
    PortErrorReporter* m_next;
};

} // namespace kestrava
