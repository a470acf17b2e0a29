#include "CliModulePort.h"

#include "CliContext.h"

CliModulePort::CliModulePort(CliContext &ctx) : m_ctx(ctx) {}

bool CliModulePort::StartTrace()
{
    const std::optional<QString> path = m_ctx.Value(QStringLiteral("trace"));
    if (!path) {
        return true;
    }
    m_trace.setFileName(*path);
    if (!m_trace.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        m_ctx.err << "tolm-cli: cannot write trace file " << *path << ": " << m_trace.errorString()
                  << Qt::endl;
        return false;
    }
    m_module.SetTranscript([this](const std::string &line) {
        m_trace.write(line.data(), static_cast<qint64>(line.size()));
        m_trace.write("\n", 1);
        // Written at once, so that the trace of a run that hangs or is killed is complete.
        m_trace.flush();
    });
    return true;
}

bool CliModulePort::OpenPort()
{
    if (m_link.OpenModulePort(m_ctx.PortName())) {
        return true;
    }
    m_ctx.err << "tolm-cli: COM Port Error: " << m_link.LastErrorText() << Qt::endl;
    return false;
}
