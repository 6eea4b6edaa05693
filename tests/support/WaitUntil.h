#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace kestrava::test {

// Runs the event loop until done() holds, or gives up after milliseconds; returns
// done(). The limit only bounds a test that has failed: a passing one returns as soon as it can.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace kestrava::test
