#pragma once

#include <QRgb>

class QImage;
class QPainter;

// The extremum marks: a 7-point arrow whose tip touches (x, y), filled with
// the painter's brush and outlined with its pen. DrawUpArrow points up from
// below the extremum, DrawDownArrow down from above it. The plot and the
// printout draw them alike, in device pixels.
void DrawUpArrow(QPainter& p, int x, int y);
void DrawDownArrow(QPainter& p, int x, int y);

// The same arrow set straight into the pixels of a 32-bit image in one
// colour, exactly as drawing it with a one-pixel pen and a brush of that
// colour leaves it: the arrow is the same set of pixels wherever it lies
// whole inside the image. Returns false and draws nothing when the arrow is
// not well inside the image; the painter then draws and clips it.
bool StampArrow(QImage& image, int x, int y, bool up, QRgb colour);
