#pragma once

#include <QtGlobal>

#include "model/designcontrol.h"

// The selection frame around a control: a band of this width on every side.
constexpr qint32 kFrameBand = 75;
// A frame this wide (or high) or less would leave its control no size.
constexpr qint32 kFrameMinimum = 2 * kFrameBand;
// How far from the frame's outer edge a press still grabs that edge: the
// visible band plus a little slack over the control.
constexpr qint32 kEdgeGrab = kFrameBand + 20;

// Edge and corner codes of a point inside a frame.
namespace FrameEdge {
constexpr int Inside = 0, TopLeft = 1, Left = 2, BottomLeft = 3, Bottom = 4, BottomRight = 5,
              Right = 6, TopRight = 7, Top = 8;
}

// The edge or corner of a width x height frame that the point (x, y), taken
// inside the frame, lies on; corners win over edges.
int edgeCornerCode(double x, double y, qint32 width, qint32 height);

// Which edges a code contains.
bool hasLeftEdge(int code);
bool hasRightEdge(int code);
bool hasTopEdge(int code);
bool hasBottomEdge(int code);

// The pointer a frame shows while hovering over an edge or corner; Default
// for Inside, where callers leave the pointer as it is.
FramePointer pointerForEdge(int code);

// Places the frame around the control.
void placeFrame(ResizeFrame &frame, const DesignControl &control);
