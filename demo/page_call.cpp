#include "demo/page_call.h"

#include "demo/error_report.h"

namespace numeron::demo {

void CallComponent(ComponentClient& numeron9, MessageSink& messages, CallRequest request,
                   std::function<void(const CallOutcome&)> show,
                   std::function<void(const QString&)> replace) {
  numeron9.Start(std::move(request), [&messages, show = std::move(show),
                                      replace = std::move(replace)](const CallOutcome& outcome) {
    if (outcome.cancelled) {
      replace(QStringLiteral("Cancelled"));
    } else if (outcome.error) {
      replace(QString());
      ReportError(messages, *outcome.error);
    } else {
      RunWithErrorReport(
          messages, [&] { show(outcome); }, [&] { replace(QString()); });
    }
  });
}

}  // namespace numeron::demo
