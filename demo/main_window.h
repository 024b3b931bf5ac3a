// The main window: seven pages behind tabs four to a row, a line that shows a running call's
// progress with a Cancel button, and the window's one component instance, Numeron9, which every
// page calls and which goes when the window goes.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "demo/notes_window.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace numeron::demo {

class ComponentClient;
class MessageSink;
class PageTabs;

class MainWindow : public QWidget {
 public:
  MainWindow(std::unique_ptr<ComponentClient> numeron9, MessageSink& messages);
  ~MainWindow() override;

  PageTabs* tabs() const { return tabs_; }
  ComponentClient& numeron9() const { return *numeron9_; }
  // Opens the notes window, or brings the open one forward; it does not block this window.
  void ShowNotes();
  NotesWindow* notes() const { return notes_; }
  // The version, and where the component's library was loaded from.
  void ShowAbout();

 private:
  void ShowCallState(bool busy);

  std::unique_ptr<ComponentClient> numeron9_;
  MessageSink& messages_;
  PageTabs* tabs_;
  QLabel* call_state_;
  QProgressBar* progress_;
  QPushButton* cancel_;
  QTimer* progress_timer_;
  QPointer<NotesWindow> notes_;  // cleared when the notes window is closed and deleted
};

}  // namespace numeron::demo
