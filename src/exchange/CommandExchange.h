#pragma once

#include "exchange/CommandSender.h"
#include "exchange/DownloadChunkJoiner.h"
#include "exchange/DownloadReport.h"
#include "exchange/DownloadTarget.h"
#include "exchange/ExchangePort.h"
#include "exchange/ExchangeRequests.h"
#include "exchange/ExchangeView.h"
#include "exchange/FirmwareTransfer.h"
#include "exchange/ReopenRequest.h"
#include "exchange/ReplyTimers.h"
#include "exchange/RequestArguments.h"
#include "exchange/RequestChain.h"
#include "exchange/RequestOutcome.h"
#include "protocol/ChannelTable.h"
#include "protocol/CommandTable.h"
#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/FirmwareCommands.h"
#include "protocol/NetParams.h"
#include "protocol/NmeaOutputChoice.h"
#include "protocol/ProtocolTypes.h"
#include "protocol/ReplySink.h"
#include "protocol/VoiceCommands.h"
#include "serial/SerialPortOwner.h"

#include <QFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace kestrava {

class LanguageManager;
struct StoredSettings;

// The one-command-at-a-time conversation with the receiver.
//
// Every command goes out through request(), and does nothing at all while the port is closed.
// Otherwise it shows its progress text in the tip line (or clears it, or leaves it), has its
// frame built and the one ExpectedReply armed (CommandSender), hands the frame to the port
// without waiting, and arms its reply timer where the command has one. A newer command simply
// overwrites what an older one awaited.
//
// Input arrives through onSerialData (split and decoded while a reply is awaited, then always
// echoed to the view); every decoded reply comes back synchronously through onReply, which
// reports the outcome, fills the view, keeps values in StoredSettings and sends the follow-up
// commands of the chains (motherboard information, voice block read-then-set, file list paging,
// format after the recording check, file naming re-read, download blocks, store location then
// RINEX flag). Silence is reported by the reply timers; given a reply wait, the exchange also
// reports the silence of every command that has no timer of its own.
//
// Every text shown passes the LanguageManager at the moment it is shown. All of it runs on one
// thread, the one that owns the port.
class CommandExchange : public QObject,
                        public SerialPortOwner,
                        public ReplySink,
                        public ExchangeRequests {
    Q_OBJECT

public:
    static constexpr std::int32_t kNormalBaudRate = 19200;
    static constexpr int kMainInfoTimeoutMs = CommandTable::row(CommandId::ReadMainInfo).timeoutMs;
    static constexpr int kBoardInfoTimeoutMs =
        CommandTable::row(CommandId::ReadBoardSerial).timeoutMs;
    static constexpr int kRadioTimeoutMs = CommandTable::row(CommandId::ReadAirBaud).timeoutMs;
    static constexpr int kStoreLocationTimeoutMs =
        CommandTable::row(CommandId::ReadStoreLocation).timeoutMs;
    static constexpr int kMaxModuleRetries = 4;
    // After opening, the main information is requested as soon as the new reader runs; the
    // exchange looks every kOpenPollMs and gives up after kOpenWaitMs, without blocking.
    static constexpr int kOpenPollMs = 100;
    static constexpr int kOpenWaitMs = 3000;
    static constexpr int kFileListPageSize = 8;
    // The reply wait the window gives every command without a timer of its own.
    static constexpr int kReplyWaitMs = 3000;

    // language may be null: texts are then shown in English. Every reference must outlive the
    // exchange. The exchange names itself as the port's owner and as the timers' handler; a
    // serial reader must have stopped (port closed or destroyed) before the exchange is
    // destroyed, since the reader delivers to its owner.
    CommandExchange(ExchangePort& port, ReplyTimers& timers, ExchangeView& view,
                    StoredSettings& settings, const LanguageManager* language = nullptr,
                    QObject* parent = nullptr);
    ~CommandExchange() override;

    CommandExchange(const CommandExchange&) = delete;
    CommandExchange& operator=(const CommandExchange&) = delete;

    void setFirmwareTransfer(FirmwareTransfer* transfer) { m_firmware = transfer; }
    void setLanguageManager(const LanguageManager* language) { m_language = language; }
    // How long a command without a reply timer of its own may wait for its reply before the tip
    // says "No reply from receiver" (TIMER_REPLY); 0, the default, leaves its silence unreported.
    // The reply still counts when it comes later.
    void setReplyWait(int milliseconds) { m_replyWaitMs = milliseconds; }
    int replyWait() const { return m_replyWaitMs; }

    // ---- Tip line -------------------------------------------------------------------------
    // Shows english translated (an empty text clears the line) and remembers it as the key.
    void ShowTip(const QString& english);
    // Shows the remembered key again in the current language.
    void retranslateTip();
    const QString& tipKey() const { return m_tipKey; }
    // english, translated now.
    QString translate(const QString& english) const;

    // ---- Port -----------------------------------------------------------------------------
    bool portOpen() const { return m_port.readerAlive(); }
    // Opens name at 19200 baud. On success: tip "Port opened", then the main information is
    // requested as soon as the reader runs. On failure: box "Open fail" followed by the system's
    // reason (unless reportFailure is false, for an attempt the user did not ask for) and false.
    bool openPort(const QString& name, bool reportFailure = true);
    // Closes an open port: tip "Port closed", staticOnly cleared, the panel emptied, a download
    // target still open closed (the partial file stays) and the page left idle.
    void closePort();
    // The Update button: the panel emptied, then the main information read once.
    void update();
    // Closes the port for a baud-rate change; the port-closed notice opens it again at baudRate
    // and, with continueFirmware, hands over to the firmware transfer.
    void requestReopen(std::int32_t baudRate, bool continueFirmware);
    const ReopenRequest& reopenRequest() const { return m_reopen; }
    // Back to baudRate after a fast firmware transfer: through a reopen while the port is open,
    // or by opening it again when a reopen left it closed.
    void returnToBaudRate(std::int32_t baudRate);
    // Nothing awaited any more: a late answer is ignored.
    void forgetAwaitedReply();
    // A firmware transfer runs: every other command is refused.
    bool transferRunning() const;
    bool staticOnly() const { return m_staticOnly; }

    // ---- Requests --------------------------------------------------------------------------
    // Sends command (tip, frame, reply timer) and tells onDone, exactly once while the exchange
    // lives, what became of it: the reply handled (after its effects are shown and stored and
    // its follow-up is sent; the outcome carries the decoded reply), that it awaits none, the
    // silence its timer reports, a lost port, a newer command, or that nothing was sent (also
    // when the arguments are not the command's own). onDone may be empty: the command is then
    // sent all the same and its outcome is not reported.
    void request(CommandId command, const RequestArguments& arguments,
                 RequestDone onDone = {}) override;
    // The forms without arguments.
    using ExchangeRequests::request;

    // Runs chain with arguments (see RequestChain for what each takes) and tells onDone, once,
    // how it ended: with the reply that ended it (its outcome names the command that reply
    // answered), or with the first of its commands that was not answered, superseded by a
    // command from outside the chain, or cut off by a lost port. Failed: a download that could
    // not go on (the copy could not be written, or the line delivered a reply nobody asked
    // for). NotSent when its first command could not go out, or the arguments are not the
    // chain's own.
    void request(RequestChain chain, const RequestArguments& arguments,
                 RequestDone onDone = {}) override;

    // What some commands do besides their frame:
    // - ReadBoardSerial goes only to a motherboard of code 4, ReadBoardVersion only to code 0.
    // - SetNmeaOutput sends text to motherboard code 0 and a packet to code 4. For any other
    //   code (also before the main information was read) nothing can be sent and a box says so.
    // - ReadFileList asks for the page of 8 files at the current list position. The position
    //   travels in one byte, so a listing ends after the page at 248: when that page is full,
    //   the tip line says that only the first 256 files can be listed (fileListCut()).
    // - DeleteFiles: names beyond what one write can carry fail the whole deletion with its box,
    //   since the receiver never hears of it.
    // - StartDownload writes the copy to localPath + ".part" (created when the receiver is
    //   ready); it takes the place of localPath only when the receiver reports completion and
    //   exactly expectedBytes arrived (-1: the size is not known), one reply for each request.
    //   Until then an existing file at localPath is untouched; after a failure or a stop the
    //   ".part" file keeps what arrived. A chunk with more than one download reply, or a reply
    //   with no request outstanding, is a fault of the line: the download fails and says so.
    // - StopDownload ends the running download: a target file still open is closed and stays on
    //   disk, and the page leaves its download state.
    // - SetNetParams writes nothing when the record's login cannot be carried.
    // - FirmwareStart and FirmwareBlock are the firmware transfer's frames; the transfer shows
    //   its own texts and arms its own timers.

    // ---- State the pages set or read ------------------------------------------------------
    int fileListPosition() const { return m_fileListPosition; }
    Byte pendingVoiceType() const { return m_pendingVoiceType; }
    Byte pendingVolume() const { return m_pendingVolume; }
    int pendingSetOperation() const { return m_pendingSetOperation; }
    int moduleRetryCount() const { return m_moduleRetryCount; }
    // The last listing ended at the one-byte position's limit with a full page: files beyond
    // the first 256 may exist that no request can reach.
    bool fileListCut() const { return m_fileListCut; }
    // From StartDownload until the download ends in any way (done, failed, stopped, lost).
    bool downloadRunning() const { return m_downloadRunning; }
    bool downloadTargetOpen() const { return m_download.isOpen(); }
    const QString& downloadPath() const { return m_download.path(); }
    // Where the copy is written until it is complete.
    static QString partPath(const QString& localPath) {
        return DownloadTarget::partPath(localPath);
    }
    // Whether the last download ended with the complete copy in its place.
    bool lastDownloadComplete() const { return m_download.complete(); }
    std::int64_t downloadWritten() const { return m_download.written(); }

    const ExpectedReply& expectedReply() const { return m_expected; }
    DecoderState& decoderState() { return m_state; }
    const DecoderState& decoderState() const override { return m_state; }
    ReplyTimers& timers() { return m_timers; }

    // ---- Input ----------------------------------------------------------------------------
    // MSG_SERIAL_DATA: split and decoded while a reply is awaited, then always echoed.
    void onSerialData(const std::uint8_t* bytes, std::size_t count) override;
    // MSG_PORT_EVENT: serves the reopen request; a line that went away ends a running download.
    void onPortEvent() override;
    // MSG_REPLY: one decoded reply of any kind.
    void onReply(const ReplyData& data, std::int32_t kind) override;
    // A reply timer expired.
    void onTimer(int timerId);

signals:
    // The main information chain has ended: the main information did not come (false), or it
    // came (true) and the motherboard answered, its retries ran out, or it is not asked.
    void mainInfoChainEnded(bool mainInfoArrived);
    // A reply of kind has been handled (its effects shown and stored, its follow-up sent), for
    // the protocol trace. value is the number the reply carried, or -1 when it carried a record.
    // Callers hear of their own requests through their outcomes.
    void replyHandled(int kind, int value);

private:
    // The request whose reply is awaited.
    struct PendingRequest {
        CommandId command{};
        RequestDone onDone;
    };
    // The chain running, and the command whose reply (or silence) it awaits now.
    struct PendingChain {
        RequestChain chain{};
        CommandId step{};
        RequestDone onDone;
        std::uint64_t serial = 0; // which chain this is
        std::vector<RequestOutcome> steps = {};
    };

    // Sends command with arguments: the checks, the tip, the frame, the reply timer. False when
    // nothing can go out (arguments not the command's own, a closed port, a refusal), or when
    // a frame that awaits no reply could not be written.
    bool send(CommandId command, const RequestArguments& arguments = requestargs::NoArguments{});
    // What a command changes in the exchange before its frame is built, and after it went out.
    void prepareSend(CommandId command, const RequestArguments& arguments);
    void finishSend(CommandId command, bool written);
    // Whether a reply of kind ends a request of command.
    static bool endsRequest(CommandId command, std::int32_t kind);
    // Whether the expiry of timerId is the silence command reports while its reply is awaited.
    bool silenceOf(CommandId command, int timerId) const;
    // Whether the expiry of timerId is the silence the pending request's command reports.
    bool requestTimedOut(int timerId) const;
    // send() for a request from outside: its frame is never a chain's next step.
    bool sendAsked(CommandId command, const RequestArguments& arguments);
    // Ends the running chain, if any, with result.
    void finishChain(RequestOutcome::Result result, std::int32_t kind = KindNone,
                     std::int32_t value = -1, const ReplyData* reply = nullptr);
    // The running chain, when a reply of kind answers its current step.
    std::optional<std::uint64_t> chainStepEndedBy(std::int32_t kind) const;
    // Keeps what became of a command of the running chain that a follow-up has taken over from.
    void noteChainStep(CommandId command, RequestOutcome::Result result,
                       std::int32_t kind = KindNone, std::int32_t value = -1);
    // The chain's current step was answered by kind, and the handling sent (followedUp) or did
    // not send its next step.
    void finishChainAfter(const ReplyData& data, std::int32_t kind, std::int32_t value,
                          bool followedUp);
    // Ends the pending request, if any, with result.
    void finishRequest(RequestOutcome::Result result, std::int32_t kind = KindNone,
                       std::int32_t value = -1);

    bool beginSend(const char* tip);
    // Hands frame to the port; with awaitsReply, the reply it arms is watched (TIMER_REPLY).
    bool write(const Bytes& frame, bool awaitsReply = true);
    // Arms one of the timers that report a command's silence themselves: the row's timer with
    // its time-out, or the given one.
    void startReplyTimer(CommandId id);
    void startReplyTimer(int timerId, int milliseconds);
    void showBox(const QString& english);
    void showErrorBox(const QString& english);
    void endMainInfoChain(bool mainInfoArrived);
    void tryMainInfoAfterOpen();
    // Drops what belongs to the receiver of a port that has closed.
    void forgetReceiver();
    // Runs next(true) once the reader runs, or next(false) when it has not started within
    // kOpenWaitMs.
    void whenReaderRuns(std::function<void(bool running)> next);
    void finishPortEvent(const ReopenRequest& request, bool reopened);

    void handleReply(const ReplyData& data, std::int32_t kind);
    void handleTimer(int timerId);
    void handleMainInfo(const MainInfoRecord& record);
    void handleFileList(std::span<const FileListRow> rows);
    void openDownloadTarget();
    void writeDownloadBlock(const DownloadBlock& block);
    void closeDownloadTarget();
    void finishDownload();
    void abandonDownload(const QString& reason);
    // The download is over: the copy closed (kept on disk) and the page left idle.
    void endDownload();
    // The line delivered a download reply that no request asked for.
    void failDownloadOnLine();
    // The texts of this download's failure boxes.
    DownloadReport downloadReport() const;

    ExchangePort& m_port;
    ReplyTimers& m_timers;
    ExchangeView& m_view;
    StoredSettings& m_settings;
    const LanguageManager* m_language;
    FirmwareTransfer* m_firmware = nullptr;

    ExpectedReply m_expected;
    DecoderState m_state;
    CommandSender m_sender{m_expected, m_state};
    QString m_tipKey;
    int m_moduleRetryCount = 0;
    int m_pendingSetOperation = 0;
    Byte m_pendingVoiceType = 0;
    Byte m_pendingVolume = 0;
    int m_fileListPosition = 0;
    ReopenRequest m_reopen;
    bool m_staticOnly = false;
    bool m_mainInfoChainActive = false;
    bool m_bandsRead = false;          // a band reply has come: its indexes may be selected
    bool m_namingReadAfterSet = false; // the file naming read confirms a Set
    int m_replyWaitMs = 0;
    std::optional<PendingRequest> m_request;
    std::optional<PendingChain> m_chain;
    bool m_lastWriteQueued = true; // whether the port took the last frame written
    std::uint64_t m_chainsStarted = 0;
    bool m_chainStepping = false;      // a frame written now is the running chain's next step
    bool m_asked = false;              // a request from outside is being sent
    std::uint64_t m_framesWritten = 0; // frames handed to the port
    std::int32_t m_watchedKind = 0;    // the kind TIMER_REPLY watches for

    QTimer m_openPoll;
    int m_openWaitedMs = 0;
    std::function<void(bool running)> m_afterOpen;

    DownloadTarget m_download;
    DownloadChunkJoiner m_downloadJoiner;
    bool m_downloadRunning = false;
    int m_downloadRequests = 0; // requests of the running download not answered yet
    // Between StartDownload and its first answer: a block then belongs to a stopped download.
    bool m_awaitingDownloadReady = false;
    bool m_fileListCut = false;
};

} // namespace kestrava
