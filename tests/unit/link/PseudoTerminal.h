#pragma once

#include <QString>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

// A pseudo-terminal whose slave side stands in for a serial port: the test holds the master
// side and plays the module (or plays nothing at all).
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0) {
            m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
        }
    }
    ~PseudoTerminal()
    {
        if (m_master >= 0) {
            ::close(m_master);
        }
    }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool IsValid() const { return !m_slavePath.isEmpty(); }
    QString SlavePath() const { return m_slavePath; }

    // Sends bytes to whoever holds the slave side.
    bool Write(const std::string &bytes)
    {
        return ::write(m_master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // Whatever the slave side sent within the time given, up to count bytes.
    std::string Read(std::size_t count, std::chrono::milliseconds within)
    {
        std::string bytes;
        const auto deadline = std::chrono::steady_clock::now() + within;
        while (bytes.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd fd{m_master, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
                break;
            }
            char buffer[64];
            const ssize_t n =
                ::read(m_master, buffer, std::min(sizeof buffer, count - bytes.size()));
            if (n <= 0) {
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
        return bytes;
    }

private:
    int m_master = -1;
    QString m_slavePath;
};
