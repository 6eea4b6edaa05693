#pragma once

#include "exchange/FirmwareJob.h"
#include "exchange/FirmwareTransfer.h"
#include "protocol/CommandTable.h"
#include "protocol/FirmwareCommands.h"

#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace kestrava {

class CommandExchange;

// One firmware update at a time, driven through the exchange: the handshake repeated every
// 500 ms until the receiver's loader answers, the optional switch to 115200 baud, then one block
// in flight at a time, each guarded by a 2-second watchdog, with up to three resends of a
// refused block, and the return to 19200 baud after a fast transfer.
//
// Guarantees: every way back to idle stops both firmware timers first, closes the image, clears
// the awaited reply (so a late answer changes nothing), returns the port to 19200 baud after a
// fast transfer, and only then reports the end through finished(); runningChanged(false) comes
// just before it. While the update runs, the exchange refuses every other command.
class FirmwareUpdater : public QObject, public FirmwareTransfer {
    Q_OBJECT

public:
    enum class State { Idle, Handshake, Reopening, Sending };

    static constexpr int kStartRepeatMs = CommandTable::row(CommandId::FirmwareStart).timeoutMs;
    static constexpr int kBlockWatchdogMs = CommandTable::row(CommandId::FirmwareBlock).timeoutMs;
    static constexpr int kMaxResends = 3;
    static constexpr std::int32_t kFastBaudRate = 115200;
    static constexpr std::int32_t kNormalBaudRate = 19200;
    static constexpr std::uint32_t kReceiverAddress = 0x40008000u;
    static constexpr int kProgressRange = 300;

    // Names itself as the exchange's firmware transfer; the exchange must outlive it.
    explicit FirmwareUpdater(CommandExchange& exchange, QObject* parent = nullptr);
    ~FirmwareUpdater() override;

    // Starts the handshake for a job that passed FirmwareForm. False (nothing sent) when the
    // port is closed or an update already runs.
    bool start(const FirmwareJob& job);
    // Ends the update now without a message: meant for the handshake, while the receiver has
    // not answered (the user gave up switching it on).
    void stop();

    State state() const { return m_state; }
    bool running() const override { return m_state != State::Idle; }
    bool fast() const { return m_fast; }
    std::int64_t bytesSent() const { return m_bytesSent; }
    std::int64_t imageSize() const { return m_imageSize; }
    int resendCount() const { return m_resendCount; }
    const FirmwareJob& job() const { return m_job; }

    // FirmwareTransfer.
    void onStartReply(int data) override;
    void onBlockReply(int outcome) override;
    void onTimer(int timerId) override;
    void onPortReopened(bool portOpen) override;

signals:
    // True when the update starts, false when it is back to idle (before finished()).
    void runningChanged(bool running);
    // The receiver's loader answered with a matching hardware code: blocks follow.
    void handshakeAnswered();
    // position in 0..300; sent and size in bytes.
    void progressChanged(int position, std::int64_t sent, std::int64_t size);
    // The update is over. english: "Update successfully,Please restart the receiver" on
    // success (every byte of the image as it was at Start accepted), the failure's message
    // otherwise ("The FW file changed during the update" when the file's size or time differs
    // from Start), empty after stop().
    void finished(bool success, const QString& english);

private:
    void beginSending();
    void sendBlock(bool resend);
    void finish(bool success, const QString& english);
    // The open image still has the size and time it had at Start.
    bool imageAsChecked() const;

    CommandExchange& m_exchange;
    State m_state = State::Idle;
    FirmwareJob m_job;
    std::optional<FirmwareLayout> m_layout;
    QFile m_image;
    std::int64_t m_imageSize = 0; // fixed at Start
    QDateTime m_imageTime;        // the image's modification time at Start
    std::int64_t m_bytesSent = 0;
    std::int64_t m_blockStart = 0;
    std::uint32_t m_address = 0;
    std::uint32_t m_blockIndex = 0;
    std::uint32_t m_lastLength = 0;
    int m_resendCount = 0;
    bool m_fast = false;
};

} // namespace kestrava
