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
    WriteErrorAnswer AskWordNotWritten(const WordNotWritten &word, WriteErrorButtons buttons) final
    {
        return AskWriteError(WriteErrorText(word.address, word.dataMemory), buttons);
    }

    virtual void SetStatus(const QString &text) = 0;
    virtual void SetStartCaption(const QString &caption) = 0;
    virtual WriteErrorAnswer AskWriteError(const QString &text, WriteErrorButtons buttons) = 0;
};
