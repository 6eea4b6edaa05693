#pragma once

#include "ntrip/Sourcetable.h"
#include "ntrip/StationPosition.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>

namespace kestrava {

// What one conversation with a caster came to.
struct CasterOutcome {
    enum class Result {
        Sourcetable,  // the sourcetable was received (a list)
        Accepted,     // the login was accepted and the stream listened to
        Refused,      // 401: the user name or password
        UnknownMount, // the caster answered a mount point with its sourcetable (or 404)
        Unreachable,  // no connection (name not found, refused, network down)
        TimedOut,     // connected, but the caster did not answer in time
        BadReply,     // an answer that is neither a sourcetable, a stream nor a refusal
        Cancelled,
    };

    Result result = Result::BadReply;
    std::string detail; // the system's reason, or the caster's status line
    Sourcetable table;  // Sourcetable and UnknownMount

    // Accepted: what the stream carried while it was listened to.
    std::map<int, std::size_t> messages; // RTCM 3 message number -> frames
    std::size_t bytes = 0;
    std::size_t badFrames = 0;
    double seconds = 0;
    std::optional<StationPosition> station;

    std::size_t validFrames() const {
        std::size_t total = 0;
        for (const auto& entry : messages) {
            total += entry.second;
        }
        return total;
    }
    double bytesPerSecond() const { return seconds > 0 ? static_cast<double>(bytes) / seconds : 0; }
};

} // namespace kestrava
