#pragma once

#include <QString>

namespace kestrava {

// Shows a failure of the serial device to the user. The program's window shows a message box
// with the caption; tests record the calls. Always called on the port owner's thread.
class PortErrorReporter {
public:
    virtual ~PortErrorReporter() = default;
    virtual void reportError(const QString& text, const QString& caption) = 0;
};

} // namespace kestrava
