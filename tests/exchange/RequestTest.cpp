// request(): a command sent as its send operation sends it, whose outcome comes back to the one
// who asked, exactly once.
#include "exchange/ExchangeFixture.h"
#include "exchange/TextCodec.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace kestrava::test {
namespace {

using Result = RequestOutcome::Result;

class Requests : public ExchangeFixture {
protected:
    void ask(CommandId command, const RequestArguments& arguments = requestargs::NoArguments{}) {
        exchange->request(command, arguments,
                          [this](const RequestOutcome& o) { outcomes.push_back(o); });
    }

    std::vector<RequestOutcome> outcomes;
};

TEST_F(Requests, eachRequestEndsInItsOwnOutcomeOnce) {
    struct Case {
        const char* what;
        CommandId command;
        RequestArguments arguments;
        std::function<void()> before; // with the port open and the panel read
        std::function<void()> after;  // once the request is made
        Result result;
        std::int32_t kind;
    };
    const Case cases[] = {
        {"the reply", CommandId::ReadCollectParams, requestargs::NoArguments{}, nullptr,
         [this] { port->pump(); }, Result::Replied, KindCollectParams},
        {"a reply that starts a chain", CommandId::ReadFileList, requestargs::NoArguments{},
         nullptr, [this] { port->pump(); }, Result::Replied, KindFileList},
        {"the main information's silence", CommandId::ReadMainInfo, requestargs::NoArguments{},
         [this] { faults().dropAll = true; },
         [this] {
             port->pump();
             timers.advance(CommandExchange::kMainInfoTimeoutMs);
         },
         Result::NoReply, KindNone},
        {"the store location's silence", CommandId::ReadStoreLocation, requestargs::NoArguments{},
         [this] { faults().dropAll = true; },
         [this] {
             port->pump();
             timers.advance(CommandExchange::kStoreLocationTimeoutMs);
         },
         Result::NoReply, KindNone},
        {"nothing awaited", CommandId::StopSnrTest, requestargs::NoArguments{}, nullptr, nullptr,
         Result::Sent, KindNone},
        {"output the motherboard does not answer", CommandId::SetNmeaOutput,
         requestargs::SetNmeaOutput{NmeaOutputChoice{}}, nullptr, nullptr, Result::Sent, KindNone},
        {"a newer command", CommandId::ReadNetParams, requestargs::NoArguments{}, nullptr,
         [this] { exchange->request(CommandId::ReadCollectParams); }, Result::Superseded, KindNone},
        {"the port closed", CommandId::ReadNetParams, requestargs::NoArguments{}, nullptr,
         [this] { exchange->closePort(); }, Result::PortLost, KindNone},
        {"a closed port", CommandId::ReadCollectParams, requestargs::NoArguments{},
         [this] {
             exchange->closePort();
             port->pump();
         },
         nullptr, Result::NotSent, KindNone},
        {"a set with its arguments", CommandId::SetCollectParams,
         requestargs::SetCollectParams{5, 12}, nullptr, [this] { port->pump(); }, Result::Replied,
         KindCollectParamsSet},
        {"a set without its arguments", CommandId::SetCollectParams, requestargs::NoArguments{},
         nullptr, nullptr, Result::NotSent, KindNone},
        {"a read given arguments", CommandId::ReadCollectParams,
         requestargs::SetCollectParams{5, 12}, nullptr, nullptr, Result::NotSent, KindNone},
        {"another command's arguments", CommandId::SetAirBaud, requestargs::SetVolume{3}, nullptr,
         nullptr, Result::NotSent, KindNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        outcomes.clear();
        exchange.reset(); // a fresh receiver each time: the exchange goes before its port
        port.reset();
        start();
        openAndPump();
        if (c.before) {
            c.before();
        }
        ask(c.command, c.arguments);
        if (c.after) {
            c.after();
        }
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_EQ(outcomes.front().command, c.command);
        EXPECT_EQ(outcomes.front().result, c.result);
        EXPECT_EQ(outcomes.front().kind, c.kind);
        // Nothing that follows reports it again.
        port->pump();
        timers.advance(10'000);
        EXPECT_EQ(outcomes.size(), 1u);
    }
}

TEST_F(Requests, aRequestSendsWhatItsSendOperationSendsAndShowsTheSameTip) {
    start();
    openAndPump();
    port->clearWrites();
    ask(CommandId::ReadCollectParams);
    ASSERT_EQ(port->writes().size(), 1u);
    EXPECT_EQ(port->writes().front(),
              (Bytes{0x24, 0x24, 0x46, 0x4A, 0x00, 0x00, 0x0C, 0x0D, 0x0A}));
    EXPECT_EQ(view.tip, QStringLiteral("Reading record interval..."));
    port->pump();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes.front().result, Result::Replied);
}

// A caller takes the values it asked for from its own outcome, while onDone runs.
TEST_F(Requests, theOutcomeCarriesTheDecodedReply) {
    start();
    openAndPump();
    std::optional<IntPair> collect;
    exchange->request(CommandId::ReadCollectParams, [&collect](const RequestOutcome& o) {
        if (o.reply) {
            if (const auto* values = std::get_if<IntPair>(&*o.reply)) {
                collect = *values;
            }
        }
    });
    port->pump();
    ASSERT_TRUE(collect.has_value());
    EXPECT_EQ(collect->first, settings.collectInterval);
    EXPECT_EQ(collect->second, settings.cutOff);

    // A chain's outcome carries the reply that ended it: the naming read back after the set.
    std::optional<QString> prefix;
    exchange->request(RequestChain::FileNaming,
                      requestargs::SetFileNaming{QStringLiteral("K"), QStringLiteral("0042")},
                      [&prefix](const RequestOutcome& o) {
                          if (o.reply) {
                              if (const auto* texts = std::get_if<const TextPair*>(&*o.reply)) {
                                  prefix = TextCodec::toText((*texts)->first);
                              }
                          }
                      });
    port->pump();
    EXPECT_EQ(prefix, QStringLiteral("K"));

    // No reply, nothing carried.
    faults().dropAll = true;
    std::optional<bool> carried;
    exchange->request(CommandId::ReadCollectParams,
                      [&carried](const RequestOutcome& o) { carried = o.reply.has_value(); });
    port->pump();
    exchange->request(CommandId::ReadNetParams);
    EXPECT_EQ(carried, false);
}

} // namespace
} // namespace kestrava::test
