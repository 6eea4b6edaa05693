#pragma once

#include "serial/PortErrorReporter.h"
#include "serial/SerialPortOwner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QThread>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace kestrava::test {

// Records what a CSerialPort hands its owner, and whether it arrived on the owner's thread.
class RecordingOwner : public SerialPortOwner {
public:
    void onSerialData(const std::uint8_t* bytes, std::size_t count) override {
        offThread += QThread::currentThread() != m_thread ? 1 : 0;
        chunks.emplace_back(bytes, bytes + count);
        if (whileHandling) {
            whileHandling();
        }
    }
    void onPortEvent() override {
        offThread += QThread::currentThread() != m_thread ? 1 : 0;
        ++portEvents;
    }

    std::size_t bytesReceived() const {
        std::size_t total = 0;
        for (const auto& chunk : chunks) {
            total += chunk.size();
        }
        return total;
    }

    // Runs inside the handler, while the reader waits for it to return.
    std::function<void()> whileHandling;

    std::vector<std::vector<std::uint8_t>> chunks;
    int portEvents = 0;
    int offThread = 0;

private:
    QThread* m_thread = QThread::currentThread();
};

class RecordingReporter : public PortErrorReporter {
public:
    void reportError(const QString& text, const QString& caption) override {
        reports.emplace_back(text, caption);
    }
    std::vector<std::pair<QString, QString>> reports;
};

// Serves the owner's events until done() holds or timeoutMs has passed; returns done().
template <typename Done>
bool pumpUntil(Done done, int timeoutMs = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) {
            return done();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Serves the owner's events for ms milliseconds.
inline void pumpFor(int ms) {
    pumpUntil([] { return false; }, ms);
}

} // namespace kestrava::test
