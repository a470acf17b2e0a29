#pragma once

#include "ops/Messages.h"

// The program's message boxes and file choosers: QMessageBox with the icon and buttons
// each kind of message calls for, QFileDialog for the choosers. Boxes open over the
// window the user is working in.
class QtMessages : public Messages
{
public:
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
};

// The extension a save chooser adds to a typed name: the first pattern of the filter,
// "IHX8M Files (*.hex)" gives "hex"; none when the first pattern has no extension.
QString DefaultSuffix(const QString &filter);
