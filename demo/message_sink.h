// Every message box of the program goes through a MessageSink, so that the windows can be
// driven without anyone pressing OK: the program shows real boxes, the tests record them.
#pragma once

#include <QString>

class QWidget;

namespace numeron::demo {

// The title of boxes that have none of their own.
inline constexpr const char* kApplicationTitle = "NumeronTest";

enum class MessageIcon { None, Information, Critical };

// A box with a single OK button.
struct Message {
  QString text;
  QString title;
  MessageIcon icon = MessageIcon::None;
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Returns when the user has closed the box.
  virtual void Show(const Message& message) = 0;
};

// Shows each message as a modal box over the active window.
class MessageBoxSink final : public MessageSink {
 public:
  void Show(const Message& message) override;
};

}  // namespace numeron::demo
