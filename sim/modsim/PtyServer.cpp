#include "PtyServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tolm::sim {

namespace {

// How long before a reply byte is due the server stops sleeping and watches the clock.
constexpr auto kAwakeBeforeDue = std::chrono::microseconds(250);

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

std::optional<ModuleSimulator::TimePoint> PtyServer::NextWake(const ModuleSimulator &module) const
{
    using namespace std::chrono_literals;
    std::optional<ModuleSimulator::TimePoint> wake = module.NextOutputDue();
    const auto wakeBy = [&wake](ModuleSimulator::TimePoint due) {
        wake = wake ? std::min(*wake, due) : due;
    };
    if (!m_outgoing.empty()) {
        // POLLOUT wakes us sooner when the terminal takes bytes again.
        wakeBy(ModuleSimulator::Clock::now() + 50ms);
    }
    if (m_pacer && m_pacer->HasWaiting()) {
        wakeBy(m_pacer->FreeAt());
    }
    if (const auto release = m_adapter ? m_adapter->ReleaseAt() : std::nullopt) {
        wakeBy(*release);
    }
    return wake;
}

// While a byte is known to wait for the line, the terminal is not watched: it would report the
// same byte again and again until the line is free.
bool PtyServer::WatchesInput(ModuleSimulator::TimePoint now) const
{
    return !m_pacer || !m_pacer->HasWaiting() || m_pacer->IsFree(now);
}

bool PtyServer::Serve(ModuleSimulator &module, int stopFd, std::string &error)
{
    for (;;) {
        const auto now = ModuleSimulator::Clock::now();
        pollfd fds[2] = {{m_master, 0, 0}, {stopFd, POLLIN, 0}};
        if (WatchesInput(now)) {
            fds[0].events |= POLLIN;
        }
        if (!m_outgoing.empty()) {
            fds[0].events |= POLLOUT;
        }
        // Reply bytes are due to the microsecond in real time; a timeout in whole milliseconds
        // would hold each reply up to a millisecond too long.
        timespec timeout{};
        const auto wake = NextWake(module);
        if (wake) {
            auto wait = std::max(*wake - now, ModuleSimulator::Clock::duration::zero());
            // A sleeping process wakes tens of microseconds after its timer, more on a
            // virtual machine; a real module sends on time. The last stretch before a reply
            // byte is due is therefore waited out awake.
            if (wait < kAwakeBeforeDue) {
                wait = wait.zero();
            }
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
        }
        const int ready = ::ppoll(fds, 2, wake ? &timeout : nullptr, nullptr);
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
        if (m_pacer && m_pacer->HasWaiting() && !TakePacedByte(module, error)) {
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
    if (m_pacer) {
        // The byte stays in the terminal until the line takes it.
        m_pacer->NoteWaiting(ModuleSimulator::Clock::now());
        return true;
    }
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

bool PtyServer::TakePacedByte(ModuleSimulator &module, std::string &error)
{
    const auto now = ModuleSimulator::Clock::now();
    if (!m_pacer->IsFree(now)) {
        return true;
    }
    uint8_t byte = 0;
    const ssize_t n = ::read(m_master, &byte, 1);
    if (n != 1) {
        if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
            error = SystemError("read");
            return false;
        }
        m_pacer->ForgetWaiting(); // the host flushed it, or closed the terminal
        return true;
    }
    module.HostWriteAt(byte, m_pacer->Take(now));
    int more = 0;
    if (::ioctl(m_master, FIONREAD, &more) == 0 && more > 0) {
        m_pacer->NoteWaiting(now);
    }
    return true;
}

void PtyServer::TakeReplies(ModuleSimulator &module)
{
    if (!m_adapter) {
        while (const auto byte = module.HostRead()) {
            m_outgoing.push_back(static_cast<char>(*byte));
        }
        return;
    }
    // A byte enters the adapter when its stop bit ends, not when the server gets round to it.
    const auto now = ModuleSimulator::Clock::now();
    for (auto due = module.NextOutputDue(); due && *due <= now; due = module.NextOutputDue()) {
        const auto byte = module.HostRead();
        if (!byte) {
            break;
        }
        m_adapter->Arrive(*byte, *due);
    }
    m_outgoing += m_adapter->TakeDue(now);
}

bool PtyServer::PumpOutput(ModuleSimulator &module, std::string &error)
{
    TakeReplies(module);
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
