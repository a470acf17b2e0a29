#pragma once

#include "engine/EngineHost.h"
#include "texts/ChipTexts.h"
#include "texts/TargetTexts.h"

// An EngineHost that receives the engine's facts as the sentences a user reads: the status
// line, the Continue caption of a paused operation, the write error box's text. The windows,
// the terminal and the tests' host build on it, so every front end shows the same words.
class TextEngineHost : public EngineHost
{
public:
    void ShowActivity(const ChipActivity &activity) final { SetStatus(StatusText(activity)); }
    void ShowPaused() final { SetStartCaption(kContinueCaption); }
    WriteErrorAnswer AskWordNotWritten(const WordNotWritten &word, bool dataMemory,
                                       WriteErrorButtons buttons) final
    {
        return AskWordWriteError(WriteErrorText(word.address, dataMemory), buttons, word,
                                 dataMemory);
    }

    virtual void SetStatus(const QString &text) = 0;
    virtual void SetStartCaption(const QString &caption) = 0;
    virtual WriteErrorAnswer AskWriteError(const QString &text, WriteErrorButtons buttons) = 0;
    // The same box, told what is known of the word (what it should hold, what it reads), so a
    // host can say more than the box's fixed text; by default only the text is shown.
    virtual WriteErrorAnswer AskWordWriteError(const QString &text, WriteErrorButtons buttons,
                                               const WordNotWritten & /*word*/, bool /*dataMemory*/)
    {
        return AskWriteError(text, buttons);
    }
};
