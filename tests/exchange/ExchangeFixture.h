#pragma once

#include "emulator/InMemoryLink.h"
#include "exchange/CommandExchange.h"
#include "exchange/RecordingView.h"
#include "settings/StoredSettings.h"
#include "support/InMemoryExchangePort.h"
#include "support/ManualReplyTimers.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace kestrava::test {

// The exchange wired to the receiver emulator in memory, with manual timers and a recording view.
// Call start() with the receiver to play (and its faults) before using the exchange.
class ExchangeFixture : public ::testing::Test {
protected:
    void start(ReceiverProfile profile = {}, FaultPlan faults = {}) {
        link = std::make_unique<InMemoryLink>(std::move(profile), Emulator::Timing{}, faults);
        port = std::make_unique<InMemoryExchangePort>(*link);
        exchange = std::make_unique<CommandExchange>(*port, timers, view, settings);
        QObject::connect(exchange.get(), &CommandExchange::mainInfoChainEnded,
                         [this](bool arrived) { chainEnded = arrived; });
    }

    // Opens the port (which asks for the main information) and delivers every answer.
    void openAndPump() {
        ASSERT_TRUE(exchange->openPort(QStringLiteral("sim")));
        port->pump();
    }

    // Opens the port without reading anything yet.
    void openQuietly() { ASSERT_TRUE(port->open(QStringLiteral("sim"), 19200)); }

    FaultPlan& faults() { return link->emulator().faults(); }

    ManualReplyTimers timers;
    RecordingView view;
    StoredSettings settings;
    std::unique_ptr<InMemoryLink> link;
    std::unique_ptr<InMemoryExchangePort> port;
    std::unique_ptr<CommandExchange> exchange;
    std::optional<bool> chainEnded;
};

// Wire constants, restated.
inline const Bytes kReadMainInfo{0x24, 0x24, 0x56, 0x43, 0x00, 0x00, 0x15, 0x0D, 0x0A};
inline const Bytes kReadBoardSerial{0x02, 0x00, 0x06, 0x00, 0x06, 0x03};
inline const Bytes kLogVersion{'\r', '\n', 'l', 'o', 'g', ' ', 'v', 'e'};
inline const Bytes kReadVoiceBlock{0x24, 0x24, 0x49, 0x4B, 0x00, 0x00};
inline const Bytes kReadFileListHead{0x24, 0x24, 0x46, 0x4D, 0x03, 0x00, 0x08};
inline const Bytes kFormatFiles{0x24, 0x24, 0x46, 0x44, 0x00, 0x00};
inline const Bytes kNextBlock{0x24, 0x24, 0x46, 0x74, 0x00, 0x00};
inline const Bytes kStopDownload{0x24, 0x24, 0x46, 0x74, 0x01, 0x00, 0x04};

} // namespace kestrava::test
