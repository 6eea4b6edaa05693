#pragma once

#include "cli/ConsoleView.h"
#include "exchange/RequestArguments.h"
#include "exchange/RequestChain.h"
#include "exchange/RequestOutcome.h"
#include "protocol/CommandId.h"
#include "settings/StoredSettings.h"

#include <QString>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace kestrava {

class CommandExchange;
class ProtocolTrace;

// One conversation of the command-line tool with a receiver: the serial port, the program's own
// exchange core and a console view, and the means to wait for the receiver without blocking the
// event loop the exchange runs on. Needs a Qt core application object.
class ReceiverSession {
public:
    // How long a command without a reply timer of its own is given to be answered.
    static constexpr int kReplyWaitMs = 3000;
    // Longer than the whole main information chain can take (3 s open wait, 3 s main
    // information, 5 × 2 s motherboard).
    static constexpr int kChainLimitMs = 30000;
    // How long closing waits for the reader to report the device closed.
    static constexpr int kCloseWaitMs = 2000;

    enum class OpenResult { Ok, OpenFail, NoReply };

    // Port errors are written to err. With a trace, every frame, chunk and port event of the
    // session is written to it as well; the trace must outlive the session.
    explicit ReceiverSession(std::ostream& err, ProtocolTrace* trace = nullptr);
    ~ReceiverSession();

    ReceiverSession(const ReceiverSession&) = delete;
    ReceiverSession& operator=(const ReceiverSession&) = delete;

    // Opens device at 19200 baud. With readMainInfo, runs the main information chain as the
    // window's Open does and waits for its end: NoReply when the main information did not come.
    // Without, waits only until the reader runs.
    OpenResult open(const QString& device, bool readMainInfo = true);
    void close();

    CommandExchange& exchange() { return *m_exchange; }
    ConsoleView& view() { return m_view; }
    StoredSettings& settings() { return m_settings; }

    // Sends command with arguments, then runs the event loop until its outcome arrives, the port
    // closes or timeoutMs passes. take, when given, is handed the outcome as it arrives, while
    // its reply may still be read: it copies out what the caller needs. The outcome returned has
    // no reply; when the wait ran out first it is NoReply (PortLost when the port closed). Once
    // the user has interrupted the program nothing is sent: NotSent, and take is not called.
    RequestOutcome request(CommandId command, const RequestArguments& arguments,
                           const RequestDone& take = {}, int timeoutMs = kReplyWaitMs);
    // The same for a chain: its outcome comes when the chain has ended.
    RequestOutcome request(RequestChain chain, const RequestArguments& arguments,
                           const RequestDone& take = {}, int timeoutMs = kReplyWaitMs);

    // Runs the event loop until done() holds, timeoutMs passed or the user interrupted the
    // program; returns done().
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);
    // Runs the event loop for ms milliseconds, or until the user interrupts the program.
    void pause(int ms);
    // As waitUntil, but an interruption does not end it: for winding up (a stop command on its
    // way out, the port closing).
    bool settle(const std::function<bool()>& done, int timeoutMs);

    // What a command that got no answer is reported as: the receiver's silence, or the user's
    // interruption that ended the wait.
    static std::string silenceText();

private:
    struct Parts;
    // Runs ask with the callback that receives the outcome, and waits for it as request does.
    RequestOutcome await(const std::function<void(RequestDone)>& ask, const RequestDone& take,
                         int timeoutMs);
    bool wait(const std::function<bool()>& done, int timeoutMs, bool interruptible);

    std::unique_ptr<Parts> m_parts;
    ConsoleView m_view;
    StoredSettings m_settings;
    std::unique_ptr<CommandExchange> m_exchange;
};

} // namespace kestrava
