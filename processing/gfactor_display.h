#pragma once

#include <QString>
#include <cstdint>
#include <functional>

// Whether g-factors are shown (the check mark of AGShow) and where their
// texts come from. The session owns one; the window hands it to the plot and
// the visirs, so both follow the same check mark.
struct TGFactorDisplay {
    bool Shown = false;
    // The g-factor text of a sweep code; empty where there is none.
    std::function<QString(std::uint16_t)> Text;

    QString TextAt(std::uint16_t code) const { return Text ? Text(code) : QString(); }
};
