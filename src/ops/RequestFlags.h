#pragma once

// The only channel between the progress window's buttons and a running chip operation:
// plain flags the operation reads at fixed points (between words, in its waits). The
// progress window owns them; other parts raise CloseRequested to end an operation early,
// e.g. after the module turned out not to suit the newly selected device.
struct RequestFlags
{
    bool StartRequested = false;
    bool PauseRequested = false;
    bool CloseRequested = false;
    bool ProcessFormUnplaced = true; // the progress window has not been placed on screen yet
};
