#pragma once

#include <QSize>

// The sizes of a picture of the plot, in pixels: the default and the bounds
// a size given by the user (kavtool's --size, the window's picture size
// dialog) must keep.

inline constexpr QSize DefaultPictureSize(1600, 1000);
inline constexpr int MinPictureSide = 64;
inline constexpr int MaxPictureSide = 8192;

// A size both sides of which lie within MinPictureSide..MaxPictureSide.
constexpr bool IsPictureSize(QSize size) {
    return size.width() >= MinPictureSide && size.width() <= MaxPictureSide &&
           size.height() >= MinPictureSide && size.height() <= MaxPictureSide;
}
