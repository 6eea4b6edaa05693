#include "exchange/FirmwareUpdater.h"

#include "exchange/CommandExchange.h"
#include "exchange/ReplyTimers.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace kestrava {

namespace {

// The outcomes are handed on in English and translated where they are shown.
const QString kSuccess =
    QString::fromLatin1(QT_TR_NOOP("Update successfully,Please restart the receiver"));
const QString kFailed =
    QString::fromLatin1(QT_TR_NOOP("Fail to update,pls close the receiver and try again"));
const QString kMismatch = QString::fromLatin1(QT_TR_NOOP("Hardware don't match the FW file"));
const QString kUnreadable = QString::fromLatin1(QT_TR_NOOP("Fail to read the FW file"));
const QString kChanged = QString::fromLatin1(QT_TR_NOOP("The FW file changed during the update"));
const QString kNoFastLine =
    QString::fromLatin1(QT_TR_NOOP("Fail to switch the port to 115200 baud"));

QString failureText(int outcome) {
    switch (outcome) {
    case 1:
        return QString::fromLatin1(QT_TR_NOOP("Translate data wrong"));
    case 2:
        return QString::fromLatin1(QT_TR_NOOP("Write data wrong"));
    case 5:
        return QString::fromLatin1(QT_TR_NOOP("Wrong address when update"));
    default:
        return kFailed;
    }
}

} // namespace

FirmwareUpdater::FirmwareUpdater(CommandExchange& exchange, QObject* parent)
    : QObject(parent), m_exchange(exchange) {
    m_exchange.setFirmwareTransfer(this);
}

FirmwareUpdater::~FirmwareUpdater() {
    m_exchange.setFirmwareTransfer(nullptr);
}

bool FirmwareUpdater::start(const FirmwareJob& job) {
    if (running() || !m_exchange.portOpen()) {
        return false;
    }
    // The image is the one checked at Start: its size and time are fixed now, and a file that
    // differs from them later ends the update instead of being sent.
    const QFileInfo checked(job.path);
    m_job = job;
    m_layout.reset();
    m_fast = false;
    m_imageSize = job.imageSize > 0 ? job.imageSize : checked.size();
    m_imageTime = checked.lastModified();
    m_bytesSent = 0;
    m_blockStart = 0;
    m_blockIndex = 0;
    m_lastLength = 0;
    m_resendCount = 0;
    m_address = job.type == 1 ? kReceiverAddress : 0u;

    DecoderState& state = m_exchange.decoderState();
    state.firmwareHardwareCode = job.hardwareCode;
    state.firmwareRetryCount = 0;
    state.firmwareAddress = m_address;
    state.firmwareLastLength = 0;

    m_state = State::Handshake;
    emit runningChanged(true);
    m_exchange.request(CommandId::FirmwareStart,
                       requestargs::FirmwareStart{static_cast<Byte>(m_job.type), false});
    m_exchange.timers().start(TIMER_FIRMWARE_START, kStartRepeatMs);
    return true;
}

void FirmwareUpdater::stop() {
    if (running()) {
        finish(false, QString());
    }
}

void FirmwareUpdater::onStartReply(int data) {
    m_exchange.timers().stop(TIMER_FIRMWARE_START);
    if (m_state != State::Handshake) {
        return;
    }
    if (data == 0) {
        finish(false, kMismatch);
        return;
    }
    m_fast = data >= 2;
    m_layout = firmwareLayoutFor(m_job.hardwareCode, m_fast);
    if (!m_layout) {
        // Refused at Start already; kept so that no code can leave the update waiting.
        finish(false, kMismatch);
        return;
    }
    if (m_fast) {
        m_state = State::Reopening;
        m_exchange.requestReopen(kFastBaudRate, true);
        return;
    }
    beginSending();
}

void FirmwareUpdater::onPortReopened(bool portOpen) {
    if (m_state != State::Reopening) {
        return;
    }
    if (!portOpen) {
        finish(false, kNoFastLine);
        return;
    }
    beginSending();
}

void FirmwareUpdater::beginSending() {
    m_image.setFileName(m_job.path);
    if (!m_image.open(QIODevice::ReadOnly)) {
        finish(false, kUnreadable);
        return;
    }
    if (m_imageSize <= 0) {
        finish(false, kUnreadable);
        return;
    }
    if (!imageAsChecked()) {
        finish(false, kChanged);
        return;
    }
    m_state = State::Sending;
    emit handshakeAnswered();
    sendBlock(false);
}

void FirmwareUpdater::sendBlock(bool resend) {
    if (m_state != State::Sending || !m_image.isOpen() || !m_layout) {
        return;
    }
    if (resend) {
        m_address -= m_lastLength;
        m_bytesSent -= m_lastLength;
        m_blockIndex -= 1;
        m_resendCount += 1;
        if (!m_image.seek(m_blockStart)) {
            finish(false, kUnreadable);
            return;
        }
    }
    if (!imageAsChecked()) {
        finish(false, kChanged);
        return;
    }
    m_blockStart = m_image.pos();
    const std::int64_t left = m_imageSize - m_blockStart;
    if (left <= 0) {
        finish(true, kSuccess); // every byte of the checked image has been accepted
        return;
    }
    std::array<Byte, 512> data{};
    const auto capacity =
        static_cast<std::int64_t>(std::min(firmwareBlockCapacity(*m_layout), data.size()));
    const qint64 wanted = std::min(capacity, left);
    const qint64 read = m_image.read(reinterpret_cast<char*>(data.data()), wanted);
    if (read < 0) {
        finish(false, kUnreadable);
        return;
    }
    if (read < wanted) {
        finish(false, kChanged); // the file is shorter than it was at Start
        return;
    }
    const auto count = static_cast<std::size_t>(read);
    const std::uint32_t position = m_fast ? m_blockIndex : m_address;
    m_exchange.request(
        CommandId::FirmwareBlock,
        requestargs::FirmwareBlock{*m_layout, std::span<const Byte>(data.data(), count), position});
    m_lastLength = m_exchange.decoderState().firmwareLastLength;
    m_bytesSent += m_lastLength;
    m_address += m_lastLength;
    m_blockIndex += 1;
    m_exchange.decoderState().firmwareAddress = m_address;
    // Every block, the first and every resend included, has its watchdog: a receiver that
    // falls silent ends the update instead of holding the window.
    m_exchange.timers().start(TIMER_FIRMWARE_BLOCK, kBlockWatchdogMs);
    const std::int64_t shown = std::min(m_bytesSent, m_imageSize);
    emit progressChanged(static_cast<int>(shown * kProgressRange / m_imageSize), shown,
                         m_imageSize);
}

bool FirmwareUpdater::imageAsChecked() const {
    return m_image.size() == m_imageSize &&
           m_image.fileTime(QFileDevice::FileModificationTime) == m_imageTime;
}

void FirmwareUpdater::onBlockReply(int outcome) {
    if (m_state != State::Sending) {
        return; // a late answer after the end changes nothing
    }
    if (outcome == 0) {
        m_exchange.timers().stop(TIMER_FIRMWARE_BLOCK);
        m_resendCount = 0;
        sendBlock(false);
        return;
    }
    if (outcome == 10 && m_resendCount < kMaxResends) {
        sendBlock(true);
        return;
    }
    finish(false, failureText(outcome));
}

void FirmwareUpdater::onTimer(int timerId) {
    if (timerId == TIMER_FIRMWARE_START) {
        if (m_state == State::Handshake) {
            m_exchange.request(CommandId::FirmwareStart,
                               requestargs::FirmwareStart{static_cast<Byte>(m_job.type), true});
        } else {
            m_exchange.timers().stop(TIMER_FIRMWARE_START);
        }
        return;
    }
    if (timerId == TIMER_FIRMWARE_BLOCK) {
        m_exchange.timers().stop(TIMER_FIRMWARE_BLOCK);
        if (m_state == State::Sending) {
            finish(false, kFailed);
        }
    }
}

void FirmwareUpdater::finish(bool success, const QString& english) {
    // Timers first: a box shown below runs its own event loop, in which neither may fire.
    m_exchange.timers().stop(TIMER_FIRMWARE_START);
    m_exchange.timers().stop(TIMER_FIRMWARE_BLOCK);
    m_state = State::Idle;
    if (m_image.isOpen()) {
        m_image.close();
    }
    m_exchange.forgetAwaitedReply();
    m_exchange.decoderState().firmwareRetryCount = 0;
    if (m_fast) {
        m_exchange.returnToBaudRate(kNormalBaudRate);
    }
    emit runningChanged(false);
    emit finished(success, english);
}

} // namespace kestrava
