#include "exchange/TracingErrorReporter.h"

#include "exchange/ProtocolTrace.h"

namespace kestrava {

void TracingErrorReporter::reportError(const QString& text, const QString& caption) {
    m_trace.event("error", caption + QStringLiteral(": ") + text);
    if (m_next != nullptr) {
        m_next->reportError(text, caption);
    }
}

} // namespace kestrava
