#include "cli/bench/PortConsole.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A line wider than the terminal wraps and would throw off the count of lines the block
// moves back over, so each is cut to the width.
int TerminalColumns()
{
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1)
        return size.ws_col;
    return 80;
}

} // namespace

PortConsole::PortConsole(QTextStream &out, QTextStream &err, QStringList ports, bool drawProgress)
    : m_out(out), m_err(err), m_ports(std::move(ports)), m_drawProgress(drawProgress),
      m_progress(static_cast<std::size_t>(m_ports.size()))
{}

QString PortConsole::Prefixed(int port, const QString &text) const
{
    return m_ports.value(port) + QStringLiteral(": ") + text;
}

void PortConsole::Line(int port, const QString &text, bool toStdout)
{
    std::lock_guard lock(m_mutex);
    ClearBlock();
    QTextStream &stream = toStdout ? m_out : m_err;
    stream << Prefixed(port, text) << '\n';
    stream.flush();
    DrawBlock();
}

void PortConsole::Progress(int port, const QString &text)
{
    if (!m_drawProgress)
        return;
    std::lock_guard lock(m_mutex);
    m_progress[static_cast<std::size_t>(port)] = text;
    DrawBlock();
}

void PortConsole::Finish()
{
    std::lock_guard lock(m_mutex);
    m_blockDrawn = false; // stays where it is; what follows starts below it
}

void PortConsole::ClearBlock()
{
    if (!m_blockDrawn)
        return;
    // Back to the block's first line, and erase from there to the end of the screen.
    m_err << "\x1b[" << m_ports.size() << "A\r\x1b[J";
    m_err.flush();
    m_blockDrawn = false;
}

void PortConsole::DrawBlock()
{
    if (!m_drawProgress)
        return;
    if (m_blockDrawn)
        m_err << "\x1b[" << m_ports.size() << "A";
    const int width = TerminalColumns() - 1;
    for (int port = 0; port < m_ports.size(); ++port)
        m_err << '\r' << Prefixed(port, m_progress[static_cast<std::size_t>(port)]).left(width)
              << "\x1b[K\n";
    m_err.flush();
    m_blockDrawn = true;
}

PortLineDevice::PortLineDevice(PortConsole &console, int port, bool toStdout)
    : m_console(console), m_port(port), m_toStdout(toStdout)
{
    open(QIODevice::WriteOnly);
}

PortLineDevice::~PortLineDevice()
{
    // A last message without its newline still belongs to the port.
    if (!m_pending.isEmpty())
        m_console.Line(m_port, QString::fromUtf8(m_pending), m_toStdout);
}

qint64 PortLineDevice::writeData(const char *data, qint64 size)
{
    m_pending.append(data, size);
    qsizetype newline = 0;
    while ((newline = m_pending.indexOf('\n')) >= 0) {
        m_console.Line(m_port, QString::fromUtf8(m_pending.left(newline)), m_toStdout);
        m_pending.remove(0, newline + 1);
    }
    return size;
}
