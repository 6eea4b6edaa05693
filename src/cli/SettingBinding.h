#pragma once

#include "cli/SettingGroup.h"
#include "exchange/RequestArguments.h"
#include "exchange/RequestChain.h"
#include "exchange/RequestOutcome.h"
#include "protocol/CommandId.h"
#include "settings/SettingTable.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrava {

class ReceiverSession;

// One command of a group's set, with what confirms it.
struct SettingStep {
    CommandId command{};
    RequestArguments arguments;
    std::vector<int> kinds;  // the replies that end it
    int waitMs = 0;          // 0: the session's reply wait
    const char* failed = {}; // a reply carrying 0 means the receiver refused, in these words
    // Run just before the command is sent: what the set keeps in the stored settings.
    std::function<void(ReceiverSession&)> before;
    // Sent as this chain of the exchange (which begins with command) instead of command alone.
    std::optional<RequestChain> chain;
};

// What a group's set sends: its commands in order.
struct SettingSend {
    std::vector<SettingStep> steps;
};

// How the command line reads, checks and sets one group of the setting table: the command line's
// half of a group's row. The group's keys, sections, ranges and commands are the table's.
struct SettingBinding {
    SettingGroupId group{};

    // ---- Reading --------------------------------------------------------------------------
    bool throughRadio = false; // the line is connected through to the internal radio first
    // Read as this chain of the exchange (which begins with the group's read) instead of the
    // read alone.
    std::optional<RequestChain> readChain;
    RequestArguments readArguments;
    std::vector<int> readKinds; // the replies that answer the read
    int readWaitMs = 0;         // 0: the session's reply wait
    // The group's values as get prints them, from the read's outcome (a reply of one of
    // readKinds, while its data may still be read); false when the read brought nothing.
    bool (*values)(const RequestOutcome& outcome, SettingValues& values) = nullptr;

    // ---- Waiting ---------------------------------------------------------------------------
    // The tip is cleared before each command, and one shown while no reply came is the
    // message; otherwise the receiver's silence is.
    bool asksTip = false;
    // The set's message is the tip each command leaves, one line each.
    bool reportsTip = false;

    // ---- Setting ---------------------------------------------------------------------------
    // The complete set of values through the page's form: the commands to send, or the refusal
    // with the page's words. The session is null when only checking; a form that needs the
    // receiver's state to judge then leaves the judgement to the set.
    CliOutcome (*form)(const SettingValues& values, ReceiverSession* session,
                       SettingSend& send) = nullptr;
    // For sets that are not one confirmed command after another: the whole set.
    CliOutcome (*write)(ReceiverSession& session, const SettingValues& values) = nullptr;
    // Whether key is carried to the receiver with these values; null: always.
    bool (*carries)(const std::string& key, const SettingValues& values) = nullptr;
};

} // namespace kestrava
