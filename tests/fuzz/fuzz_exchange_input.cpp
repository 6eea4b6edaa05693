// Drives the exchange's input side, and through it the whole reply handler and its follow-up
// commands, with arbitrary chunks and timer expiries after any command.
//
// Input layout:
//   0      which command is sent first: index into the operations below (modulo their number)
//   1-     records: a length byte n, then n bytes delivered as one chunk; a length byte of 0
//          instead fires the reply timer named by the next byte (modulo 6)
#include "exchange/CommandExchange.h"
#include "settings/StoredSettings.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>

namespace {

using namespace kestrava;

class NullPort : public ExchangePort {
public:
    void setOwner(SerialPortOwner*) override {}
    bool readerAlive() const override { return true; }
    bool open(const QString&, std::int32_t) override { return true; }
    bool queueWrite(const std::uint8_t*, std::size_t length) override { return length <= 1024; }
    void shutdown() override {}
    void setHoldInputOpen(bool) override {}
    QString portName() const override { return QStringLiteral("fuzz"); }
};

class NullView : public ExchangeView {
public:
    void setTipText(const QString&) override {}
    void showMessage(const QString&) override {}
};

class NullTimers : public ReplyTimers {
public:
    void setHandler(Handler handler) override { m_handler = std::move(handler); }
    void start(int timerId, int) override { m_running[timerId] = true; }
    void stop(int timerId) override { m_running[timerId] = false; }
    bool isRunning(int timerId) const override {
        const auto it = m_running.find(timerId);
        return it != m_running.end() && it->second;
    }
    void fire(int timerId) {
        if (m_handler) {
            m_handler(timerId);
        }
    }

private:
    Handler m_handler;
    std::map<int, bool> m_running;
};

using Operation = std::function<void(CommandExchange&)>;

const Operation kOperations[] = {
    [](CommandExchange& e) { e.request(CommandId::ReadMainInfo); },
    [](CommandExchange& e) { e.request(CommandId::ConnectInternalRadio); },
    [](CommandExchange& e) { e.request(CommandId::ReadRadioChannels); },
    [](CommandExchange& e) { e.request(CommandId::ReadAirBaud); },
    [](CommandExchange& e) {
        e.request(CommandId::WriteRadioChannels, requestargs::WriteRadioChannels{ChannelTable{}});
    },
    [](CommandExchange& e) { e.request(CommandId::ReadNetModuleBand); },
    [](CommandExchange& e) { e.request(CommandId::ReadNetParams); },
    [](CommandExchange& e) { e.request(CommandId::ReadApnParams); },
    [](CommandExchange& e) { e.request(CommandId::ReadCollectParams); },
    [](CommandExchange& e) { e.request(CommandId::ReadFileNaming); },
    [](CommandExchange& e) {
        e.request(CommandId::SetFileNaming,
                  requestargs::SetFileNaming{QStringLiteral("A"), QStringLiteral("1")});
    },
    [](CommandExchange& e) { e.request(CommandId::ReadStoreLocation); },
    [](CommandExchange& e) {
        e.request(CommandId::SetStoreLocation, requestargs::SetStoreLocation{true});
    },
    [](CommandExchange& e) { e.request(CommandId::ReadFileList); },
    [](CommandExchange& e) {
        e.request(CommandId::DeleteFiles,
                  requestargs::DeleteFiles{{QStringLiteral("KV000001.STH")}});
    },
    [](CommandExchange& e) { e.request(CommandId::ReadRecordingState); },
    [](CommandExchange& e) {
        e.request(CommandId::StartDownload,
                  requestargs::StartDownload{QStringLiteral("KV000001"), "/dev/null"});
    },
    [](CommandExchange& e) {
        e.request(CommandId::ReadVoiceBlock, requestargs::ReadVoiceBlock{true, 1});
    },
    [](CommandExchange& e) {
        e.request(CommandId::ReadVoiceBlock, requestargs::ReadVoiceBlock{true, 2});
    },
    [](CommandExchange& e) {
        e.request(CommandId::ReadVoiceBlock, requestargs::ReadVoiceBlock{true, 3});
    },
    [](CommandExchange& e) {
        e.request(CommandId::ReadVoiceBlock, requestargs::ReadVoiceBlock{false, 1});
    },
    [](CommandExchange& e) {
        e.request(CommandId::ReadVoiceBlock, requestargs::ReadVoiceBlock{false, 2});
    },
    [](CommandExchange& e) { e.request(CommandId::ReadStaticVoice); },
    [](CommandExchange& e) {
        e.request(CommandId::SetStaticVoice, requestargs::SetStaticVoice{true});
    },
    [](CommandExchange& e) {
        e.request(CommandId::SetWifiPassword,
                  requestargs::SetWifiPassword{std::nullopt, QStringLiteral("x")});
    },
    [](CommandExchange& e) {
        e.request(CommandId::SetRemotePassword,
                  requestargs::SetRemotePassword{QStringLiteral("x")});
    },
    [](CommandExchange& e) {
        e.request(CommandId::VoiceSwitch, requestargs::VoiceSwitch{VoiceSwitchCode::VoiceOn});
    },
    [](CommandExchange& e) {
        e.request(CommandId::FirmwareStart, requestargs::FirmwareStart{1, false});
    },
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    NullPort port;
    NullView view;
    NullTimers timers;
    StoredSettings settings;
    CommandExchange exchange(port, timers, view, settings);
    kOperations[data[0] % std::size(kOperations)](exchange);
    std::size_t at = 1;
    while (at < size) {
        const std::size_t length = data[at++];
        if (length == 0) {
            if (at < size) {
                timers.fire(data[at++] % 6);
            }
            continue;
        }
        const std::size_t count = std::min(length, size - at);
        exchange.onSerialData(data + at, count);
        at += count;
    }
    return 0;
}
