#include "cli/SnrVerb.h"

#include "cli/SecondsOption.h"

#include "cli/ReceiverSession.h"
#include "cli/SettingGroup.h"
#include "exchange/CommandExchange.h"

#include <QElapsedTimer>

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>

namespace kestrava {
namespace {

// Set by Ctrl-C while the test runs.
std::atomic<bool> g_interrupted{false};

void onInterrupt(int) {
    g_interrupted.store(true);
}

// How often what arrived is printed.
constexpr int kPrintEveryMs = 100;
// After the stop command, the port is given this long to send it before it is closed.
constexpr int kDrainMs = 300;

// Ctrl-C, a kill (SIGTERM) and a closed terminal (SIGHUP) end the wait instead of the program
// while it is installed, so the stop command is always sent.
class InterruptGuard {
public:
    InterruptGuard() {
        g_interrupted.store(false);
        for (std::size_t i = 0; i < kSignals.size(); ++i) {
            m_previous[i] = std::signal(kSignals[i], onInterrupt);
        }
    }
    ~InterruptGuard() {
        for (std::size_t i = 0; i < kSignals.size(); ++i) {
            std::signal(kSignals[i], m_previous[i]);
        }
    }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
#ifdef _WIN32
    static constexpr std::array<int, 2> kSignals = {SIGINT, SIGTERM}; // Windows has no SIGHUP
#else
    static constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
#endif
    std::array<void (*)(int), kSignals.size()> m_previous{};
};

int run(PortVerbContext& c) {
    std::string error;
    const int seconds = SnrVerb::seconds(c.args, error).value_or(SnrVerb::kDefaultSeconds);
    ReceiverSession& session = c.session;
    QByteArray& echoed = session.view().echoed;
    echoed.clear();

    const InterruptGuard guard;
    session.exchange().StartSnrTest();
    QElapsedTimer clock;
    clock.start();
    const qint64 limitMs = static_cast<qint64>(seconds) * 1000;
    while (clock.elapsed() < limitMs && !g_interrupted.load() && session.exchange().portOpen()) {
        session.waitUntil(
            [] { return g_interrupted.load(); },
            static_cast<int>(std::min<qint64>(kPrintEveryMs, limitMs - clock.elapsed() + 1)));
        if (!echoed.isEmpty()) {
            c.out.write(echoed.constData(), echoed.size());
            c.out.flush();
            echoed.clear();
        }
    }
    const bool lineLost = !session.exchange().portOpen();
    session.exchange().StopSnrTest();
    session.pause(kDrainMs);
    if (lineLost) {
        c.err << "The port was closed during the test\n";
        return kCliPortFailed;
    }
    return kCliOk;
}

} // namespace

std::optional<int> SnrVerb::seconds(const std::vector<std::string>& args, std::string& error) {
    return SecondsOption::parse(args, "snr", kDefaultSeconds, error);
}

PortVerb SnrVerb::make() {
    return {"snr",
            "[--seconds N]",
            "Run the net module's signal test: print what the receiver sends as it arrives,\n"
            "then stop the test after N seconds (10 by default) or on Ctrl-C.",
            true,
            [](const std::vector<std::string>& args, SettingsVerbs&) {
                std::string error;
                seconds(args, error);
                return error;
            },
            run};
}

} // namespace kestrava
