#pragma once

class QPainter;

// The extremum marks: a 7-point arrow whose tip touches (x, y), filled with
// the painter's brush and outlined with its pen. DrawUpArrow points up from
// below the extremum, DrawDownArrow down from above it. The plot and the
// printout draw them alike, in device pixels.
void DrawUpArrow(QPainter& p, int x, int y);
void DrawDownArrow(QPainter& p, int x, int y);
