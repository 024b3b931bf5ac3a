// The performance notes window: why some functions take time and how a caller keeps them fast.
// It lives on its own, independent of the main window, and is discarded when closed.
#pragma once

#include <QWidget>

namespace numeron::demo {

class NotesWindow : public QWidget {
 public:
  NotesWindow();
};

}  // namespace numeron::demo
