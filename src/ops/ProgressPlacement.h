#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the progress window goes, all in screen coordinates of frames (title bar included).
// Directly below the main window, left edges aligned, when it fits on the screen's available
// area (the screen less panels and docks); else directly above it; else beside it, right or
// left, top edges aligned; else over the main window, as low as it may go without covering
// the main window from `uncoveredTop` down (its checksum and status line, which the user reads
// while the chip is worked on). At a large scale on a small screen the main window alone may
// fill most of the screen: the buttons must still be reachable. Kept on the screen.
QPoint ProgressWindowPlace(const QRect &mainFrame, const QSize &frameSize, const QRect &available,
                           int uncoveredTop);

// The window's top left moved just enough that the whole frame lies on the available area
// (its top left edge wins when the frame is larger than the area).
QPoint KeptOnScreen(const QPoint &topLeft, const QSize &frameSize, const QRect &available);
