#pragma once

#include "config/kav_cfg.h"
#include "print/page_geometry.h"

#include <QColor>
#include <QSize>

class QPainter;

// The preview of the print setup dialog on a box of the given size: the box
// in the colour of the group around it, the page white with a black outline,
// the plot rectangle in the printer colours' BackGround with a Border
// outline, and a Grid line across the plot's middle.
void PaintPrintSample(QPainter& p, QSize box, const TSampleGeometry& sample,
                      const TColorSet& printerColours, const QColor& groupColour);
