#include "demo/error_report.h"

#include "demo/message_sink.h"

namespace numeron::demo {

std::int32_t DisplayedErrorNumber(std::int32_t number) {
  const auto bits = static_cast<std::uint32_t>(number);
  if ((bits & 0xFFFF0000u) == 0x800A0000u) return static_cast<std::int32_t>(bits & 0xFFFFu);
  return number;
}

std::string ErrorReportText(const HandlerError& error) {
  std::string text = error.description() + ", error number " +
                     std::to_string(DisplayedErrorNumber(error.number())) + " was generated.";
  if (!error.field().empty()) text += "\n\nRefused field: " + error.field();
  return text;
}

void ReportError(MessageSink& messages, const HandlerError& error) {
  messages.Show({QString::fromStdString(ErrorReportText(error)),
                 QStringLiteral("An error has occured."), MessageIcon::Critical});
}

void RunWithErrorReport(MessageSink& messages, const std::function<void()>& handler,
                        const std::function<void()>& clear) {
  try {
    handler();
  } catch (const HandlerError& error) {
    if (clear) clear();
    ReportError(messages, error);
  }
}

}  // namespace numeron::demo
