// Where the child windows of the main frame go: inside the visible part of the area when they
// open or grow, and overlapped by "&Cascade" at the sizes they have.
#pragma once

#include <QList>
#include <QKeySequence>

class QMdiArea;
class QMdiSubWindow;

// Moves a child window into its area's visible part; only a window larger than the area is
// made smaller, to the area's size.
void TieniNellArea(QMdiSubWindow* finestra);

// The keys that close the active child: the platform's close keys and Ctrl+F4.
QList<QKeySequence> TastiChiusura();

// Each child's system menu binds the close keys to its own window, so with two children open
// no child gets them; the frame binds them once instead, and the children's menus let go.
void LasciaTastiChiusura(QMdiSubWindow* finestra);

// Overlaps the open children from the top left, each one title bar further down and right,
// the active one in front. Each keeps its size unless it would not fit the area; a window
// that would cross the area's edge starts a new run from the top left.
void Cascata(QMdiArea* area);
