#pragma once

#include <QApplication>
#include <QWidget>

#include <vector>

// A window part made on its own hands its controls to whoever lays them out; in the program
// that is always the main window. A test that makes parts without a window deletes what no
// window took, so the leak checker sees the program's own leaks only.
inline void DeleteUnplacedControls()
{
    std::vector<QWidget *> unplaced;
    // Collected before any deletion: a parentless widget is nobody's child, so deleting one
    // never deletes another on the list.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (!widget->parent())
            unplaced.push_back(widget);
    }
    for (QWidget *widget : unplaced)
        delete widget;
}
