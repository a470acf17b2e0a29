#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the progress window goes, all in screen coordinates of frames (title bar included).
// Directly below the main window, left edges aligned, when it fits on the screen's available
// area (the screen less panels and docks); else directly above it; else as low as the screen
// allows, over the main window's lower part. Sideways it is kept on the screen too. At a
// large scale on a small screen the main window alone may fill most of the height: the
// buttons must still be reachable.
QPoint ProgressWindowPlace(const QRect &mainFrame, const QSize &frameSize, const QRect &available);

// The window's top left moved just enough that the whole frame lies on the available area
// (its top left edge wins when the frame is larger than the area).
QPoint KeptOnScreen(const QPoint &topLeft, const QSize &frameSize, const QRect &available);
