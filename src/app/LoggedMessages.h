#pragma once

#include "ops/Messages.h"

class OperationLog;

// The program's boxes and choosers as they are (the real ones, or a test's script), each box
// also written to the operation log with the answer it got.
class LoggedMessages : public Messages
{
public:
    LoggedMessages(Messages &boxes, OperationLog &log) : m_boxes(boxes), m_log(log) {}

    void Plain(const QString &text) override;
    void PlainWithDetail(const QString &text, const QString &detail) override;
    void Information(const QString &text) override;
    void Warning(const QString &text) override;
    void Error(const QString &text) override;
    bool Confirm(const QString &text) override;
    bool ConfirmChipCommand(const QString &text) override;
    Answer AskAbortRetryIgnore(const QString &text) override;
    Answer AskOkCancel(const QString &text) override;
    Answer AskAbortRetryIgnoreWithDetail(const QString &text, const QString &detail) override;
    Answer AskOkCancelWithDetail(const QString &text, const QString &detail) override;
    QString OpenFileName(const QString &directory, const QString &filter) override;
    QString SaveFileName(const QString &directory, const QString &filter) override;

private:
    Answer Logged(const QString &text, const QString &detail, Answer answer);

    Messages &m_boxes;
    OperationLog &m_log;
};
