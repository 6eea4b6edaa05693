#include "support/PseudoTerminal.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace kestrava::test {

PseudoTerminal::PseudoTerminal() {
    termios raw{};
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B19200);
    ::cfsetospeed(&raw, B19200);
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = -1;
        m_slave = -1;
        return;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = name;
}

PseudoTerminal::~PseudoTerminal() {
    closeMaster();
    if (m_slave >= 0) {
        ::close(m_slave);
    }
}

bool PseudoTerminal::send(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        pollfd out{m_master, POLLOUT, 0};
        if (::poll(&out, 1, 1000) <= 0) {
            return false;
        }
    }
    return true;
}

std::vector<std::uint8_t> PseudoTerminal::receive(std::size_t count, int quietMs) {
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < count) {
        pollfd in{m_master, POLLIN, 0};
        if (::poll(&in, 1, quietMs) <= 0 || (in.revents & POLLIN) == 0) {
            break;
        }
        std::uint8_t buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

std::size_t PseudoTerminal::queuedAtSlave() const {
    int count = 0;
    if (m_slave < 0 || ::ioctl(m_slave, FIONREAD, &count) != 0) {
        return 0;
    }
    return static_cast<std::size_t>(count);
}

void PseudoTerminal::closeMaster() {
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

} // namespace kestrava::test
