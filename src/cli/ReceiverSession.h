#pragma once

#include "cli/ConsoleView.h"
#include "settings/StoredSettings.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

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

    // Runs send, then the event loop until a reply of one of kinds has been handled (its value
    // is returned: the number it carried, or -1 for a record), a reply timer expired or
    // timeoutMs passed (nothing is returned; the view's tip says what the exchange reported).
    std::optional<int> request(const std::function<void()>& send, const std::vector<int>& kinds,
                               int timeoutMs = kReplyWaitMs);

    // Runs the event loop until done() holds or timeoutMs passed; returns done().
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);
    // Runs the event loop for ms milliseconds.
    void pause(int ms);

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    ConsoleView m_view;
    StoredSettings m_settings;
    std::unique_ptr<CommandExchange> m_exchange;
};

} // namespace kestrava
