// The main window: seven pages in a tab widget, and the window's one component instance,
// Numeron9, which every page calls and which goes when the window goes.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "demo/notes_window.h"

class QTabWidget;

namespace numeron::demo {

class ComponentClient;
class MessageSink;

class MainWindow : public QWidget {
 public:
  MainWindow(std::unique_ptr<ComponentClient> numeron9, MessageSink& messages);
  ~MainWindow() override;

  QTabWidget* tabs() const { return tabs_; }
  // Opens the notes window, or brings the open one forward; it does not block this window.
  void ShowNotes();
  NotesWindow* notes() const { return notes_; }

 private:
  std::unique_ptr<ComponentClient> numeron9_;
  QTabWidget* tabs_;
  QPointer<NotesWindow> notes_;  // cleared when the notes window is closed and deleted
};

}  // namespace numeron::demo
