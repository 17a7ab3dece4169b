#pragma once

#include "view/picture_size.h"
#include "view/plot_painter.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

// Pictures of the plot for other programs and documents: the full paint in
// the colour set BMPColors, with everything the plot shows (grid and its
// labels, points, extremum marks and labels, pair amplitudes, "S=", the
// corner texts) and the shown visirs as plain lines. Texts measure at
// PictureDpi, so a picture looks the same from the window and from kavtool.

enum class TPictureFormat {
    Png, // a raster image of w x h pixels
    Svg, // vector shapes and texts on a w x h canvas
};

inline constexpr int PictureDpi = 96;

// The picture as an image (the raster path of the screen: direct pixels).
QImage PlotPictureImage(const TPlotSource& source, const QFont& font, QSize size);

// The picture as an SVG document: points as rectangles, texts as text.
QByteArray PlotPictureSvg(const TPlotSource& source, const QFont& font, QSize size,
                          const QString& title);

// Writes the picture to a file, whole or not at all. On failure returns false
// and puts the file's name and the reason into *error.
bool WritePlotPicture(const QString& path, TPictureFormat format, const TPlotSource& source,
                      const QFont& font, QSize size, QString* error);
