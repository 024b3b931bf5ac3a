// A tour for people checking the look: shows each page of the main window in turn, a long
// result, a long call while it runs, then the notes window, and saves what the screen shows of
// each as a PNG.
#pragma once

#include <QString>

namespace numeron::demo {

class MainWindow;

// Returns 0 when every picture was saved into folder (created if needed), 1 otherwise.
int RunScreenshotTour(MainWindow& window, const QString& folder);

}  // namespace numeron::demo
