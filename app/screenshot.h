#pragma once

class QWidget;

// When KAV7_SCREENSHOT names a file, the shown window is written there as a
// PNG once the event loop has drawn it, and the program quits without the
// close sequence (Kav.ini is not written). Used by the run script on a
// display without a user.
void ScheduleScreenshotFromEnvironment(QWidget& window);
