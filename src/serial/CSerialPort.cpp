#include "serial/CSerialPort.h"

#include "serial/PortCourier.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QSerialPort>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <system_error>
#include <utility>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <termios.h>
#endif

namespace kestrava {

namespace {

const QString kCaption = QStringLiteral("Application Error");

// Consecutive failed reads or writes, with no byte read in between, after which the device counts
// as gone even though it has not said so.
constexpr int kFailureStreakLimit = 3;

} // namespace

CSerialPort::CSerialPort(PortErrorReporter* reporter)
    : m_reporter(reporter),
      m_courier(std::make_unique<PortCourier>(
          [this] { serveDelivery(); }, [this] { servePortEvent(); }, [this] { serveReports(); })) {
    holdInputOpen = 1;
}

CSerialPort::~CSerialPort() {
    stopReader();
    closeDevice();
    holdInputOpen = 1;
}

// ---- owner thread ----------------------------------------------------------------------------

bool CSerialPort::OpenPort(SerialPortOwner* owner, const QString& portName, qint32 baudRate,
                           std::uint32_t eventMask) {
    holdInputOpen = 1;
    stopReader();
    {
        std::lock_guard lock(m_signalMutex);
        m_shutdownSignalled = false;
        m_writeSignalled = false;
        m_deliveryState = DeliveryState::None;
        m_delivery.clear();
    }
    m_owner = owner;
    {
        std::lock_guard lock(m_portLock);
        m_writeBuffer.assign(kWriteBufferSize, 0);
        m_writeLength = 0;
    }
    m_portName = portName;
    m_eventMask = eventMask;
    closeDevice();

    auto device = std::make_unique<QSerialPort>();
    device->setPortName(portName);
    m_openError.clear();
    if (!device->open(QIODevice::ReadWrite)) {
        m_openError = device->errorString();
        return false;
    }
    m_device = device.release();

    QString failedCall;
    if (!configure(baudRate, failedCall)) {
        // Reported after the device is fully set up, with no lock held: the reporter may run a
        // nested event loop in which the owner queues a write.
        const QString systemText = m_device->errorString();
        m_device->clearError();
        m_device->clear(QSerialPort::AllDirections);
        ReportPortError(failedCall, systemText);
        return true;
    }
    m_device->clear(QSerialPort::AllDirections);
    return true;
}

// Applies the fixed line format, stopping at the first step that fails; failedCall then names it.
bool CSerialPort::configure(qint32 baudRate, QString& failedCall) {
    if (baudRate <= 0) {
        failedCall = QStringLiteral("BuildCommDCB()");
        m_device->setBaudRate(baudRate); // leaves the device's own error text for the report
        return false;
    }
    const bool applied =
        m_device->setBaudRate(baudRate) && m_device->setDataBits(QSerialPort::Data8) &&
        m_device->setParity(QSerialPort::NoParity) && m_device->setStopBits(QSerialPort::OneStop) &&
        m_device->setFlowControl(QSerialPort::NoFlowControl);
    if (!applied) {
        failedCall = QStringLiteral("SetCommState()");
        return false;
    }
    // RTS off where the device has the line; a pseudo-terminal has none, which is no failure.
    m_device->setRequestToSend(false);
    m_device->clearError();
    return true;
}

bool CSerialPort::startReader() {
    if (m_device == nullptr || m_reader.joinable()) {
        return false;
    }
    {
        std::lock_guard lock(m_signalMutex);
        m_readerThread = nullptr;
        m_deviceHandedOver = false;
        m_readerFinished = false;
    }
    try {
        m_reader = std::thread([this] { ReaderLoop(); });
    } catch (const std::system_error&) {
        return false;
    }
    // The device changes hands once the reader has a thread identity to receive it; the reader
    // touches it only after that.
    QThread* readerThread = nullptr;
    {
        std::unique_lock lock(m_signalMutex);
        m_signalCv.wait(lock, [this] { return m_readerThread != nullptr; });
        readerThread = m_readerThread;
    }
    m_device->moveToThread(readerThread);
    {
        std::lock_guard lock(m_signalMutex);
        m_deviceHandedOver = true;
    }
    m_signalCv.notify_all();
    return true;
}

bool CSerialPort::QueueWrite(const std::uint8_t* bytes, std::size_t length) {
    if (length > kWriteBufferSize || (length > 0 && bytes == nullptr)) {
        return false;
    }
    {
        std::lock_guard lock(m_portLock);
        if (m_writeBuffer.size() != kWriteBufferSize) {
            m_writeBuffer.assign(kWriteBufferSize, 0);
        }
        if (length > 0) {
            std::memcpy(m_writeBuffer.data(), bytes, length);
        }
        m_writeLength = length;
    }
    {
        std::lock_guard lock(m_signalMutex);
        m_writeSignalled = true;
    }
    wakeReader();
    return true;
}

void CSerialPort::setChunkComplete(ChunkComplete complete) {
    std::lock_guard lock(m_signalMutex);
    m_chunkComplete = std::move(complete);
}

void CSerialPort::signalShutdown() {
    {
        std::lock_guard lock(m_signalMutex);
        m_shutdownSignalled = true;
    }
    m_signalCv.notify_all();
    wakeReader();
}

// Ends the running reader, if any, and waits for it. The reader is never left waiting on this
// thread: a chunk in delivery is abandoned once shutdown is signalled, so the wait cannot close
// a cycle even though this thread serves no events while it waits.
void CSerialPort::stopReader() {
    if (!m_reader.joinable()) {
        return;
    }
    for (;;) {
        signalShutdown();
        std::unique_lock lock(m_signalMutex);
        if (m_signalCv.wait_for(lock, std::chrono::milliseconds(kReadIntervalMs),
                                [this] { return m_readerFinished; })) {
            break;
        }
    }
    m_reader.join();
}

void CSerialPort::wakeReader() {
    std::lock_guard lock(m_signalMutex);
    if (m_readerDispatcher != nullptr) {
        m_readerDispatcher->wakeUp();
    }
}

// Closes a device that no reader took over (OpenPort without startReader).
void CSerialPort::closeDevice() {
    if (m_device != nullptr) {
        m_device->close();
        delete m_device;
        m_device = nullptr;
    }
}

void CSerialPort::serveDelivery() {
    std::vector<std::uint8_t> chunk;
    std::uint64_t serial = 0;
    {
        std::lock_guard lock(m_signalMutex);
        if (m_deliveryState != DeliveryState::Pending) {
            return; // abandoned by a reader that was shut down
        }
        chunk = std::move(m_delivery);
        m_delivery.clear();
        m_deliveryState = DeliveryState::Handling;
        serial = m_deliverySerial;
    }
    // The chunk belongs to this frame now: a reader that gives up waiting leaves it valid.
    if (m_owner != nullptr) {
        m_owner->onSerialData(chunk.data(), chunk.size());
    }
    {
        std::lock_guard lock(m_signalMutex);
        if (m_deliverySerial == serial && m_deliveryState == DeliveryState::Handling) {
            m_deliveryState = DeliveryState::Done;
        }
    }
    m_signalCv.notify_all();
}

void CSerialPort::servePortEvent() {
    if (m_owner != nullptr) {
        m_owner->onPortEvent();
    }
}

void CSerialPort::serveReports() {
    for (;;) {
        QString text;
        {
            std::lock_guard lock(m_signalMutex);
            if (m_reports.empty()) {
                return;
            }
            text = std::move(m_reports.front());
            m_reports.pop_front();
        }
        if (m_reporter != nullptr) {
            m_reporter->reportError(text, kCaption);
        }
    }
}

QString CSerialPort::formatPortError(const QString& failedCall, const QString& systemText) const {
    return QStringLiteral("WARNING:  %1 Failed with the following error: \n%2\nPort: %3\n")
        .arg(failedCall, systemText, m_portName);
}

void CSerialPort::ReportPortError(const QString& failedCall, const QString& systemText) {
    if (m_reporter != nullptr) {
        m_reporter->reportError(formatPortError(failedCall, systemText), kCaption);
    }
}

// ---- reader thread ---------------------------------------------------------------------------

void CSerialPort::postPortError(const QString& failedCall, const QString& systemText) {
    {
        std::lock_guard lock(m_signalMutex);
        m_reports.push_back(formatPortError(failedCall, systemText));
    }
    m_courier->postReports();
}

bool CSerialPort::shutdownSignalled() {
    std::lock_guard lock(m_signalMutex);
    return m_shutdownSignalled;
}

void CSerialPort::ReaderLoop() {
    {
        std::unique_lock lock(m_signalMutex);
        m_readerThread = QThread::currentThread();
        m_signalCv.notify_all();
        m_signalCv.wait(lock, [this] { return m_deviceHandedOver; });
    }
    m_inputSignalled = false;
    m_deviceLost = false;
    QSerialPort* device = m_device;
    m_failurePending = false;
    m_failureStreak = 0;
    m_currentCall = QStringLiteral("ReadFile()");
    QObject::connect(device, &QSerialPort::readyRead, device, [this] { m_inputSignalled = true; });
    QObject::connect(device, &QSerialPort::errorOccurred, device,
                     [this](QSerialPort::SerialPortError error) { noteFailure(error); });
    device->clear(QSerialPort::AllDirections);
    QEventLoop events;
    {
        std::lock_guard lock(m_signalMutex);
        m_readerDispatcher = QAbstractEventDispatcher::instance();
    }
    m_readerAlive = true;

    // Served in a fixed order when several are pending: shutdown, then a write, then input.
    for (;;) {
        bool shutdown = false;
        bool write = false;
        {
            std::lock_guard lock(m_signalMutex);
            shutdown = m_shutdownSignalled;
            write = m_writeSignalled;
        }
        if (shutdown) {
            break;
        }
        serveFailure();
        if (m_deviceLost) {
            // A device that went away fails every read and write from now on: tell the user once
            // and close, so that the port can be opened again.
            postPortError(m_failureCall, m_failureText);
            break;
        }
        if (write) {
            SendPendingWrite();
            continue;
        }
        // Input not watched for (no EV_RXCHAR in the mask) stays queued until the next write's
        // purge.
        const bool watched = (m_eventMask & EV_RXCHAR) != 0;
        if (m_inputSignalled || (watched && device->bytesAvailable() > 0)) {
            m_inputSignalled = false;
            if (watched) {
                DrainInput();
            }
            continue;
        }
        events.processEvents(QEventLoop::WaitForMoreEvents);
    }

    device->close();
    delete device;
    {
        std::lock_guard lock(m_signalMutex);
        m_readerDispatcher = nullptr;
        m_device = nullptr;
        m_readerAlive = false;
    }
    m_courier->postPortEvent();
    {
        std::lock_guard lock(m_signalMutex);
        m_readerFinished = true;
    }
    m_signalCv.notify_all();
}

// Records a failure that the device signalled during a read or write; served by serveFailure
// once the call has returned.
void CSerialPort::noteFailure(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || m_failurePending) {
        return;
    }
    m_failurePending = true;
    m_failureError = error;
    m_failureCall = m_currentCall;
    m_failureText = m_device->errorString();
}

// A device that has hung up (cable pulled, far end of a pseudo-terminal closed) or that keeps
// failing is lost: the reader closes it after one report. Any other failure is reported and the
// reader goes on.
void CSerialPort::serveFailure() {
    if (!m_failurePending) {
        return;
    }
    m_failurePending = false;
    m_device->clearError();
    ++m_failureStreak;
    if (deviceHungUp() || m_failureStreak >= kFailureStreakLimit) {
        m_deviceLost = true;
        return;
    }
    if (m_failureError != QSerialPort::ResourceError) {
        postPortError(m_failureCall, m_failureText);
    }
    // A failed read stops the device's read notifications; start them again.
    m_device->setReadBufferSize(0);
}

bool CSerialPort::deviceHungUp() const {
#ifdef Q_OS_UNIX
    pollfd probe{static_cast<int>(m_device->handle()), POLLIN, 0};
    return ::poll(&probe, 1, 0) > 0 && (probe.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    return m_failureError == QSerialPort::ResourceError;
#endif
}

// Moves what the device holds into the read buffer, waiting up to timeoutMs for the first byte.
// Returns true when new bytes arrived; false when the time ran out or the device failed.
bool CSerialPort::pollDevice(int timeoutMs) {
    if (m_device->waitForReadyRead(timeoutMs)) {
        return true;
    }
    if (!m_failurePending) {
        m_device->clearError();
    }
    return false;
}

void CSerialPort::SendPendingWrite() {
    {
        std::lock_guard lock(m_signalMutex);
        m_writeSignalled = false;
    }
    std::lock_guard port(m_portLock);
    // Every command starts from an empty receive queue: input not yet read is stale.
    m_device->clear(QSerialPort::AllDirections);
    m_inputSignalled = false;
    if (m_writeLength == 0) {
        return;
    }
    m_currentCall = QStringLiteral("WriteFile()");
    m_device->write(reinterpret_cast<const char*>(m_writeBuffer.data()),
                    static_cast<qint64>(m_writeLength));
    while (m_device->bytesToWrite() > 0 && !m_failurePending && !shutdownSignalled()) {
        if (!m_device->waitForBytesWritten(kReadIntervalMs) && !m_failurePending) {
            m_device->clearError();
        }
    }
    m_currentCall = QStringLiteral("ReadFile()");
    if (m_failurePending) {
        m_device->clear(QSerialPort::Output); // a failed write is not repeated
        return;
    }
    m_failureStreak = 0;
#ifdef Q_OS_UNIX
    // The write counts as done once its bytes have left: the purge before the next write must
    // not cut off the tail of this one.
    ::tcdrain(static_cast<int>(m_device->handle()));
#endif
}

void CSerialPort::DrainInput() {
    ChunkComplete complete;
    {
        std::lock_guard lock(m_signalMutex);
        complete = m_chunkComplete;
    }
    std::vector<std::uint8_t> gathered;
    int idlePolls = 0;
    ReadEnd lastRead = ReadEnd::Quiet;
    for (;;) {
        serveFailure();
        if (m_deviceLost || shutdownSignalled()) {
            return; // the pass is abandoned; shutdown or the lost device is served next
        }
        if (m_device->bytesAvailable() == 0) {
            // A read that stopped because its buffer was full did not see the line go quiet:
            // give the rest of the reply the read interval to arrive.
            pollDevice(lastRead == ReadEnd::Full ? kReadIntervalMs : 0);
        }
        if (m_device->bytesAvailable() == 0) {
            if (holdInputOpen.load() == 0) {
                break;
            }
            QThread::msleep(kIdlePollMs);
            // Not reset by new input: one pass waits at most 21 idle polls in all.
            if (idlePolls == kMaxIdlePolls) {
                break;
            }
            ++idlePolls;
            continue;
        }
        lastRead = readOnce(gathered, complete);
        if (lastRead == ReadEnd::Complete) {
            break; // the awaited reply is whole: no need to wait for a quiet line
        }
    }
    m_inputSignalled = false;
    if (!gathered.empty()) {
        deliverChunk(std::move(gathered));
    }
}

// One read: up to 4096 bytes, returning once the line has been quiet for the read interval
// (Quiet), the 4096 bytes are in (Full), or the gathered bytes complete the awaited reply
// (Complete).
CSerialPort::ReadEnd CSerialPort::readOnce(std::vector<std::uint8_t>& gathered,
                                           const ChunkComplete& complete) {
    std::size_t taken = 0;
    for (;;) {
        const auto available = static_cast<std::size_t>(m_device->bytesAvailable());
        const std::size_t wanted = std::min(available, kReadSize - taken);
        if (wanted > 0) {
            const std::size_t before = gathered.size();
            gathered.resize(before + wanted);
            const qint64 got = m_device->read(reinterpret_cast<char*>(gathered.data() + before),
                                              static_cast<qint64>(wanted));
            const auto count = static_cast<std::size_t>(std::max<qint64>(got, 0));
            gathered.resize(before + count);
            taken += count;
            if (count > 0) {
                m_failureStreak = 0;
                if (complete && complete(gathered.data(), gathered.size())) {
                    return ReadEnd::Complete;
                }
            }
        }
        if (taken >= kReadSize) {
            return ReadEnd::Full;
        }
        if (m_failurePending || shutdownSignalled() || !pollDevice(kReadIntervalMs)) {
            return ReadEnd::Quiet;
        }
    }
}

// Hands one chunk to the owner's thread and waits until the owner has handled it, or until
// shutdown is signalled: the owner may itself be waiting for this reader to end.
void CSerialPort::deliverChunk(std::vector<std::uint8_t> chunk) {
    {
        std::lock_guard lock(m_signalMutex);
        if (m_shutdownSignalled) {
            return;
        }
        m_delivery = std::move(chunk);
        m_deliveryState = DeliveryState::Pending;
        ++m_deliverySerial;
    }
    m_courier->postDelivery();
    std::unique_lock lock(m_signalMutex);
    m_signalCv.wait(
        lock, [this] { return m_deliveryState == DeliveryState::Done || m_shutdownSignalled; });
    if (m_deliveryState != DeliveryState::Handling) {
        m_deliveryState = DeliveryState::None;
        m_delivery.clear();
    }
}

} // namespace kestrava
