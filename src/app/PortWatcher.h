#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace kestrava {

// Watches for a serial device that went away (cable pulled, adapter unplugged) to come back.
// While watching it looks for the device every kPollMs; once the device has been seen on two
// looks in a row (a freshly plugged adapter needs a moment before it can be opened) it reports
// deviceReturned on every look until stopped, so the caller can simply try again when an
// opening fails.
class PortWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr int kPollMs = 500;

    explicit PortWatcher(QObject* parent = nullptr);

    void watch(const QString& portName);
    void stop();
    bool watching() const { return m_timer.isActive(); }
    const QString& portName() const { return m_portName; }

    // Whether the device can be seen now: the path exists on systems with device files, the
    // port is listed on Windows.
    static bool devicePresent(const QString& portName);

signals:
    void deviceReturned(const QString& portName);

private:
    void look();

    QTimer m_timer;
    QString m_portName;
    int m_seenInARow = 0;
};

} // namespace kestrava
