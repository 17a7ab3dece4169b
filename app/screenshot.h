#pragma once

#include <functional>

class QWidget;
class TKavSession;

// When KAV7_SCREENSHOT names a file: 1.5 s after the start, and then as soon
// as ready() says so (at most 20 s later), the main window with the small
// windows shown beside it is written there as PNG and the program quits
// without the close sequence (Kav.ini is not written). Used by the run script
// on a display without a user.
void ScheduleScreenshotFromEnvironment(QWidget& window, std::function<bool()> ready = {});

// Ready for a picture of the receive mode: not receiving, or a forward sweep
// is at least half-way through its bounds, so the plot shows a live trace.
bool SweepHalfWay(TKavSession& session);
