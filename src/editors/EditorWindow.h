#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QTableView;
class QWidget;

// Shared look of the two memory windows: the grids stand in for the old string grids, in the
// desktop's colours, with no inner grid lines and the system's fixed-pitch font.
QFont MemoryGridFont();
void StyleMemoryGrid(QTableView *grid, int cellTextChars);
// The size of a window whose grid shows all sixteen columns and `rows` rows, with room for
// the vertical scroll bar; the rest of the grid scrolls.
QSize GridWindowSize(const QTableView *grid, int rows);
// Places a window in the middle of its screen, as both memory windows appear first.
void CentreOnScreen(QWidget *window);
// The wanted size cut down to what the screen can show, so that on a small screen a window
// never opens wider or taller than the screen (the grid then scrolls).
QSize FitToScreen(QSize wanted, const QRect &available);
