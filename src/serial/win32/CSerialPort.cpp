// The Win32 back end of CSerialPort: the COM device opened for overlapped I/O, configured with
// SetCommTimeouts, SetCommMask and SetCommState, and served by one reader thread that waits on
// three events in a fixed order (shutdown, write, input).
//
// Input is watched with an overlapped ReadFile of one byte rather than WaitCommEvent: a comm-event
// wait is not available on every COM driver (wine's on a pseudo-terminal fails at once), while
// overlapped reads and writes work everywhere. Once a byte has come, the bytes queued behind it
// are read at once and the reader waits up to the read interval for the next one, so a reply is
// gathered until the line has been quiet for 50 ms, and handed over early once it is complete.
#include "serial/CSerialPort.h"

#include "serial/PortCourier.h"

#include <QThread>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <system_error>
#include <utility>

namespace kestrava {

namespace {

const QString kCaption = QStringLiteral("Application Error");

// Consecutive failed reads or writes, with no byte read in between, after which the device counts
// as gone even though it has not said so.
constexpr int kFailureStreakLimit = 3;

// The system's text for an error code, in the default language, without its line end.
QString systemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text;
    if (length > 0 && buffer != nullptr) {
        text = QString::fromWCharArray(buffer, static_cast<qsizetype>(length)).trimmed();
    }
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    if (text.isEmpty()) {
        text = QStringLiteral("Error %1").arg(code);
    }
    return text;
}

// Errors with which a device that went away (adapter unplugged, far end closed) fails its calls.
bool meansDeviceGone(DWORD code) {
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_GEN_FAILURE:
    case ERROR_HANDLE_EOF:
    case ERROR_INVALID_HANDLE:
    case ERROR_BROKEN_PIPE:
    case ERROR_NOT_READY:
        return true;
    default:
        return false;
    }
}

// "COM9" opens by its short name, "COM10" and above by the device namespace form \\.\COM10; any
// other name (a device path already) is used as it is.
std::wstring deviceNameOf(const QString& portName) {
    static const QString prefix = QStringLiteral("COM");
    if (portName.startsWith(prefix, Qt::CaseInsensitive)) {
        bool ok = false;
        const uint number = portName.mid(prefix.size()).toUInt(&ok);
        if (ok && number < 10) {
            return QStringLiteral("COM%1").arg(number).toStdWString();
        }
        if (ok) {
            return QStringLiteral("\\\\.\\COM%1").arg(number).toStdWString();
        }
    }
    return portName.toStdWString();
}

} // namespace

struct CSerialPort::Win32Device {
    HANDLE handle = INVALID_HANDLE_VALUE;
    // The events of the reader's wait, in the order they are served: shutdown, write, input.
    HANDLE shutdownEvent = nullptr;
    HANDLE writeEvent = nullptr;
    OVERLAPPED readRecord{};
    OVERLAPPED writeRecord{};
    HANDLE queueEvent = nullptr; // reads of bytes already queued
    std::uint8_t readByte = 0;
    bool readPending = false;

    Win32Device() {
        shutdownEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        writeEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        readRecord.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        writeRecord.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        queueEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~Win32Device() {
        close();
        for (HANDLE event :
             {shutdownEvent, writeEvent, readRecord.hEvent, writeRecord.hEvent, queueEvent}) {
            if (event != nullptr) {
                CloseHandle(event);
            }
        }
    }
    Win32Device(const Win32Device&) = delete;
    Win32Device& operator=(const Win32Device&) = delete;

    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }
    void purge() const {
        PurgeComm(handle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    }
    void close() {
        if (isOpen()) {
            CloseHandle(handle);
            handle = INVALID_HANDLE_VALUE;
        }
        readPending = false;
    }
};

CSerialPort::CSerialPort(PortErrorReporter* reporter)
    : m_reporter(reporter),
      m_courier(std::make_unique<PortCourier>(
          [this] { serveDelivery(); }, [this] { servePortEvent(); }, [this] { serveReports(); })),
      m_win32(std::make_unique<Win32Device>()) {
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
    ResetEvent(m_win32->shutdownEvent);
    ResetEvent(m_win32->writeEvent);
    ResetEvent(m_win32->readRecord.hEvent);
    m_owner = owner;
    {
        std::lock_guard lock(m_portLock);
        m_writeBuffer.assign(kWriteBufferSize, 0);
        m_writeLength = 0;
    }
    m_portName = portName;
    m_eventMask = eventMask;
    closeDevice();

    m_openError.clear();
    const std::wstring device = deviceNameOf(portName);
    HANDLE handle = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_openError = systemText(GetLastError());
        return false;
    }
    m_win32->handle = handle;

    // Configured step by step; the first step that fails is reported and the rest skipped.
    QString failedCall;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadIntervalMs;
    DCB state{};
    state.DCBlength = sizeof state;
    const std::wstring mode = QStringLiteral("baud=%1 parity=%2 data=%3 stop=%4")
                                  .arg(baudRate)
                                  .arg(QLatin1Char('N'))
                                  .arg(8)
                                  .arg(1)
                                  .toStdWString();
    if (!SetCommTimeouts(handle, &timeouts)) {
        failedCall = QStringLiteral("SetCommTimeouts()");
    } else if (!SetCommMask(handle, eventMask)) {
        failedCall = QStringLiteral("SetCommMask()");
    } else if (!GetCommState(handle, &state)) {
        failedCall = QStringLiteral("GetCommState()");
    } else {
        state.fRtsControl = RTS_CONTROL_DISABLE;
        if (baudRate <= 0 || !BuildCommDCBW(mode.c_str(), &state)) {
            if (baudRate <= 0) {
                SetLastError(ERROR_INVALID_PARAMETER);
            }
            failedCall = QStringLiteral("BuildCommDCB()");
        } else {
            // No flow control of any kind: the receiver's line has data wires only.
            state.fBinary = TRUE;
            state.fOutxCtsFlow = FALSE;
            state.fOutxDsrFlow = FALSE;
            state.fDsrSensitivity = FALSE;
            state.fOutX = FALSE;
            state.fInX = FALSE;
            state.fRtsControl = RTS_CONTROL_DISABLE;
            if (!SetCommState(handle, &state)) {
                failedCall = QStringLiteral("SetCommState()");
            }
        }
    }
    if (!failedCall.isEmpty()) {
        const QString text = systemText(GetLastError());
        m_win32->purge();
        ReportPortError(failedCall, text);
        return true;
    }
    m_win32->purge();
    return true;
}

bool CSerialPort::startReader() {
    if (!m_win32->isOpen() || m_reader.joinable()) {
        return false;
    }
    {
        std::lock_guard lock(m_signalMutex);
        m_readerFinished = false;
    }
    try {
        m_reader = std::thread([this] { ReaderLoop(); });
    } catch (const std::system_error&) {
        return false;
    }
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
    SetEvent(m_win32->shutdownEvent);
    m_signalCv.notify_all();
}

// Ends the running reader, if any, and waits for it. A chunk in delivery is abandoned once
// shutdown is signalled, so the reader never waits for this thread while this thread waits.
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
    SetEvent(m_win32->writeEvent);
}

// Closes a device that no reader took over (OpenPort without startReader).
void CSerialPort::closeDevice() {
    m_win32->close();
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

QString CSerialPort::formatPortError(const QString& failedCall, const QString& text) const {
    return QStringLiteral("WARNING:  %1 Failed with the following error: \n%2\nPort: %3\n")
        .arg(failedCall, text, m_portName);
}

void CSerialPort::ReportPortError(const QString& failedCall, const QString& text) {
    if (m_reporter != nullptr) {
        m_reporter->reportError(formatPortError(failedCall, text), kCaption);
    }
}

// ---- reader thread ---------------------------------------------------------------------------

void CSerialPort::postPortError(const QString& failedCall, const QString& text) {
    {
        std::lock_guard lock(m_signalMutex);
        m_reports.push_back(formatPortError(failedCall, text));
    }
    m_courier->postReports();
}

bool CSerialPort::shutdownSignalled() {
    std::lock_guard lock(m_signalMutex);
    return m_shutdownSignalled;
}

// A failed call: reported, and counted towards the streak after which the device is lost. A
// device that says it has gone is lost at once and reported once, when the reader closes it.
void CSerialPort::noteFailure(const QString& call, unsigned long code) {
    ++m_failureStreak;
    m_failureCall = call;
    m_failureText = systemText(code);
    if (meansDeviceGone(code) || m_failureStreak >= kFailureStreakLimit) {
        m_deviceLost = true;
        return;
    }
    postPortError(call, m_failureText);
}

// Starts the overlapped one-byte read that tells the reader input has come. Input not watched
// for (no EV_RXCHAR in the mask) stays queued until the next write's purge.
void CSerialPort::startRead() {
    Win32Device& device = *m_win32;
    if (device.readPending || (m_eventMask & EV_RXCHAR) == 0) {
        return;
    }
    ResetEvent(device.readRecord.hEvent);
    device.readRecord.Offset = 0;
    device.readRecord.OffsetHigh = 0;
    if (ReadFile(device.handle, &device.readByte, 1, nullptr, &device.readRecord)) {
        device.readPending = true; // done at once; its event is signalled
        return;
    }
    const DWORD code = GetLastError();
    if (code == ERROR_IO_PENDING) {
        device.readPending = true;
        return;
    }
    noteFailure(QStringLiteral("ReadFile()"), code);
    if (!m_deviceLost) {
        // A read that fails at once would fail again at once: give the line a moment.
        WaitForSingleObject(device.shutdownEvent, kReadIntervalMs);
    }
}

// Waits up to timeoutMs for the pending read to bring a byte; false on time-out or shutdown.
bool CSerialPort::waitForInput(unsigned long timeoutMs) {
    Win32Device& device = *m_win32;
    startRead();
    if (!device.readPending) {
        return false;
    }
    const HANDLE events[2] = {device.shutdownEvent, device.readRecord.hEvent};
    return WaitForMultipleObjects(2, events, FALSE, timeoutMs) == WAIT_OBJECT_0 + 1;
}

// Collects the completed one-byte read into gathered.
void CSerialPort::takeRead(std::vector<std::uint8_t>& gathered) {
    Win32Device& device = *m_win32;
    if (!device.readPending) {
        return;
    }
    DWORD count = 0;
    const BOOL done = GetOverlappedResult(device.handle, &device.readRecord, &count, TRUE);
    device.readPending = false;
    if (!done) {
        noteFailure(QStringLiteral("GetOverlappedResults() in ReadFile()"), GetLastError());
        return;
    }
    if (count == 0) {
        // A one-byte read without a total time-out ends with no byte only at the device's end.
        noteFailure(QStringLiteral("ReadFile()"), ERROR_HANDLE_EOF);
        return;
    }
    gathered.push_back(device.readByte);
    m_failureStreak = 0;
}

// Abandons the pending read; a byte it took meanwhile is dropped with the rest of the input.
void CSerialPort::cancelRead() {
    Win32Device& device = *m_win32;
    if (!device.readPending) {
        return;
    }
    CancelIoEx(device.handle, &device.readRecord);
    DWORD count = 0;
    GetOverlappedResult(device.handle, &device.readRecord, &count, TRUE);
    device.readPending = false;
}

// The bytes in the device's input queue; 0 after a failure (which is noted).
std::size_t CSerialPort::queuedBytes() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(m_win32->handle, &errors, &status)) {
        noteFailure(QStringLiteral("ClearCommError()"), GetLastError());
        return 0;
    }
    return status.cbInQue;
}

void CSerialPort::ReaderLoop() {
    Win32Device& device = *m_win32;
    m_inputSignalled = false;
    m_deviceLost = false;
    m_failureStreak = 0;
    device.readPending = false;
    device.purge();
    m_readerAlive = true;

    // Served in a fixed order when several are signalled: shutdown, then a write, then input.
    for (;;) {
        if (m_deviceLost) {
            // A device that went away fails every call from now on: tell the user once and
            // close, so that the port can be opened again.
            postPortError(m_failureCall, m_failureText);
            break;
        }
        startRead();
        if (m_deviceLost) {
            continue;
        }
        HANDLE events[3] = {device.shutdownEvent, device.writeEvent, device.readRecord.hEvent};
        const DWORD count = device.readPending ? 3 : 2;
        const DWORD which = WaitForMultipleObjects(count, events, FALSE, INFINITE);
        if (which == WAIT_OBJECT_0 || shutdownSignalled()) {
            break;
        }
        if (which == WAIT_OBJECT_0 + 1) {
            SendPendingWrite();
            continue;
        }
        if (which == WAIT_OBJECT_0 + 2) {
            DrainInput();
            continue;
        }
        noteFailure(QStringLiteral("WaitForMultipleObjects()"), GetLastError());
    }

    cancelRead();
    {
        std::lock_guard port(m_portLock);
        device.close();
    }
    {
        std::lock_guard lock(m_signalMutex);
        m_readerAlive = false;
    }
    m_courier->postPortEvent();
    {
        std::lock_guard lock(m_signalMutex);
        m_readerFinished = true;
    }
    m_signalCv.notify_all();
}

void CSerialPort::SendPendingWrite() {
    Win32Device& device = *m_win32;
    {
        std::lock_guard lock(m_signalMutex);
        m_writeSignalled = false;
    }
    ResetEvent(device.writeEvent);
    std::lock_guard port(m_portLock);
    // Every command starts from an empty receive queue: input not yet read is stale.
    cancelRead();
    device.purge();
    if (m_writeLength == 0) {
        return;
    }
    ResetEvent(device.writeRecord.hEvent);
    device.writeRecord.Offset = 0;
    device.writeRecord.OffsetHigh = 0;
    DWORD written = 0;
    BOOL done = WriteFile(device.handle, m_writeBuffer.data(), static_cast<DWORD>(m_writeLength),
                          &written, &device.writeRecord);
    if (!done && GetLastError() == ERROR_IO_PENDING) {
        const HANDLE events[2] = {device.shutdownEvent, device.writeRecord.hEvent};
        if (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) {
            CancelIoEx(device.handle, &device.writeRecord);
        }
        done = GetOverlappedResult(device.handle, &device.writeRecord, &written, TRUE);
        if (!done && GetLastError() == ERROR_OPERATION_ABORTED && shutdownSignalled()) {
            return;
        }
    }
    if (!done) {
        noteFailure(QStringLiteral("WriteFile()"), GetLastError()); // not repeated
        return;
    }
    m_failureStreak = 0;
    // The write counts as done once its bytes have left: the purge before the next write must
    // not cut off the tail of this one.
    FlushFileBuffers(device.handle);
}

void CSerialPort::DrainInput() {
    ChunkComplete complete;
    {
        std::lock_guard lock(m_signalMutex);
        complete = m_chunkComplete;
    }
    std::vector<std::uint8_t> gathered;
    takeRead(gathered);
    ReadEnd lastRead = ReadEnd::Quiet;
    if (!gathered.empty()) {
        lastRead = complete && complete(gathered.data(), gathered.size())
                       ? ReadEnd::Complete
                       : readOnce(gathered, complete);
    }
    // The hold is bounded by time, not by the number of polls: a 5 ms wait lasts a whole timer
    // tick (about 15 ms) on Windows, so 20 polls would hold the input three times too long.
    using Clock = std::chrono::steady_clock;
    std::optional<Clock::time_point> holdEnd;
    while (lastRead != ReadEnd::Complete && !gathered.empty()) {
        if (m_deviceLost || shutdownSignalled()) {
            return; // the pass is abandoned; shutdown or the lost device is served next
        }
        // A read that stopped because its buffer was full did not see the line go quiet: give
        // the rest of the reply the read interval to arrive. Otherwise the line is quiet; while
        // the input is held open, look again every 5 ms for about 105 ms in all in one pass (not
        // counted afresh when more input comes).
        DWORD wait = kIdlePollMs;
        if (lastRead == ReadEnd::Full) {
            wait = kReadIntervalMs;
        } else if (holdInputOpen.load() == 0) {
            break;
        } else {
            const auto now = Clock::now();
            if (!holdEnd) {
                holdEnd = now + std::chrono::milliseconds(kIdlePollMs * (kMaxIdlePolls + 1));
            }
            if (now >= *holdEnd) {
                break;
            }
        }
        if (!waitForInput(wait)) {
            if (lastRead == ReadEnd::Full) {
                lastRead = ReadEnd::Quiet;
            }
            continue;
        }
        takeRead(gathered);
        lastRead = readOnce(gathered, complete);
    }
    if (!m_deviceLost && !gathered.empty() && !shutdownSignalled()) {
        deliverChunk(std::move(gathered));
    }
}

// One read, after its first byte has come: the bytes queued behind it, then every byte that
// follows until the line has been quiet for the read interval (Quiet), 4096 bytes are in (Full),
// or the gathered bytes complete the awaited reply (Complete).
CSerialPort::ReadEnd CSerialPort::readOnce(std::vector<std::uint8_t>& gathered,
                                           const ChunkComplete& complete) {
    Win32Device& device = *m_win32;
    std::size_t taken = 1;
    for (;;) {
        const std::size_t queued = queuedBytes();
        const std::size_t wanted = std::min(queued, kReadSize - taken);
        if (wanted > 0) {
            const std::size_t before = gathered.size();
            gathered.resize(before + wanted);
            std::lock_guard port(m_portLock);
            OVERLAPPED record{};
            record.hEvent = device.queueEvent;
            ResetEvent(record.hEvent);
            DWORD count = 0;
            BOOL done = ReadFile(device.handle, gathered.data() + before,
                                 static_cast<DWORD>(wanted), &count, &record);
            if (!done && GetLastError() == ERROR_IO_PENDING) {
                // The bytes are queued already: the read ends at once.
                done = GetOverlappedResult(device.handle, &record, &count, TRUE);
                if (!done) {
                    noteFailure(QStringLiteral("GetOverlappedResults() in ReadFile()"),
                                GetLastError());
                }
            } else if (!done) {
                noteFailure(QStringLiteral("ReadFile()"), GetLastError());
            }
            gathered.resize(before + (done ? count : 0));
            taken += done ? count : 0;
            if (done && count > 0) {
                m_failureStreak = 0;
                if (complete && complete(gathered.data(), gathered.size())) {
                    return ReadEnd::Complete;
                }
            }
            if (!done) {
                return ReadEnd::Quiet;
            }
        }
        if (taken >= kReadSize) {
            return ReadEnd::Full;
        }
        if (m_deviceLost || shutdownSignalled() || !waitForInput(kReadIntervalMs)) {
            return ReadEnd::Quiet;
        }
        takeRead(gathered);
        ++taken;
        if (complete && complete(gathered.data(), gathered.size())) {
            return ReadEnd::Complete;
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
