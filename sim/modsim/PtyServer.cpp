#include "PtyServer.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tolm::sim {

namespace {

std::string SystemError(const char *what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

PtyServer::~PtyServer()
{
    if (m_slave >= 0) {
        ::close(m_slave);
    }
    if (m_master >= 0) {
        ::close(m_master);
    }
}

bool PtyServer::Open(std::string &error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        error = SystemError("posix_openpt");
        return false;
    }
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = SystemError("grantpt/unlockpt");
        return false;
    }
    const char *name = ::ptsname(m_master);
    if (name == nullptr) {
        error = SystemError("ptsname");
        return false;
    }
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        error = SystemError("open slave");
        return false;
    }
    // Raw mode: no echo, no line editing, no CR/LF translation: every byte passes as it is.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0) {
        error = SystemError("tcgetattr");
        return false;
    }
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0) {
        error = SystemError("tcsetattr");
        return false;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    return true;
}

std::optional<timespec> PtyServer::PollTimeout(const ModuleSimulator &module) const
{
    if (!m_outgoing.empty()) {
        return timespec{0, 50'000'000}; // POLLOUT wakes us sooner when the terminal takes bytes
    }
    const auto due = module.NextOutputDue();
    if (!due) {
        return std::nullopt;
    }
    const auto wait = *due - ModuleSimulator::Clock::now();
    if (wait <= wait.zero()) {
        return timespec{0, 0};
    }
    // To the nanosecond: a timeout rounded up to whole milliseconds would deliver every reply
    // byte up to a millisecond late, about as long as the byte itself takes on the wire.
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

bool PtyServer::Serve(ModuleSimulator &module, int stopFd, std::string &error)
{
    for (;;) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (!m_outgoing.empty()) {
            fds[0].events |= POLLOUT;
        }
        const std::optional<timespec> timeout = PollTimeout(module);
        const int ready = ::ppoll(fds, 2, timeout ? &*timeout : nullptr, nullptr);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = SystemError("ppoll");
            return false;
        }
        if (fds[1].revents != 0) {
            return true;
        }
        if ((fds[0].revents & POLLIN) != 0 && !PumpInput(module, error)) {
            return false;
        }
        if ((fds[0].revents & (POLLHUP | POLLERR)) != 0 && (fds[0].revents & POLLIN) == 0) {
            // Should not happen while we hold the slave; do not spin if it does.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!PumpOutput(module, error)) {
            return false;
        }
    }
}

bool PtyServer::PumpInput(ModuleSimulator &module, std::string &error)
{
    uint8_t buffer[256];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR || errno == EIO) {
            return true; // EIO: no host has the slave open right now
        }
        error = SystemError("read");
        return false;
    }
    for (ssize_t i = 0; i < n; ++i) {
        module.HostWrite(buffer[i]);
    }
    return true;
}

bool PtyServer::PumpOutput(ModuleSimulator &module, std::string &error)
{
    while (const auto byte = module.HostRead()) {
        m_outgoing.push_back(static_cast<char>(*byte));
    }
    while (!m_outgoing.empty()) {
        const ssize_t n = ::write(m_master, m_outgoing.data(), m_outgoing.size());
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR || errno == EIO) {
                return true; // try again when the terminal takes more
            }
            error = SystemError("write");
            return false;
        }
        m_outgoing.erase(0, static_cast<size_t>(n));
    }
    return true;
}

} // namespace tolm::sim
