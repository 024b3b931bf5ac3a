#include "demo/message_sink.h"

#include <QApplication>
#include <QMessageBox>

namespace numeron::demo {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void MessageBoxSink::Show(const Message& message) {
  QMessageBox box(BoxIcon(message.icon), message.title, message.text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

}  // namespace numeron::demo
