#include "support/RawLineClient.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace kestrava::test {

RawLineClient::RawLineClient(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        return;
    }
    termios tio{};
    if (tcgetattr(m_fd, &tio) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    cfmakeraw(&tio);
    cfsetispeed(&tio, B19200);
    cfsetospeed(&tio, B19200);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tcsetattr(m_fd, TCSANOW, &tio);
    tcflush(m_fd, TCIOFLUSH);
}

RawLineClient::~RawLineClient() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool RawLineClient::write(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::vector<std::uint8_t> RawLineClient::readChunk(std::chrono::milliseconds quiet,
                                                   std::chrono::milliseconds limit) {
    std::vector<std::uint8_t> out;
    int wait = static_cast<int>(limit.count());
    while (true) {
        pollfd fd{m_fd, POLLIN, 0};
        const int ready = ::poll(&fd, 1, wait);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0 || (fd.revents & POLLIN) == 0) {
            return out;
        }
        std::uint8_t buffer[4096];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) {
            return out;
        }
        out.insert(out.end(), buffer, buffer + n);
        wait = static_cast<int>(quiet.count());
    }
}

std::vector<std::uint8_t> RawLineClient::readFor(std::chrono::milliseconds span) {
    std::vector<std::uint8_t> out;
    const auto end = std::chrono::steady_clock::now() + span;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return out;
        }
        pollfd fd{m_fd, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) > 0 && (fd.revents & POLLIN) != 0) {
            std::uint8_t buffer[4096];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n > 0) {
                out.insert(out.end(), buffer, buffer + n);
            }
        }
    }
}

} // namespace kestrava::test
