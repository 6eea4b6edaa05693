#pragma once

#include "protocol/CommandId.h"
#include "protocol/ReplyData.h"
#include "protocol/ReplyKind.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace kestrava {

// What became of one request of the exchange (CommandExchange::request): the reply that ended
// it, or why none will come.
struct RequestOutcome {
    enum class Result {
        Replied,    // a reply of the command was decoded and handled; kind and value tell which
        Sent,       // the command awaits no reply, and it went out
        NoReply,    // its timer ran out first ("No reply from receiver" in the tip line)
        PortLost,   // the port closed, or the receiver went away, before the reply came
        Superseded, // another command went out before the reply: one command is in flight at a
                    // time, so this one's reply is no longer awaited
        NotSent,    // nothing was written: the port is closed, a firmware transfer runs, or the
                    // command is not one that request() sends
        Failed,     // a download stopped on its own: the copy could not be written, or the line
                    // delivered a reply that nobody asked for
    };

    CommandId command{};
    Result result = Result::NotSent;
    std::int32_t kind = KindNone; // Replied: the kind delivered
    std::int32_t value = -1;      // Replied: the number the reply carried; -1 for a record
    // Replied: the decoded reply. What its pointers and spans point at belongs to the decoder
    // and is valid only while onDone runs: take what is needed from it there.
    std::optional<ReplyData> reply = std::nullopt;
    // A chain's outcome: what became of each command before the one that ended it, in the order
    // they went out, without their replies (the download's blocks are not listed). The store
    // location read, for one, is here when the chain ends on the RINEX flag.
    std::vector<RequestOutcome> steps = {};

    // Whether the request was answered by a reply of kind ofKind (also once the reply itself is
    // gone: a chain's steps, an outcome kept past onDone).
    bool repliedWith(std::int32_t ofKind) const {
        return result == Result::Replied && kind == ofKind;
    }
    // The record a reply of kind ofKind carried (a channel table, the network parameters, a pair
    // of texts), or null for any other outcome.
    template <typename T>
    const T* record(std::int32_t ofKind) const {
        if (!repliedWith(ofKind) || !reply) {
            return nullptr;
        }
        const auto* held = std::get_if<const T*>(&*reply);
        return held != nullptr ? *held : nullptr;
    }
    // The value a reply of kind ofKind carried (a number, a pair of numbers), or nothing for any
    // other outcome.
    template <typename T>
    std::optional<T> carried(std::int32_t ofKind) const {
        if (!repliedWith(ofKind) || !reply) {
            return std::nullopt;
        }
        const auto* held = std::get_if<T>(&*reply);
        return held != nullptr ? std::optional<T>(*held) : std::nullopt;
    }
};

// Receives the outcome of one request, exactly once.
using RequestDone = std::function<void(const RequestOutcome&)>;

} // namespace kestrava
