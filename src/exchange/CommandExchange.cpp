#include "exchange/CommandExchange.h"

#include "exchange/FileRowFormat.h"
#include "exchange/TextCodec.h"
#include "protocol/ReceiverType.h"
#include "protocol/ReplyEnd.h"
#include "protocol/StreamSplitter.h"
#include "settings/LanguageManager.h"
#include "settings/StoredSettings.h"


#include <array>
#include <filesystem>
#include <optional>
#include <system_error>
#include <variant>
#include <vector>

namespace kestrava {

namespace {

// Names of the GPRS/3G modules by the code of the main information; 0 and codes above 10 are
// unknown.
QString moduleName(Byte code) {
    static const std::array<const char*, 11> names = {
        "Unknown", "GR64",  "Q64",   "UC864", "GC864",   "DTL800C",
        "SL6087",  "CC864", "UE910", "HE910", "WISO218",
    };
    return QString::fromLatin1(code < names.size() ? names[code] : names[0]);
}

QString motherboardName(std::int32_t code) {
    switch (code) {
    case MOTHERBOARD_NOVATEL:
        return QStringLiteral("Novatel");
    case MOTHERBOARD_TRIMBLE:
        return QStringLiteral("Trimble");
    default:
        return QStringLiteral("Unknown");
    }
}

// What a voice-block read is for.
using VoiceRead = requestargs::ReadVoiceBlock;

template <typename T>
T valueOr(const ReplyData& data, T fallback) {
    if (const T* value = std::get_if<T>(&data)) {
        return *value;
    }
    return fallback;
}

std::int32_t number(const ReplyData& data) {
    return valueOr<std::int32_t>(data, 0);
}

template <typename T>
const T* pointer(const ReplyData& data) {
    return valueOr<const T*>(data, nullptr);
}

} // namespace

CommandExchange::CommandExchange(ExchangePort& port, ReplyTimers& timers, ExchangeView& view,
                                 StoredSettings& settings, const LanguageManager* language,
                                 QObject* parent)
    : QObject(parent), m_port(port), m_timers(timers), m_view(view), m_settings(settings),
      m_language(language),
      m_tipKey(QString::fromLatin1(QT_TR_NOOP("Please open the port first"))) {
    m_port.setOwner(this);
    m_timers.setHandler([this](int timerId) { onTimer(timerId); });
    m_openPoll.setSingleShot(false);
    connect(&m_openPoll, &QTimer::timeout, this, [this] { tryMainInfoAfterOpen(); });
}

CommandExchange::~CommandExchange() {
    m_timers.setHandler({});
    m_port.setOwner(nullptr);
    m_download.close();
}

// ---- Tip line and boxes -------------------------------------------------------------------

QString CommandExchange::translate(const QString& english) const {
    if (m_language == nullptr || english.isEmpty()) {
        return english;
    }
    return QString::fromStdU16String(m_language->translate(english.toStdU16String()));
}

void CommandExchange::ShowTip(const QString& english) {
    m_tipKey = english;
    m_view.setTipText(english.isEmpty() ? QString() : translate(english));
}

void CommandExchange::retranslateTip() {
    ShowTip(m_tipKey);
}

void CommandExchange::showBox(const QString& english) {
    m_view.showMessage(translate(english));
}

void CommandExchange::showErrorBox(const QString& english) {
    m_view.showError(translate(english));
}

// ---- Port ---------------------------------------------------------------------------------

bool CommandExchange::openPort(const QString& name, bool reportFailure) {
    m_openPoll.stop();
    if (!m_port.open(name, kNormalBaudRate)) {
        if (reportFailure) {
            // The key stays "Open fail"; the system's reason follows it untranslated.
            const QString reason = m_port.openError();
            m_view.showError(translate(QStringLiteral("Open fail")) +
                             (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
        }
        return false;
    }
    ShowTip(QStringLiteral("Port opened"));
    whenReaderRuns([this](bool running) {
        if (running) {
            send(CommandId::ReadMainInfo);
        }
    });
    return true;
}

// The reader marks the port open a moment after it starts. Rather than sleeping on this thread,
// look again shortly until it runs (or the wait is given up), then go on.
void CommandExchange::whenReaderRuns(std::function<void(bool running)> next) {
    m_openPoll.stop();
    m_openWaitedMs = 0;
    if (m_port.readerAlive()) {
        m_afterOpen = {};
        next(true);
        return;
    }
    m_afterOpen = std::move(next);
    m_openPoll.start(kOpenPollMs);
}

void CommandExchange::tryMainInfoAfterOpen() {
    m_openWaitedMs += kOpenPollMs;
    const bool running = m_port.readerAlive();
    if (!running && m_openWaitedMs < kOpenWaitMs) {
        return;
    }
    m_openPoll.stop();
    auto next = std::move(m_afterOpen);
    m_afterOpen = {};
    if (next) {
        next(running);
    }
}

void CommandExchange::closePort() {
    m_openPoll.stop();
    m_afterOpen = {};
    if (!m_port.readerAlive()) {
        return;
    }
    m_timers.stop(TIMER_REPLY);
    m_namingReadAfterSet = false;
    m_port.shutdown();
    finishRequest(RequestOutcome::Result::PortLost);
    finishChain(RequestOutcome::Result::PortLost);
    ShowTip(QStringLiteral("Port closed"));
    m_staticOnly = false;
    m_view.clearMainInfo();
    if (m_downloadRunning) {
        // No more blocks can come: keep what was received and leave the page idle.
        endDownload();
    }
}

void CommandExchange::update() {
    m_view.clearMainInfo();
    send(CommandId::ReadMainInfo);
}

void CommandExchange::requestReopen(std::int32_t baudRate, bool continueFirmware) {
    m_reopen.reopen = true;
    m_reopen.baudRate = baudRate;
    m_reopen.continueFirmware = continueFirmware;
    m_port.shutdown();
}

void CommandExchange::onPortEvent() {
    const ReopenRequest request = m_reopen;
    m_reopen = ReopenRequest{};
    if (request.reopen && m_port.open(m_port.portName(), request.baudRate)) {
        // Nothing goes on until the new reader runs: a block written before it would be lost,
        // and the port would be reported closed.
        whenReaderRuns([this, request](bool running) { finishPortEvent(request, running); });
        return;
    }
    finishPortEvent(request, false);
}

void CommandExchange::finishPortEvent(const ReopenRequest& request, bool reopened) {
    if (request.continueFirmware && m_firmware != nullptr) {
        m_firmware->onPortReopened(reopened);
    }
    if (!m_port.readerAlive() && m_downloadRunning) {
        // The line went away during a download, before its first block or after: no more blocks
        // can come. Coming back does not resume it, so the user must know it ended and where its
        // part lies.
        finishChain(RequestOutcome::Result::PortLost);
        endDownload();
        m_view.showError(downloadReport().withPartKept(
            translate(QStringLiteral("The receiver was lost: the download has stopped."))));
    }
    if (!reopened && !m_port.readerAlive()) {
        forgetReceiver();
    }
    m_view.portStateChanged(reopened || m_port.readerAlive());
}

void CommandExchange::forgetReceiver() {
    // Whatever the port was closed by (the user, a pulled cable, a reopen that failed), the next
    // opening may reach another receiver: nothing learnt from this one may shape how that one is
    // shown or what is written to it.
    m_staticOnly = false;
    m_state.mainInfo = MainInfoRecord{};
    m_state.receiverVersion = 0;
    m_state.motherboardCode = MOTHERBOARD_OTHER;
    m_state.band2g = 0;
    m_state.band3g = 0;
    m_state.moduleCode = 0;
    m_state.voiceBlock.fill(0xFF);
    m_state.rinexFlag = 0;
    m_pendingSetOperation = 0;
    m_namingReadAfterSet = false;
    m_timers.stop(TIMER_REPLY);
    m_view.clearMainInfo();
    finishRequest(RequestOutcome::Result::PortLost);
    finishChain(RequestOutcome::Result::PortLost);
}

void CommandExchange::returnToBaudRate(std::int32_t baudRate) {
    if (m_port.readerAlive() || m_reopen.reopen) {
        requestReopen(baudRate, false);
        return;
    }
    // The port stayed closed (a reopen that failed): try once more at baudRate.
    if (!m_port.portName().isEmpty() && m_port.open(m_port.portName(), baudRate)) {
        whenReaderRuns([this](bool running) { m_view.portStateChanged(running); });
    }
}

void CommandExchange::forgetAwaitedReply() {
    m_expected.reset();
}

bool CommandExchange::transferRunning() const {
    return m_firmware != nullptr && m_firmware->running();
}

// ---- Sending ------------------------------------------------------------------------------

bool CommandExchange::beginSend(const char* tip) {
    if (!m_port.readerAlive()) {
        return false;
    }
    if (transferRunning()) {
        // Any other command would overwrite the reply the transfer awaits.
        ShowTip(QStringLiteral("Tip: Updating,Please don't do other operation"));
        return false;
    }
    if (tip != nullptr) {
        ShowTip(QString::fromLatin1(tip));
    }
    m_namingReadAfterSet = false; // set again by the one read that confirms a naming Set
    return true;
}

bool CommandExchange::write(const Bytes& frame, bool awaitsReply) {
    if (frame.empty()) {
        return false;
    }
    // One command in flight: the reply of a pending request is no longer awaited, nor is the
    // chain's unless this frame is the chain's own next step.
    finishRequest(RequestOutcome::Result::Superseded);
    if (m_asked || !m_chainStepping) {
        finishChain(RequestOutcome::Result::Superseded);
    }
    ++m_framesWritten;
    // An echoing line returns this frame before the answer: neither the splitter nor the reader
    // may take that copy for the answer.
    m_state.sent.note(frame.data(), frame.size());
    // The reader may hand the reply over as soon as it is whole; it judges by a copy of what is
    // awaited now, since this thread re-arms the record while the reader gathers.
    m_port.setChunkComplete(
        [awaited = m_expected, sent = m_state.sent](const std::uint8_t* bytes, std::size_t count) {
            return ReplyEnd::complete(awaited, bytes, count, &sent);
        });
    const bool queued = m_port.queueWrite(frame.data(), frame.size());
    m_lastWriteQueued = queued;
    // A frame the port could not write is reported by the port; its silence is reported here all
    // the same. Kinds that no reply ever delivers (the signal test, a stop) are not watched.
    const std::int32_t kind = m_expected.kind;
    if (awaitsReply && m_replyWaitMs > 0 && kind != KindNone && kind != KindSnrTest &&
        kind != KindDownloadStop) {
        m_watchedKind = kind;
        m_timers.start(TIMER_REPLY, m_replyWaitMs);
    } else if (awaitsReply) {
        m_timers.stop(TIMER_REPLY);
    }
    return queued;
}

// ---- Requests --------------------------------------------------------------------------------

void CommandExchange::request(CommandId command, const RequestArguments& arguments,
                              RequestDone onDone) {
    // The frame of this command supersedes the request pending before it (see write).
    const std::uint64_t before = m_framesWritten;
    const bool written = sendAsked(command, arguments) && m_framesWritten != before;
    RequestOutcome outcome{command};
    if (!written) {
        if (onDone) {
            onDone(outcome);
        }
        return;
    }
    const std::int32_t kind = m_expected.kind;
    if (!CommandTable::row(command).armsReply || kind == KindNone || kind == KindSnrTest ||
        kind == KindDownloadStop) {
        // No reply is ever delivered for these; a command that arms none leaves what was
        // awaited before to the command that awaits it. A frame the port refused (too long for
        // one write) did not go out, and no silence will say so.
        outcome.result =
            m_lastWriteQueued ? RequestOutcome::Result::Sent : RequestOutcome::Result::NotSent;
        if (onDone) {
            onDone(outcome);
        }
        return;
    }
    if (onDone) {
        m_request = PendingRequest{command, std::move(onDone)};
    }
}

bool CommandExchange::sendAsked(CommandId command, const RequestArguments& arguments) {
    const bool outer = m_asked;
    m_asked = true;
    const bool sent = send(command, arguments);
    m_asked = outer;
    return sent;
}

void CommandExchange::request(RequestChain chain, const RequestArguments& arguments,
                              RequestDone onDone) {
    namespace a = requestargs;
    const bool none = std::holds_alternative<a::NoArguments>(arguments);
    CommandId first = CommandId::ReadMainInfo;
    RequestArguments firstArguments = arguments;
    bool carried = none;
    switch (chain) {
    case RequestChain::MainInformation:
        break;
    case RequestChain::FileList:
        first = CommandId::ReadFileList;
        if (carried) {
            m_fileListPosition = 0;
            m_fileListCut = false;
        }
        break;
    case RequestChain::Format:
        first = CommandId::ReadRecordingState;
        break;
    case RequestChain::Download:
        first = CommandId::StartDownload;
        carried = std::holds_alternative<a::StartDownload>(arguments);
        break;
    case RequestChain::VoiceType:
        first = CommandId::ReadVoiceBlock;
        if (const auto* set = std::get_if<a::SetVoiceType>(&arguments)) {
            carried = true;
            m_pendingVoiceType = set->voiceType;
            firstArguments = VoiceRead{true, VoiceRead::kVoiceType};
        }
        break;
    case RequestChain::Volume:
        first = CommandId::ReadVoiceBlock;
        if (const auto* set = std::get_if<a::SetVolume>(&arguments)) {
            carried = true;
            m_pendingVolume = set->volume;
            firstArguments = VoiceRead{true, VoiceRead::kVolume};
        }
        break;
    case RequestChain::FileNaming:
        first = CommandId::SetFileNaming;
        carried = std::holds_alternative<a::SetFileNaming>(arguments);
        break;
    case RequestChain::ReadStoreLocation:
        first = CommandId::ReadStoreLocation;
        break;
    case RequestChain::SetStoreLocation:
        first = CommandId::SetStoreLocation;
        carried = std::holds_alternative<a::SetStoreLocation>(arguments);
        break;
    }
    const std::uint64_t before = m_framesWritten;
    if (!carried || !sendAsked(first, firstArguments) || m_framesWritten == before) {
        if (onDone) {
            onDone(RequestOutcome{first});
        }
        return;
    }
    if (onDone) {
        m_chain = PendingChain{chain, first, std::move(onDone), ++m_chainsStarted};
    }
}

bool CommandExchange::send(CommandId command, const RequestArguments& arguments) {
    if (!CommandSender::carries(command, arguments) || !m_port.readerAlive()) {
        return false;
    }
    const std::optional<CommandSender::Plan> plan = m_sender.plan(command, arguments);
    if (!plan) {
        return false;
    }
    if (plan->refusal != nullptr) {
        showErrorBox(QString::fromLatin1(plan->refusal));
        return false;
    }
    if (plan->guarded && !beginSend(plan->tip)) {
        return false;
    }
    prepareSend(command, arguments);
    const std::uint64_t before = m_framesWritten;
    const bool written =
        write(m_sender.build(command, arguments, m_fileListPosition), plan->awaitsReply);
    if (m_chain && m_chainStepping && !m_asked && m_framesWritten != before) {
        m_chain->step = command; // the chain now awaits this command's reply
    }
    if (plan->timed) {
        startReplyTimer(command);
    }
    finishSend(command, written);
    // A command that awaits a reply is answered by its silence when the port failed to write it.
    return written || plan->awaitsReply;
}

void CommandExchange::prepareSend(CommandId command, const RequestArguments& arguments) {
    switch (command) {
    case CommandId::ReadVoiceBlock:
        if (const auto& read = std::get<requestargs::ReadVoiceBlock>(arguments); read.forSet) {
            m_pendingSetOperation = read.which; // the set that follows the reply
        }
        break;
    case CommandId::StartDownload: {
        const auto& start = std::get<requestargs::StartDownload>(arguments);
        m_download.reset(start.localPath, start.expectedBytes);
        m_downloadJoiner.reset();
        m_downloadRunning = true;
        m_awaitingDownloadReady = true;
        break;
    }
    default:
        break;
    }
}

void CommandExchange::finishSend(CommandId command, bool written) {
    switch (command) {
    case CommandId::ReadMainInfo:
        m_mainInfoChainActive = true;
        break;
    case CommandId::SetNmeaOutput:
        if (written) {
            ShowTip(QStringLiteral("Data output setting sent"));
        }
        break;
    case CommandId::DeleteFiles:
        if (!written) {
            // Too many names for one write: nothing was deleted, and no reply will say so.
            m_expected.reset();
            showErrorBox(QStringLiteral("Fail to delete static file"));
        }
        break;
    case CommandId::StartDownload:
        m_downloadRequests = written ? 1 : 0;
        break;
    case CommandId::NextDownloadBlock:
        if (written) {
            ++m_downloadRequests;
        }
        break;
    case CommandId::StopDownload:
        endDownload();
        break;
    default:
        break;
    }
}

bool CommandExchange::endsRequest(CommandId command, std::int32_t kind) {
    const CommandRow& entry = CommandTable::row(command);
    for (std::size_t form = 0; form < entry.variantCount; ++form) {
        if (entry.kind(form) == kind) {
            return true;
        }
    }
    // A download block request is answered by the block, the end or the failure.
    return entry.kind() == KindDownload &&
           (kind == KindDownloadReady || kind == KindDownloadBlock || kind == KindDownloadDone ||
            kind == KindDownloadFailed);
}

bool CommandExchange::silenceOf(CommandId command, int timerId) const {
    if (!endsRequest(command, m_expected.kind)) {
        return false; // its reply is no longer what is awaited
    }
    if (timerId == TIMER_REPLY) {
        return m_expected.kind == m_watchedKind && !transferRunning();
    }
    return timerId == CommandTable::row(command).timer;
}

bool CommandExchange::requestTimedOut(int timerId) const {
    // The motherboard is asked again until its retries run out.
    return silenceOf(m_request->command, timerId) &&
           (timerId != TIMER_BOARD_INFO || m_moduleRetryCount >= kMaxModuleRetries);
}

void CommandExchange::finishRequest(RequestOutcome::Result result, std::int32_t kind,
                                    std::int32_t value) {
    if (!m_request) {
        return;
    }
    PendingRequest ended = std::move(*m_request);
    m_request.reset();
    ended.onDone(RequestOutcome{ended.command, result, kind, value});
}

void CommandExchange::finishChain(RequestOutcome::Result result, std::int32_t kind,
                                  std::int32_t value, const ReplyData* reply) {
    if (!m_chain) {
        return;
    }
    PendingChain ended = std::move(*m_chain);
    m_chain.reset();
    RequestOutcome outcome{ended.step, result, kind, value};
    if (reply != nullptr) {
        outcome.reply = *reply;
    }
    outcome.steps = std::move(ended.steps);
    ended.onDone(outcome);
}

void CommandExchange::noteChainStep(CommandId command, RequestOutcome::Result result,
                                    std::int32_t kind, std::int32_t value) {
    // The download's blocks would make a list as long as the file, and tell nothing.
    if (m_chain && m_chain->chain != RequestChain::Download) {
        m_chain->steps.push_back(RequestOutcome{command, result, kind, value});
    }
}

std::optional<std::uint64_t> CommandExchange::chainStepEndedBy(std::int32_t kind) const {
    if (m_chain && endsRequest(m_chain->step, kind)) {
        return m_chain->serial;
    }
    return std::nullopt;
}

void CommandExchange::startReplyTimer(CommandId id) {
    const CommandRow& entry = CommandTable::row(id);
    startReplyTimer(entry.timer, entry.timeoutMs);
}

void CommandExchange::startReplyTimer(int timerId, int milliseconds) {
    // This timer reports the command's silence in its own words.
    m_timers.stop(TIMER_REPLY);
    m_timers.start(timerId, milliseconds);
}

// ---- Input --------------------------------------------------------------------------------

void CommandExchange::onSerialData(const std::uint8_t* bytes, std::size_t count) {
    if (m_expected.kind == KindDownload) {
        // A block cut in two by the line is joined rather than lost.
        Bytes joined;
        switch (m_downloadJoiner.join(bytes, count, joined)) {
        case DownloadChunkJoiner::Result::Ready:
            SplitChunk(joined.data(), joined.size(), m_expected, m_state, *this);
            break;
        case DownloadChunkJoiner::Result::Held:
            break;
        case DownloadChunkJoiner::Result::SeveralFrames: {
            const bool stepping = m_chainStepping;
            m_chainStepping = true; // the stop that follows belongs to the download
            failDownloadOnLine();
            m_chainStepping = stepping;
            if (m_chain && m_chain->chain == RequestChain::Download && !m_downloadRunning) {
                finishChain(RequestOutcome::Result::Failed);
            }
            break;
        }
        }
    } else {
        m_downloadJoiner.reset();
        if (m_expected.mode != FRAMING_IDLE) {
            SplitChunk(bytes, count, m_expected, m_state, *this);
        }
    }
    m_view.echoReceived(bytes, count);
}

void CommandExchange::onTimer(int timerId) {
    if (m_request && requestTimedOut(timerId)) {
        finishRequest(RequestOutcome::Result::NoReply);
    }
    // A chain goes on where the silence has a follow-up (a motherboard retry, the RINEX flag
    // after the store location); otherwise the silence ends it.
    std::optional<std::uint64_t> chain;
    CommandId silent{};
    if (m_chain && silenceOf(m_chain->step, timerId)) {
        chain = m_chain->serial;
        silent = m_chain->step;
    }
    const std::uint64_t before = m_framesWritten;
    const bool stepping = m_chainStepping;
    m_chainStepping = chain.has_value();
    handleTimer(timerId);
    m_chainStepping = stepping;
    if (chain && m_chain && m_chain->serial == *chain) {
        if (m_framesWritten == before) {
            finishChain(RequestOutcome::Result::NoReply);
        } else {
            noteChainStep(silent, RequestOutcome::Result::NoReply);
        }
    }
}

void CommandExchange::handleTimer(int timerId) {
    switch (timerId) {
    case TIMER_FIRMWARE_START:
    case TIMER_FIRMWARE_BLOCK:
        if (m_firmware != nullptr) {
            m_firmware->onTimer(timerId);
        } else {
            m_timers.stop(timerId);
        }
        break;
    case TIMER_RADIO:
        m_timers.stop(TIMER_RADIO);
        switch (m_expected.kind) {
        case KindRadioChannels:
        case KindRadioAirBaud:
        case KindRadioChannelsSet:
        case KindRadioAirBaudSet:
            ShowTip(QStringLiteral("No reply from receiver,please check whether connect to "
                                   "internal radio successfully"));
            break;
        case KindStoreLocation:
            // The RINEX flag is read all the same, as if the location had come.
            send(CommandId::ReadVoiceBlock, VoiceRead{false, VoiceRead::kRinexFlag});
            break;
        default:
            ShowTip(QStringLiteral("No reply from receiver"));
            break;
        }
        break;
    case TIMER_BOARD_INFO:
        if (m_moduleRetryCount < kMaxModuleRetries) {
            ++m_moduleRetryCount;
            send(CommandId::ReadBoardSerial);
            send(CommandId::ReadBoardVersion);
        } else {
            ShowTip(QStringLiteral("Mother board information cannot be readed"));
            m_timers.stop(TIMER_BOARD_INFO);
            endMainInfoChain(true);
        }
        break;
    case TIMER_MAIN_INFO:
        ShowTip(QStringLiteral("No reply from receiver"));
        m_timers.stop(TIMER_MAIN_INFO);
        endMainInfoChain(false);
        break;
    case TIMER_REPLY:
        m_timers.stop(TIMER_REPLY);
        // Only while the command it watched still waits: a newer command that awaits nothing
        // (or watches itself) has taken over.
        if (m_expected.kind == m_watchedKind && m_expected.kind != KindNone && !transferRunning()) {
            m_namingReadAfterSet = false;
            ShowTip(QStringLiteral("No reply from receiver"));
        }
        break;
    default:
        break;
    }
}

void CommandExchange::endMainInfoChain(bool mainInfoArrived) {
    if (!m_mainInfoChainActive) {
        return;
    }
    m_mainInfoChainActive = false;
    emit mainInfoChainEnded(mainInfoArrived);
}

void CommandExchange::onReply(const ReplyData& data, std::int32_t kind) {
    // Answered; a follow-up sent by the handling watches its own reply.
    m_timers.stop(TIMER_REPLY);
    // Taken before the handling, whose follow-up commands would otherwise supersede it.
    std::optional<PendingRequest> ended;
    if (m_request && endsRequest(m_request->command, kind)) {
        ended = std::move(m_request);
        m_request.reset();
    }
    // The follow-up this reply sends, if any, is the chain's next step.
    const std::optional<std::uint64_t> chain = chainStepEndedBy(kind);
    const CommandId step = chain ? m_chain->step : CommandId{};
    const std::uint64_t before = m_framesWritten;
    const bool stepping = m_chainStepping;
    m_chainStepping = chain.has_value();
    handleReply(data, kind);
    m_chainStepping = stepping;
    const auto* value = std::get_if<std::int32_t>(&data);
    const std::int32_t number = value != nullptr ? *value : -1;
    emit replyHandled(kind, number);
    if (ended) {
        ended->onDone(
            RequestOutcome{ended->command, RequestOutcome::Result::Replied, kind, number, data});
    }
    if (chain && m_chain && m_chain->serial == *chain) {
        if (m_framesWritten != before) {
            noteChainStep(step, RequestOutcome::Result::Replied, kind, number);
        }
        finishChainAfter(data, kind, number, m_framesWritten != before);
    }
}

void CommandExchange::finishChainAfter(const ReplyData& data, std::int32_t kind, std::int32_t value,
                                       bool followedUp) {
    if (m_chain->chain != RequestChain::Download) {
        if (!followedUp) {
            finishChain(RequestOutcome::Result::Replied, kind, value, &data);
        }
        return;
    }
    // A download goes on block by block, also past a block of an earlier download that is
    // dropped; it ends when the copy does.
    if (m_downloadRunning) {
        return;
    }
    if (kind == KindDownloadDone || kind == KindDownloadFailed) {
        finishChain(RequestOutcome::Result::Replied, kind, value, &data);
    } else {
        finishChain(RequestOutcome::Result::Failed); // the copy could not go on
    }
}

void CommandExchange::handleReply(const ReplyData& data, std::int32_t kind) {
    switch (kind) {
    case KindMainInfo:
        if (const auto* record = pointer<MainInfoRecord>(data)) {
            handleMainInfo(*record);
        }
        break;
    case KindRadioConnected:
        showBox(QStringLiteral("Connect to internal radio module successfully"));
        ShowTip(QStringLiteral("Internal radio module connected successfully"));
        break;
    case KindRadioChannels:
        if (const auto* table = pointer<ChannelTable>(data)) {
            m_settings.channels = *table;
        }
        m_timers.stop(TIMER_RADIO);
        ShowTip(QStringLiteral("Read parameters successfully"));
        break;
    case KindRadioAirBaud:
        ShowTip(QStringLiteral("Read parameters successfully"));
        m_timers.stop(TIMER_RADIO);
        break;
    case KindRadioChannelsSet:
        m_timers.stop(TIMER_RADIO);
        ShowTip(QStringLiteral("Set radio frequency successfully"));
        break;
    case KindRadioAirBaudSet:
        m_timers.stop(TIMER_RADIO);
        ShowTip(QStringLiteral("Set air baudrate successfully"));
        break;
    case KindNetBand:
        m_bandsRead = true;
        ShowTip(QStringLiteral("Read parameters successfully"));
        break;
    case KindNetBandSet:
        ShowTip(QStringLiteral("Set frequency band successfully"));
        break;
    case KindBoardSerialPacket:
    case KindBoardVersionText:
        if (const auto* texts = pointer<TextTriple>(data)) {
            m_view.showMotherboard(TextCodec::toText(texts->first),
                                   TextCodec::toText(texts->third));
        }
        ShowTip(QStringLiteral("Read main information successfully"));
        m_timers.stop(TIMER_BOARD_INFO);
        endMainInfoChain(true);
        break;
    case KindCollectParams: {
        const IntPair values = valueOr<IntPair>(data, IntPair{});
        m_settings.collectInterval = values.first;
        m_settings.cutOff = values.second;
        ShowTip(QStringLiteral("Read parameters successfully"));
        break;
    }
    case KindCollectParamsSet:
        ShowTip(QStringLiteral("Set static collect params successfully"));
        break;
    case KindFileList:
        handleFileList(valueOr<std::span<const FileListRow>>(data, {}));
        break;
    case KindFilesDeleted:
        if (number(data) == 0) {
            ShowTip(QStringLiteral("Delete static files successfully"));
        } else {
            showErrorBox(QStringLiteral("Fail to delete static file"));
            ShowTip(QStringLiteral("Fail to delete static file"));
        }
        break;
    case KindFilesFormatted:
        if (number(data) == 0) {
            ShowTip(QStringLiteral("Format static files successfully"));
        } else {
            showErrorBox(QStringLiteral("Fail to delete static file"));
            ShowTip(QStringLiteral("Fail to delete static file"));
        }
        break;
    case KindStoreLocationSet:
        ShowTip(QStringLiteral("Set static file location successfully"));
        send(CommandId::ReadVoiceBlock, VoiceRead{true, VoiceRead::kRinexFlag});
        break;
    case KindStoreLocation: {
        const bool card = number(data) == 1;
        m_timers.stop(TIMER_RADIO);
        m_settings.staticLocation = card ? 1 : 0;
        ShowTip(QStringLiteral("Read parameters successfully"));
        send(CommandId::ReadVoiceBlock, VoiceRead{false, VoiceRead::kRinexFlag});
        break;
    }
    case KindNetParams:
        if (const auto* params = pointer<NetParams>(data)) {
            m_settings.net = *params;
        }
        ShowTip(QStringLiteral("Read parameters successfully"));
        break;
    case KindNetParamsSet:
        ShowTip(QStringLiteral("Set net params successfully"));
        break;
    case KindApnParams:
        if (const auto* texts = pointer<TextPair>(data)) {
            m_settings.apnUserName = texts->first;
            m_settings.apnPassword = texts->second;
        }
        ShowTip(QStringLiteral("Read parameters successfully"));
        break;
    case KindApnParamsSet:
        ShowTip(QStringLiteral("Set APN params successfully"));
        break;
    case KindDownloadReady:
    case KindDownloadBlock:
    case KindDownloadDone:
    case KindDownloadFailed:
        if (m_awaitingDownloadReady && kind == KindDownloadBlock) {
            // A block the receiver still sent for a download stopped before this one started:
            // it answers nothing of this download and is dropped.
            break;
        }
        if (kind != KindDownloadBlock) {
            m_awaitingDownloadReady = false;
        }
        if (m_downloadRequests <= 0) {
            failDownloadOnLine();
            break;
        }
        --m_downloadRequests;
        if (kind == KindDownloadReady) {
            openDownloadTarget();
        } else if (kind == KindDownloadBlock) {
            writeDownloadBlock(valueOr<DownloadBlock>(data, DownloadBlock{}));
        } else if (kind == KindDownloadDone) {
            finishDownload();
        } else {
            endDownload();
            showErrorBox(QStringLiteral("Fail to download static file"));
        }
        break;
    case KindFirmwareStart:
        m_timers.stop(TIMER_FIRMWARE_START);
        if (m_firmware != nullptr) {
            m_firmware->onStartReply(number(data));
        }
        break;
    case KindFirmwareBlock:
        if (m_firmware != nullptr) {
            m_firmware->onBlockReply(number(data));
        }
        break;
    case KindRemotePasswordSet:
        // Only a well-formed answer with a success status counts as done.
        ShowTip(number(data) == 0 ? QStringLiteral("Set remote password successfully")
                                  : QStringLiteral("Set remote password unconfirmed"));
        break;
    case KindVoiceOn:
        ShowTip(QStringLiteral("Open voice successfully"));
        break;
    case KindVoiceOff:
        ShowTip(QStringLiteral("Close voice successfully"));
        break;
    case KindFileNamingSet:
        send(CommandId::ReadFileNaming);
        ShowTip(QStringLiteral("Set static file info successfully"));
        // The read that follows shows what the receiver now holds; it confirms the Set rather
        // than report a read the user did not ask for.
        m_namingReadAfterSet = true;
        break;
    case KindFileNaming:
        if (const auto* texts = pointer<TextPair>(data)) {
            m_settings.filePrefix = texts->first;
            m_settings.fileSn = texts->second;
        }
        ShowTip(m_namingReadAfterSet ? QStringLiteral("Set static file info successfully")
                                     : QStringLiteral("Read parameters successfully"));
        m_namingReadAfterSet = false;
        break;
    case KindVoiceBlockForSet:
        switch (m_pendingSetOperation) {
        case VoiceRead::kVoiceType:
            send(CommandId::SetVoiceType, requestargs::SetVoiceType{m_pendingVoiceType});
            break;
        case VoiceRead::kRinexFlag:
            // The flag as the user's Set stored it: the check box may have changed (or been
            // filled by a read) while the location was on its way.
            send(CommandId::SetRinexFlag, requestargs::SetRinexFlag{m_settings.rinex != 0});
            break;
        case VoiceRead::kVolume:
            send(CommandId::SetVolume, requestargs::SetVolume{m_pendingVolume});
            break;
        default:
            break;
        }
        break;
    case KindRinexFlag:
        ShowTip(QStringLiteral("Read Whether to record Rinex Successfully"));
        break;
    case KindRinexFlagSet:
        ShowTip(number(data) != 0 ? QStringLiteral("Set Whether to record Rinex Successfully")
                                  : QStringLiteral("Fail to set Whether to record Rinex"));
        break;
    case KindVoiceTypeSet:
        ShowTip(number(data) != 0 ? QStringLiteral("Set Voice Type Successfully")
                                  : QStringLiteral("Fail to set Voice Type"));
        break;
    case KindVoiceParams: {
        const BytePair values = valueOr<BytePair>(data, BytePair{});
        m_pendingVoiceType = values.first;
        m_pendingVolume = values.second;
        m_settings.voice = values.first;
        m_settings.volume = values.second;
        ShowTip(QStringLiteral("Read Voice Parameter Successfully"));
        break;
    }
    case KindStaticVoiceOff:
        ShowTip(QStringLiteral("Close static voice successfully"));
        break;
    case KindRecordingState:
        if (number(data) == 0) {
            send(CommandId::FormatFiles);
        } else {
            showErrorBox(QStringLiteral("Recording raw file,cannot do the Format operation"));
        }
        break;
    case KindVolumeSet:
        ShowTip(number(data) != 0 ? QStringLiteral("Set volume successfully")
                                  : QStringLiteral("Fail to set volume"));
        break;
    case KindWifiSet:
        switch (number(data)) {
        case 0:
            ShowTip(QStringLiteral("Set Wifi Password successfully"));
            break;
        case 1:
            ShowTip(QStringLiteral("Set Wifi Password failed"));
            break;
        case 2:
            ShowTip(QStringLiteral("Wifi module have exception"));
            break;
        case 3:
            ShowTip(QStringLiteral("Old wifi password is wrong"));
            break;
        default:
            ShowTip(QString());
            break;
        }
        break;
    case KindStaticVoice:
        ShowTip(QStringLiteral("Read StaticVoice Parameter Successfully"));
        break;
    case KindStaticVoiceSet:
        ShowTip(number(data) != 0 ? QStringLiteral("Set StaticVoice Successfully")
                                  : QStringLiteral("Fail to set StaticVoice"));
        break;
    default:
        break;
    }
}

void CommandExchange::handleMainInfo(const MainInfoRecord& record) {
    const Byte type = record.receiverTypeCode;
    const bool staticType = ReceiverType::staticOnly(type);
    // Receivers of type 90 and above answer in bursts: the reader waits for all of them.
    m_port.setHoldInputOpen(type >= 90);
    if (staticType) {
        m_staticOnly = true; // until the user closes the port
    }

    MainInfoPanel panel;
    panel.receiverTypeCode = type;
    panel.receiverVersion = TextCodec::toText(record.receiverVersion) +
                            (record.eFlag != 0 ? QStringLiteral("  E") : QStringLiteral("  C")) +
                            (record.sFlag != 0 ? QStringLiteral("S") : QString());
    panel.receiverSerial = TextCodec::toText(record.serialNumber);
    panel.motherboardType = motherboardName(record.motherboardCode);
    panel.moduleName = moduleName(record.gprsModuleCode);
    const QString firmware = TextCodec::toText(record.moduleFirmwareVersion);
    const QString hardware = TextCodec::toText(record.moduleHardwareVersion);
    if (firmware != QStringLiteral("0.0")) {
        panel.moduleFirmwareVersion = firmware;
    }
    if (hardware != QStringLiteral("0.0")) {
        panel.moduleHardwareVersion = hardware;
    }
    if (staticType) {
        panel.moduleName.clear();
        panel.moduleFirmwareVersion = QString();
        panel.moduleHardwareVersion = QString();
    }
    panel.staticOnly = m_staticOnly;
    panel.moduleCode = record.gprsModuleCode;
    // Before the first band reply there is no band to select (the state's zeros are no reading).
    panel.band2g = m_bandsRead ? m_state.band2g : -1;
    panel.band3g = m_bandsRead ? m_state.band3g : -1;
    m_view.showMainInfo(panel);

    m_timers.stop(TIMER_MAIN_INFO);
    m_moduleRetryCount = 0;
    if (record.motherboardCode == MOTHERBOARD_TRIMBLE ||
        record.motherboardCode == MOTHERBOARD_NOVATEL) {
        send(CommandId::ReadBoardSerial);  // sends only to a code-4 board
        send(CommandId::ReadBoardVersion); // sends only to a code-0 board
    } else {
        endMainInfoChain(true);
    }
}

void CommandExchange::handleFileList(std::span<const FileListRow> rows) {
    QList<FileRowText> texts;
    texts.reserve(static_cast<qsizetype>(rows.size()));
    for (const FileListRow& row : rows) {
        texts.append(FileRowFormat::toText(row));
    }
    m_view.addFileRows(texts);
    const int next = m_fileListPosition + kFileListPageSize;
    // The request carries the position in one byte: a page beyond it would ask for the first
    // page again and list the same files for ever, so the listing ends there.
    const bool full = rows.size() == static_cast<std::size_t>(kFileListPageSize);
    if (full && next <= 0xFF) {
        m_fileListPosition = next;
        send(CommandId::ReadFileList);
    } else if (full) {
        // Whatever lies beyond cannot be asked for: say so rather than pass it off as the end.
        m_fileListCut = true;
        ShowTip(QStringLiteral("Only the first 256 files can be listed"));
    } else {
        ShowTip(QStringLiteral("Read static file finished"));
    }
}

// ---- Download target ----------------------------------------------------------------------

void CommandExchange::openDownloadTarget() {
    if (!m_download.open()) {
        abandonDownload(QStringLiteral("Cannot create the file"));
        return;
    }
    send(CommandId::NextDownloadBlock);
}

void CommandExchange::writeDownloadBlock(const DownloadBlock& block) {
    if (!m_download.isOpen() || block.frame == nullptr) {
        return;
    }
    const auto payload = block.payload();
    if (!m_download.write(payload)) {
        abandonDownload(QStringLiteral("Cannot write the file"));
        return;
    }
    m_view.advanceDownload(payload.size());
    send(CommandId::NextDownloadBlock);
}

void CommandExchange::finishDownload() {
    QString systemReason;
    const DownloadTarget::Outcome outcome = m_download.finish(systemReason);
    endDownload();
    switch (outcome) {
    case DownloadTarget::Outcome::NothingWritten:
        showErrorBox(QStringLiteral("Fail to download static file"));
        break;
    case DownloadTarget::Outcome::WrongSize:
        m_view.showError(downloadReport().wrongSize());
        break;
    case DownloadTarget::Outcome::RenameFailed:
        m_view.showError(downloadReport().renameFailed(systemReason));
        break;
    case DownloadTarget::Outcome::Complete:
        showBox(QStringLiteral("Download static file completed"));
        break;
    }
}

void CommandExchange::closeDownloadTarget() {
    m_download.close();
}

void CommandExchange::abandonDownload(const QString& reason) {
    // A copy that cannot be written must not end in silence: say which file, tell the receiver
    // to stop sending, keep what was written and leave the page idle.
    const QString detail = m_download.errorString();
    closeDownloadTarget();
    m_view.showError(downloadReport().abandoned(reason, detail));
    if (m_port.readerAlive()) {
        send(CommandId::StopDownload); // leaves the page idle too
    } else {
        endDownload();
    }
}

void CommandExchange::endDownload() {
    const bool running = m_downloadRunning;
    m_downloadRunning = false;
    m_downloadRequests = 0;
    m_downloadJoiner.reset();
    closeDownloadTarget();
    if (running) {
        m_view.endDownload();
    }
}

DownloadReport CommandExchange::downloadReport() const {
    return DownloadReport(m_download,
                          [this](const QString& english) { return translate(english); });
}

void CommandExchange::failDownloadOnLine() {
    if (!m_downloadRunning) {
        return;
    }
    // Whatever was written can no longer be trusted to be the file: stop the receiver, keep the
    // part for the user to judge, and say what happened.
    if (m_port.readerAlive()) {
        send(CommandId::StopDownload);
    } else {
        endDownload();
    }
    ShowTip(QStringLiteral(
        "The line delivered a reply that was not asked for: the download has failed"));
    // The box says it too, with the part's name.
    m_view.showError(downloadReport().withPartKept(translate(m_tipKey)));
}

} // namespace kestrava
