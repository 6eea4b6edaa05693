#pragma once

#include "serial/PortErrorReporter.h"
#include "serial/SerialPortOwner.h"

#include <QString>
#include <QtGlobal>
#ifndef Q_OS_WIN
#include <QSerialPort>
#endif

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#ifndef Q_OS_WIN
class QAbstractEventDispatcher;
class QThread;
#endif

namespace kestrava {

class PortCourier;

// Process-wide input hold. While it is 1 the reader waits up to about 100 ms more for further
// bursts once the input queue has run dry, so that a reply sent in several bursts reaches the
// owner as one chunk; while it is 0 a chunk is handed on as soon as the line has been quiet for
// the read interval. Set to 1 when a port is constructed, opened or destroyed; the main window
// sets it from the receiver type after reading the main information.
inline std::atomic<int> holdInputOpen{1};

// The serial link to the receiver. The owner opens the device with OpenPort and then starts one
// reader thread for that opening; from then on every read and write of the device happens on the
// reader thread. The owner queues writes, watches readerAlive, and receives each chunk of input
// synchronously (MSG_SERIAL_DATA) and a notice once the reader has closed the device
// (MSG_PORT_EVENT), both on the owner's thread. Failures of the device are reported through the
// PortErrorReporter with the caption "Application Error" and work goes on; a device that has gone
// away (cable pulled) is reported once and closed, and MSG_PORT_EVENT follows.
//
// Threading: construct, open, start, write to and destroy the port on one thread, the owner's,
// which must run a Qt event loop. Waiting for a reader (OpenPort on an open port, destruction)
// never deadlocks against a chunk in delivery: once shutdown is signalled the reader drops a
// chunk the owner has not yet taken and stops waiting for a handler that is still running (the
// handler keeps its bytes until it returns).
//
// Two back ends offer this interface: QtSerialPort on Linux, the Win32 communications functions
// on Windows (overlapped reads and writes of the COM device, failures reported with the system's
// own texts). Both apply the same quiet-line rule and the same frame-end hand-over.
class CSerialPort {
public:
    // Event mask bits; the main window passes both (3).
    static constexpr std::uint32_t EV_RXCHAR = 0x0001;
    static constexpr std::uint32_t EV_RXFLAG = 0x0002;

    static constexpr qint32 kNormalBaudRate = 19200;
    static constexpr qint32 kFastBaudRate = 115200;
    static constexpr std::size_t kWriteBufferSize = 1024;
    static constexpr std::size_t kReadSize = 4096;
    static constexpr int kReadIntervalMs = 50;
    static constexpr int kIdlePollMs = 5;
    static constexpr int kMaxIdlePolls = 20;

    explicit CSerialPort(PortErrorReporter* reporter = nullptr);
    virtual ~CSerialPort();

    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens portName ("COM3" on Windows, a device path such as /dev/ttyUSB0 on Linux) at baudRate
    // with 8 data bits, no parity, 1 stop bit, no flow control and RTS off. A reader still running
    // is ended first; its MSG_PORT_EVENT is still posted. Returns false, reporting nothing, when
    // the device cannot be opened (missing, or held by another opening). A failed configuration
    // step is reported and still returns true: the device is open with the settings it had.
    bool OpenPort(SerialPortOwner* owner, const QString& portName, qint32 baudRate,
                  std::uint32_t eventMask);

    // Starts the reader thread for the device that the last OpenPort opened. Returns false when
    // there is no such device or its reader has already been started.
    bool startReader();

    // Copies length bytes into the write buffer and signals the reader to send them. A frame is
    // never overwritten while it is being written. Returns false, queuing nothing, for a length
    // beyond the 1024-byte buffer.
    bool QueueWrite(const std::uint8_t* bytes, std::size_t length);

    // What completes the reply awaited after the next write: given the bytes gathered so far in
    // a pass, true once they hold that whole reply. The reader then hands the chunk over at
    // once instead of waiting for the line to go quiet. Without one (the default), or while it
    // says false, the quiet-line rule alone decides. Called on the reader thread; set it from
    // the owner's thread before the write whose reply it describes.
    using ChunkComplete = std::function<bool(const std::uint8_t* bytes, std::size_t count)>;
    void setChunkComplete(ChunkComplete complete);

    // Asks the reader to close the device; does not wait. MSG_PORT_EVENT follows.
    void signalShutdown();

    // True from the moment the reader runs until it has closed the device: the sign, everywhere
    // in the program, that the port is open.
    bool readerAlive() const { return m_readerAlive.load(); }

    QString portName() const { return m_portName; }
    // The system's reason why the last OpenPort returned false ("Permission denied"); empty
    // after an OpenPort that opened the device.
    QString openError() const { return m_openError; }

private:
    enum class DeliveryState { None, Pending, Handling, Done };

    void ReaderLoop();
    void SendPendingWrite();
    void DrainInput();
    enum class ReadEnd { Quiet, Full, Complete };
    ReadEnd readOnce(std::vector<std::uint8_t>& gathered, const ChunkComplete& complete);
    void deliverChunk(std::vector<std::uint8_t> chunk);
#ifdef Q_OS_WIN
    struct Win32Device;
    void startRead();
    bool waitForInput(unsigned long timeoutMs);
    void takeRead(std::vector<std::uint8_t>& gathered);
    void cancelRead();
    std::size_t queuedBytes();
    void noteFailure(const QString& call, unsigned long code);
#else
    bool pollDevice(int timeoutMs);
    void noteFailure(QSerialPort::SerialPortError error);
    void serveFailure();
    bool deviceHungUp() const;
#endif

    bool shutdownSignalled();
    void stopReader();
    void wakeReader();
    void closeDevice();
    bool configure(qint32 baudRate, QString& failedCall);

    QString formatPortError(const QString& failedCall, const QString& systemText) const;
    void ReportPortError(const QString& failedCall, const QString& systemText);
    void postPortError(const QString& failedCall, const QString& systemText);

    // Owner-thread ends of the courier.
    void serveDelivery();
    void servePortEvent();
    void serveReports();

    PortErrorReporter* m_reporter;
    QString m_openError;
    SerialPortOwner* m_owner = nullptr;
    std::unique_ptr<PortCourier> m_courier;
    QString m_portName;
    std::uint32_t m_eventMask = 0;

#ifdef Q_OS_WIN
    // The device handle, the events and the overlapped records. The handle is used by the
    // owner's thread until the reader starts, then only by the reader, which closes it.
    std::unique_ptr<Win32Device> m_win32;
#else
    // The device of the current opening: used by the owner's thread until the reader starts,
    // then only by the reader, which closes and deletes it before it ends.
    QSerialPort* m_device = nullptr;
#endif
    std::thread m_reader;
    std::atomic<bool> m_readerAlive{false};

    // Port lock: the write buffer and length, held for the whole of one write.
    std::mutex m_portLock;
    std::vector<std::uint8_t> m_writeBuffer;
    std::size_t m_writeLength = 0;

    // Signals between the threads and the chunk in delivery.
    std::mutex m_signalMutex;
    std::condition_variable m_signalCv;
    bool m_shutdownSignalled = false;
    bool m_writeSignalled = false;
#ifndef Q_OS_WIN
    QAbstractEventDispatcher* m_readerDispatcher = nullptr;
    QThread* m_readerThread = nullptr;
    bool m_deviceHandedOver = false;
#endif
    bool m_readerFinished = false;
    DeliveryState m_deliveryState = DeliveryState::None;
    std::uint64_t m_deliverySerial = 0;
    std::vector<std::uint8_t> m_delivery;
    std::deque<QString> m_reports;
    ChunkComplete m_chunkComplete;

    // Reader-thread state of the current opening.
    bool m_inputSignalled = false;
    bool m_deviceLost = false;
    bool m_failurePending = false;
    int m_failureStreak = 0;
#ifndef Q_OS_WIN
    QSerialPort::SerialPortError m_failureError = QSerialPort::NoError;
#endif
    QString m_currentCall;
    QString m_failureCall;
    QString m_failureText;
};

} // namespace kestrava
