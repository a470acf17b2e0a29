#pragma once

#include <QString>

// Every message box and file chooser of the program goes through this interface, so the
// windows hold no QMessageBox calls of their own and tests can answer them from a script.
// It sits with the operations, the lower of the two layers that use it: the operation driver
// reports through it, and the windows (app/) implement it with real boxes.
class Messages
{
public:
    enum class Answer { Ok, Cancel, Abort, Retry, Ignore };

    virtual ~Messages() = default;

    // Plain box, no icon, one OK button: results and most errors ("COM Port Error").
    virtual void Plain(const QString &text) = 0;
    // The same box with a detail text under the fixed message: which port, the system's
    // reason and what the user can do about it.
    virtual void PlainWithDetail(const QString &text, const QString &detail) = 0;
    // Information icon, OK ("File loaded successfully").
    virtual void Information(const QString &text) = 0;
    // Warning icon, OK ("No target selected", records not found).
    virtual void Warning(const QString &text) = 0;
    // Error icon, OK (conversion and file errors, "Unable to write to VIRIVI.INI").
    virtual void Error(const QString &text) = 0;
    // Caption "Confirmation", question icon, OK and Cancel; true on OK.
    virtual bool Confirm(const QString &text) = 0;
    // The same before a command that changes the chip: Cancel is the default button, so an
    // Enter pressed out of habit sends nothing.
    virtual bool ConfirmChipCommand(const QString &text) { return Confirm(text); }
    // Error icon with Abort, Retry and Ignore: a word that will not program.
    virtual Answer AskAbortRetryIgnore(const QString &text) = 0;
    // Error icon with OK and Cancel: a word that will not program, second form.
    virtual Answer AskOkCancel(const QString &text) = 0;
    // The two write error boxes with what is known of the word under the fixed text.
    virtual Answer AskAbortRetryIgnoreWithDetail(const QString &text, const QString & /*detail*/)
    {
        return AskAbortRetryIgnore(text);
    }
    virtual Answer AskOkCancelWithDetail(const QString &text, const QString & /*detail*/)
    {
        return AskOkCancel(text);
    }

    // File choosers; an empty result means the user cancelled.
    virtual QString OpenFileName(const QString &directory, const QString &filter) = 0;
    virtual QString SaveFileName(const QString &directory, const QString &filter) = 0;
};
