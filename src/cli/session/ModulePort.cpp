#include "cli/session/ModulePort.h"

#include "cli/CliContext.h"

CliModulePort::CliModulePort(QString portName, std::optional<QString> tracePath, QTextStream &err)
    : m_portName(std::move(portName)), m_tracePath(std::move(tracePath)), m_err(err)
{}

bool CliModulePort::StartTrace()
{
    if (!m_tracePath) {
        return true;
    }
    const QString &path = *m_tracePath;
    m_trace.setFileName(path);
    if (!m_trace.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        m_traceOpenError = m_trace.errorString();
        m_err << "tolm-cli: cannot write trace file " << path << ": " << m_traceOpenError
              << Qt::endl;
        return false;
    }
    m_module.SetTranscript([this](const std::string &line) {
        const bool written = m_trace.write(line.data(), static_cast<qint64>(line.size())) ==
                                 static_cast<qint64>(line.size()) &&
                             m_trace.write("\n", 1) == 1 &&
                             // Written at once, so that the trace of a run that hangs or is
                             // killed is complete.
                             m_trace.flush();
        if (!written && !m_traceError)
            m_traceError = m_trace.errorString();
    });
    if (m_link.State() == PortState::Held) {
        NoteLowLatency();
    }
    return true;
}

int CliModulePort::FinishTrace(int exitCode)
{
    if (!m_traceError)
        return exitCode;
    // A trace with lines missing would mislead whoever reads it later: say so, and make a run
    // that otherwise succeeded fail as a file that could not be written.
    m_err << "tolm-cli: the trace file " << *m_tracePath
          << " could not be written: " << *m_traceError << Qt::endl;
    m_traceError.reset();
    return exitCode == CliExit::kOk ? CliExit::kFileError : exitCode;
}

void CliModulePort::NoteLowLatency()
{
    m_trace.write(("# " + LowLatencyNote(m_link.LowLatency()) + '\n').toUtf8());
    m_trace.flush();
}

bool CliModulePort::OpenPort()
{
    if (m_link.OpenModulePort(m_portName)) {
        if (m_trace.isOpen()) {
            NoteLowLatency();
        }
        return true;
    }
    m_err << "tolm-cli: COM Port Error: " << m_link.LastErrorText() << Qt::endl;
    return false;
}
