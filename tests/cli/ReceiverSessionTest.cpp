// The session's wait for one request's own outcome, against the receiver emulator served on a
// pseudo-terminal: what the outcome says, what reaches the receiver, and that a wait that gave
// up leaves nothing behind for a late reply to reach.
#include "cli/ReceiverSession.h"
#include "cli/Interruption.h"
#include "emulator/Emulator.h"
#include "exchange/CommandExchange.h"
#include "protocol/ReplyKind.h"
#include "support/ServedEmulator.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <optional>
#include <sstream>

namespace kestrava {
namespace {

using Result = RequestOutcome::Result;

// What happens between opening the port and the request.
enum class Before { Nothing, Interrupt, ClosePort };

struct OutcomeCase {
    const char* name;
    FaultPlan faults;
    Before before;
    int timeoutMs;
    Result result;
    std::int32_t kind;
    bool takeCalled;
    std::optional<bool> staticVoiceAfter; // the receiver's flag afterwards; nothing: either
};

FaultPlan silent() {
    FaultPlan faults;
    faults.dropAll = true;
    return faults;
}

TEST(ReceiverSessionRequest, endsWithItsOwnOutcomeOrSendsNothing) {
    const OutcomeCase cases[] = {
        {"answered",
         {},
         Before::Nothing,
         ReceiverSession::kReplyWaitMs,
         Result::Replied,
         KindStaticVoiceSet,
         true,
         false},
        {"silent receiver", silent(), Before::Nothing, 400, Result::NoReply, KindNone, false,
         std::nullopt},
        {"interrupted",
         {},
         Before::Interrupt,
         ReceiverSession::kReplyWaitMs,
         Result::NotSent,
         KindNone,
         false,
         true},
        {"port closed",
         {},
         Before::ClosePort,
         ReceiverSession::kReplyWaitMs,
         Result::NotSent,
         KindNone,
         true,
         true},
    };
    for (const OutcomeCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::ServedEmulator receiver({}, c.faults);
        std::ostringstream err;
        ReceiverSession session(err);
        ASSERT_EQ(session.open(QString::fromStdString(receiver.devicePath()), false),
                  ReceiverSession::OpenResult::Ok);
        if (c.before == Before::Interrupt) {
            Interruption::request();
        } else if (c.before == Before::ClosePort) {
            session.close();
        }
        int takes = 0;
        bool takeSawReply = false;
        QElapsedTimer clock;
        clock.start();
        const RequestOutcome outcome = session.request(
            CommandId::SetStaticVoice, requestargs::SetStaticVoice{false},
            [&](const RequestOutcome& o) {
                ++takes;
                takeSawReply = o.reply.has_value();
            },
            c.timeoutMs);
        const qint64 waited = clock.elapsed();
        Interruption::clear();

        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(outcome.repliedWith(KindStaticVoiceSet), c.result == Result::Replied);
        EXPECT_FALSE(outcome.reply.has_value()) << "the reply's data is gone once the wait ends";
        EXPECT_EQ(takes, c.takeCalled ? 1 : 0);
        EXPECT_EQ(takeSawReply, c.result == Result::Replied);
        if (c.result != Result::NoReply) {
            EXPECT_LT(waited, c.timeoutMs) << "an outcome ends the wait at once";
        }
        session.close();
        if (c.staticVoiceAfter) {
            EXPECT_EQ(receiver.stop().settings().staticVoice(), *c.staticVoiceAfter);
        }
    }
}

TEST(ReceiverSessionRequest, aChainNamesTheStepsBeforeTheReplyThatEndedIt) {
    test::ServedEmulator receiver;
    std::ostringstream err;
    ReceiverSession session(err);
    ASSERT_EQ(session.open(QString::fromStdString(receiver.devicePath()), false),
              ReceiverSession::OpenResult::Ok);
    const RequestOutcome outcome =
        session.request(RequestChain::ReadStoreLocation, requestargs::NoArguments{}, {},
                        CommandExchange::kStoreLocationTimeoutMs + ReceiverSession::kReplyWaitMs);
    EXPECT_TRUE(outcome.repliedWith(KindRinexFlag));
    ASSERT_EQ(outcome.steps.size(), 1u);
    EXPECT_TRUE(outcome.steps[0].repliedWith(KindStoreLocation));
    EXPECT_EQ(outcome.steps[0].value, 1); // the emulator stores on the card
}

TEST(ReceiverSessionRequest, aReplyAfterTheWaitGaveUpReachesNoneOfItsCaller) {
    FaultPlan faults;
    faults.delayNext = 1;
    faults.delay = SimTime{1'500'000};
    test::ServedEmulator receiver({}, faults);
    std::ostringstream err;
    ReceiverSession session(err);
    ASSERT_EQ(session.open(QString::fromStdString(receiver.devicePath()), false),
              ReceiverSession::OpenResult::Ok);
    int takes = 0;
    {
        // take refers to what lives only in this block: a late call would reach freed memory.
        std::optional<int> flag;
        const RequestOutcome outcome = session.request(
            CommandId::ReadStaticVoice, requestargs::NoArguments{},
            [&](const RequestOutcome& o) {
                ++takes;
                flag = o.value;
            },
            300);
        EXPECT_EQ(outcome.result, Result::NoReply);
        EXPECT_FALSE(flag.has_value());
    }
    session.pause(2500); // the held-back reply arrives and is handled
    EXPECT_EQ(takes, 0);
    const RequestOutcome again =
        session.request(CommandId::ReadStaticVoice, requestargs::NoArguments{},
                        [&](const RequestOutcome&) { ++takes; });
    EXPECT_TRUE(again.repliedWith(KindStaticVoice));
    EXPECT_EQ(takes, 1);
}

} // namespace
} // namespace kestrava
