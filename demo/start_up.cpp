#include "demo/start_up.h"

#include <memory>
#include <string>

#include "demo/component_client.h"
#include "demo/main_window.h"
#include "demo/message_sink.h"

namespace numeron::demo {

MainWindow* OpenMainWindow(MessageSink& messages) {
  std::string why;
  std::unique_ptr<ComponentClient> numeron9 = ComponentClient::Create(&why);
  if (!numeron9) {
    messages.Show({QStringLiteral("NumeronTest cannot start: the Numeron component (%1) could not "
                                  "be created.\n\n%2.")
                       .arg(QString::fromLatin1(client::kProgId), QString::fromStdString(why)),
                   QString::fromLatin1(kApplicationTitle), MessageIcon::Critical});
    return nullptr;
  }
  return new MainWindow(std::move(numeron9), messages);
}

}  // namespace numeron::demo
