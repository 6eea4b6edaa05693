#pragma once

#include "exchange/RequestArguments.h"
#include "exchange/RequestChain.h"
#include "exchange/RequestOutcome.h"
#include "protocol/CommandId.h"
#include "protocol/DecoderState.h"

#include <utility>

namespace kestrava {

// What the pages may ask of the exchange: commands and chains that each report their own
// outcome, and what the decoder has learnt of the receiver so far. CommandExchange implements
// it; its port, timers and state stay its own.
class ExchangeRequests {
public:
    virtual ~ExchangeRequests() = default;

    // Sends command with arguments; onDone hears, exactly once, what became of it
    // (CommandExchange::request).
    virtual void request(CommandId command, const RequestArguments& arguments,
                         RequestDone onDone = {}) = 0;
    // Runs chain with arguments; onDone hears, exactly once, how it ended.
    virtual void request(RequestChain chain, const RequestArguments& arguments,
                         RequestDone onDone = {}) = 0;

    // The same without arguments.
    void request(CommandId command, RequestDone onDone = {}) {
        request(command, requestargs::NoArguments{}, std::move(onDone));
    }
    void request(RequestChain chain, RequestDone onDone = {}) {
        request(chain, requestargs::NoArguments{}, std::move(onDone));
    }

    // What the replies so far told of the receiver (its main information, its motherboard).
    virtual const DecoderState& decoderState() const = 0;

protected:
    ExchangeRequests() = default;
    ExchangeRequests(const ExchangeRequests&) = default;
    ExchangeRequests& operator=(const ExchangeRequests&) = default;
};

} // namespace kestrava
