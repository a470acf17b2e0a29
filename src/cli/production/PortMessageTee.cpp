#include "cli/production/PortMessageTee.h"

#include <QRegularExpression>

namespace {

const QLatin1String kPrefix("tolm-cli: ");

} // namespace

PortMessageTee::PortMessageTee(QTextStream &target) : m_target(target)
{
    open(QIODevice::WriteOnly);
}

PortMessageTee::~PortMessageTee() = default;

qint64 PortMessageTee::writeData(const char *data, qint64 size)
{
    // The stream above flushes at the end of each message (Qt::endl) and at each progress
    // redraw, so passing every write on at once keeps the output exactly as timely.
    m_target << QString::fromUtf8(data, size);
    m_target.flush();
    m_pending.append(data, size);
    qsizetype end = 0;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        // A progress line is redrawn after carriage returns; a message follows the last one.
        NoteLine(QString::fromUtf8(line.mid(line.lastIndexOf('\r') + 1)));
    }
    return size;
}

void PortMessageTee::NoteLine(const QString &line)
{
    static const QRegularExpression difference(
        QStringLiteral("^(prog|data|id|config) \\S+ expected \\S+ read \\S+$"));
    if (m_firstDifference.isEmpty() && difference.match(line).hasMatch())
        m_firstDifference = line;
    if (m_firstMessage.isEmpty() && line.startsWith(kPrefix) &&
        !line.startsWith(kPrefix + QLatin1String("warning")))
        m_firstMessage = line.mid(kPrefix.size());
}
