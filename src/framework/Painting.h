#pragma once

#include <QPoint>

class QPainter;

// A one-pixel line from `from` to `to` in the painter's pen colour, the end point excluded
// (the rule every frame and outline of the program's controls is drawn by).
void DrawLine(QPainter &painter, QPoint from, QPoint to);

// A dotted focus rectangle, every other pixel, left/top inclusive and right/bottom exclusive.
void DrawFocusRect(QPainter &painter, int left, int top, int right, int bottom);
