#pragma once

#include <QIcon>

// The pictures of the tool bar's buttons and of the small buttons beside the
// plot and in the sweep group.
enum class TToolGlyph {
    Save,
    Open,
    Close,
    Print,
    Receive,
    Analyse,
    Undo,
    Smooth,
    Level,
    Integral,
    Extrema,
    LowPass,
    Sum,
    WholeSpectrum,
    Stop,
    Start,
    WidenRange,
    MouseSelect,
    More, // the tool bar's overflow button
};

// A line drawing in the colour of the application's palette at the moment it
// is painted (ButtonText; the disabled group's for a disabled button), at any
// size: it stays visible on a light and on a dark tool bar and follows a
// change of palette without being set again.
QIcon ToolIcon(TToolGlyph glyph);
