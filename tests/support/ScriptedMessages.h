#pragma once

#include "ops/Messages.h"

#include <QQueue>
#include <QString>
#include <QStringList>

// A Messages implementation for tests: records every box as "Kind: text" in order and
// answers from prepared queues. An unprepared question is answered the safe way (Cancel,
// Abort, no file) and recorded, so a test that forgot to script it fails on the record.
class ScriptedMessages : public Messages
{
public:
    QStringList shown; // "Plain: COM Port Error", "Confirm: Set Program Memory to 3FFF ?", ...
    QQueue<bool> confirmAnswers;
    QQueue<Answer> writeErrorAnswers;
    QQueue<QString> openFileNames;
    QQueue<QString> saveFileNames;
    QStringList fileDialogDirectories; // the directory each chooser was opened in
    QStringList fileDialogFilters;
    QStringList details; // the detail text of each box that has one, in order

    void Plain(const QString &text) override { shown << "Plain: " + text; }
    void PlainWithDetail(const QString &text, const QString &detail) override
    {
        shown << "Plain: " + text;
        details << detail;
    }
    void Information(const QString &text) override { shown << "Information: " + text; }
    void Warning(const QString &text) override { shown << "Warning: " + text; }
    void Error(const QString &text) override { shown << "Error: " + text; }
    bool Confirm(const QString &text) override
    {
        shown << "Confirm: " + text;
        return confirmAnswers.isEmpty() ? false : confirmAnswers.dequeue();
    }
    Answer AskAbortRetryIgnore(const QString &text) override
    {
        shown << "AbortRetryIgnore: " + text;
        return writeErrorAnswers.isEmpty() ? Answer::Abort : writeErrorAnswers.dequeue();
    }
    Answer AskOkCancel(const QString &text) override
    {
        shown << "OkCancel: " + text;
        return writeErrorAnswers.isEmpty() ? Answer::Cancel : writeErrorAnswers.dequeue();
    }
    Answer AskAbortRetryIgnoreWithDetail(const QString &text, const QString &detail) override
    {
        details << detail;
        return AskAbortRetryIgnore(text);
    }
    Answer AskOkCancelWithDetail(const QString &text, const QString &detail) override
    {
        details << detail;
        return AskOkCancel(text);
    }
    QString OpenFileName(const QString &directory, const QString &filter) override
    {
        shown << "OpenFile";
        fileDialogDirectories << directory;
        fileDialogFilters << filter;
        return openFileNames.isEmpty() ? QString() : openFileNames.dequeue();
    }
    QString SaveFileName(const QString &directory, const QString &filter) override
    {
        shown << "SaveFile";
        fileDialogDirectories << directory;
        fileDialogFilters << filter;
        return saveFileNames.isEmpty() ? QString() : saveFileNames.dequeue();
    }
};
