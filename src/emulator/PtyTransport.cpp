#include "emulator/PtyTransport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace kestrava {

namespace {

constexpr SimTime kLongestWait{50'000};

} // namespace

std::unique_ptr<PtyTransport> PtyTransport::open(std::string& error) {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B19200);
    cfsetospeed(&raw, B19200);
    if (openpty(&master, &slave, name, &raw, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return nullptr;
    }
    const int flags = fcntl(master, F_GETFL);
    if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = std::string("fcntl: ") + std::strerror(errno);
        ::close(master);
        ::close(slave);
        return nullptr;
    }
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    return std::unique_ptr<PtyTransport>(new PtyTransport(master, slave, name));
}

PtyTransport::PtyTransport(int master, int slave, std::string path)
    : m_master(master), m_slave(slave), m_slavePath(std::move(path)) {}

PtyTransport::~PtyTransport() {
    ::close(m_master);
    ::close(m_slave);
}

void PtyTransport::serve(Emulator& emulator, const EmulatorClock& clock,
                         const std::atomic<bool>& stop) {
    Byte buffer[4096];
    while (!stop.load()) {
        const Bytes out = emulator.takeDue();
        std::size_t written = 0;
        while (written < out.size()) {
            const ssize_t n = ::write(m_master, out.data() + written, out.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                break; // the host is not reading: the rest is lost
            }
        }

        SimTime wait = kLongestWait;
        if (const auto next = emulator.nextDue()) {
            wait = std::clamp(*next - clock.now(), SimTime{0}, kLongestWait);
        }
        pollfd fd{m_master, POLLIN, 0};
        const timespec timeout{0, static_cast<long>(wait.count()) * 1000};
        const int ready = ::ppoll(&fd, 1, &timeout, nullptr);
        if (ready <= 0 || (fd.revents & POLLIN) == 0) {
            if (ready > 0 && (fd.revents & (POLLHUP | POLLERR)) != 0) {
                // No host on the line: nothing to read until one opens the device.
                ::usleep(1000);
            }
            continue;
        }
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            emulator.receive(std::span<const Byte>(buffer, static_cast<std::size_t>(n)));
        }
    }
}

} // namespace kestrava
