#pragma once

#include "PagesView.h"
#include "emulator/InMemoryLink.h"
#include "exchange/CommandExchange.h"
#include "pages/CDialogExpand.h"
#include "pages/CDialogRadioManager.h"
#include "settings/StoredSettings.h"
#include "support/FakePageHost.h"
#include "support/InMemoryExchangePort.h"
#include "support/ManualReplyTimers.h"

#include <gtest/gtest.h>

#include <memory>

namespace kestrava::test {

// The Radio and Advanced pages with their host on the real exchange, which talks to the receiver
// emulator in memory. start() with the receiver to play; open() presses the window's Open.
class PagesOnEmulator : public ::testing::Test {
protected:
    void start(ReceiverProfile profile = {}) {
        // A second start drops the first receiver, newest part first.
        host.reset();
        exchange.reset();
        port.reset();
        link = std::make_unique<InMemoryLink>(std::move(profile));
        port = std::make_unique<InMemoryExchangePort>(*link);
        exchange = std::make_unique<CommandExchange>(*port, timers, view, settings);
        host = std::make_unique<FakePageHost>(*exchange, settings);
        radio.InitRadioPage();
        radio.SetHost(host.get());
        expand.InitExpandPage();
        expand.ApplyExpandTexts();
        expand.SetHost(host.get());
    }

    void open() {
        ASSERT_TRUE(exchange->openPort(QStringLiteral("sim")));
        port->pump();
        port->clearWrites();
    }

    Emulator& emulator() { return link->emulator(); }

    CDialogRadioManager radio;
    CDialogExpand expand;
    PagesView view{expand};
    ManualReplyTimers timers;
    StoredSettings settings;
    std::unique_ptr<InMemoryLink> link;
    std::unique_ptr<InMemoryExchangePort> port;
    std::unique_ptr<CommandExchange> exchange;
    std::unique_ptr<FakePageHost> host;
};

} // namespace kestrava::test
