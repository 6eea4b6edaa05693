#include "cli/Interruption.h"

#include <atomic>
#include <csignal>

namespace kestrava {
namespace {

std::atomic<bool> g_requested{false};
// Guards alive; only the outermost installs and restores the handlers.
std::atomic<int> g_guards{0};

constexpr std::array<int, 3> kSignals = {
    SIGINT,
    SIGTERM,
#ifdef SIGHUP
    SIGHUP,
#else
    SIGINT,
#endif
};

extern "C" void onSignal(int signal) {
    if (g_requested.exchange(true)) {
        // Asked twice: the user does not want to wait for the sessions to wind up.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

} // namespace

Interruption::Guard::Guard() {
    if (g_guards.fetch_add(1) != 0) {
        return;
    }
    m_outermost = true;
    g_requested.store(false);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        m_previous[i] = std::signal(kSignals[i], onSignal);
    }
}

Interruption::Guard::~Guard() {
    g_guards.fetch_sub(1);
    if (!m_outermost) {
        return;
    }
    for (std::size_t i = kSignals.size(); i-- > 0;) {
        std::signal(kSignals[i], m_previous[i]);
    }
}

bool Interruption::requested() {
    return g_requested.load();
}

void Interruption::request() {
    g_requested.store(true);
}

void Interruption::clear() {
    g_requested.store(false);
}

} // namespace kestrava
