#include "LoggedMessages.h"

#include "OperationLog.h"

namespace {

QString AnswerText(Messages::Answer answer)
{
    switch (answer) {
    case Messages::Answer::Ok:
        return QStringLiteral("OK");
    case Messages::Answer::Cancel:
        return QStringLiteral("Cancel");
    case Messages::Answer::Abort:
        return QStringLiteral("Abort");
    case Messages::Answer::Retry:
        return QStringLiteral("Retry");
    case Messages::Answer::Ignore:
        return QStringLiteral("Ignore");
    }
    return {};
}

QString Answered(const QString &text, bool ok)
{
    return QStringLiteral("%1 (%2)").arg(text,
                                         ok ? QStringLiteral("OK") : QStringLiteral("Cancel"));
}

} // namespace

Messages::Answer LoggedMessages::Logged(const QString &text, const QString &detail, Answer answer)
{
    m_log.Append(QStringLiteral("%1 (%2)").arg(text, AnswerText(answer)), detail);
    return answer;
}

void LoggedMessages::Plain(const QString &text)
{
    m_log.Append(text);
    m_boxes.Plain(text);
}

void LoggedMessages::PlainWithDetail(const QString &text, const QString &detail)
{
    m_log.Append(text, detail);
    m_boxes.PlainWithDetail(text, detail);
}

void LoggedMessages::Information(const QString &text)
{
    m_log.Append(text);
    m_boxes.Information(text);
}

void LoggedMessages::Warning(const QString &text)
{
    m_log.Append(text);
    m_boxes.Warning(text);
}

void LoggedMessages::Error(const QString &text)
{
    m_log.Append(text);
    m_boxes.Error(text);
}

bool LoggedMessages::Confirm(const QString &text)
{
    const bool ok = m_boxes.Confirm(text);
    m_log.Append(Answered(text, ok));
    return ok;
}

bool LoggedMessages::ConfirmChipCommand(const QString &text)
{
    const bool ok = m_boxes.ConfirmChipCommand(text);
    m_log.Append(Answered(text, ok));
    return ok;
}

Messages::Answer LoggedMessages::AskAbortRetryIgnore(const QString &text)
{
    return Logged(text, QString(), m_boxes.AskAbortRetryIgnore(text));
}

Messages::Answer LoggedMessages::AskOkCancel(const QString &text)
{
    return Logged(text, QString(), m_boxes.AskOkCancel(text));
}

Messages::Answer LoggedMessages::AskAbortRetryIgnoreWithDetail(const QString &text,
                                                               const QString &detail)
{
    return Logged(text, detail, m_boxes.AskAbortRetryIgnoreWithDetail(text, detail));
}

Messages::Answer LoggedMessages::AskOkCancelWithDetail(const QString &text, const QString &detail)
{
    return Logged(text, detail, m_boxes.AskOkCancelWithDetail(text, detail));
}

QString LoggedMessages::OpenFileName(const QString &directory, const QString &filter)
{
    return m_boxes.OpenFileName(directory, filter);
}

QString LoggedMessages::SaveFileName(const QString &directory, const QString &filter)
{
    return m_boxes.SaveFileName(directory, filter);
}
