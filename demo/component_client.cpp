#include "demo/component_client.h"

#include <QCursor>
#include <QGuiApplication>
#include <vector>

#include "demo/error_report.h"
#include "platform/registry.h"

namespace numeron::demo {

namespace {

// Long series run on the window's thread; the cursor tells the user the window is busy, not hung.
class BusyCursor {
 public:
  BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

std::unique_ptr<ComponentClient> ComponentClient::Create(std::string_view prog_id,
                                                         std::string* why) {
  platform::Ref<platform::Dispatch> object;
  if (platform::CreateObject(prog_id, &object, why) != platform::kOk || !object) return nullptr;
  return std::make_unique<ComponentClient>(std::move(object));
}

ComponentClient::ComponentClient(platform::Ref<platform::Dispatch> object)
    : object_(std::move(object)) {}

platform::Variant ComponentClient::Call(platform::DispId id,
                                        std::initializer_list<platform::Variant> args) {
  std::vector<platform::Argument> by_value;
  by_value.reserve(args.size());
  for (const platform::Variant& arg : args) by_value.push_back(platform::Argument::ByValue(arg));
  return Call(id, by_value);
}

platform::Variant ComponentClient::Call(platform::DispId id, std::span<platform::Argument> args) {
  platform::Variant result;
  platform::ErrorInfo error;
  platform::HResult status = platform::kOk;
  {
    BusyCursor busy;
    status = object_->Invoke(id, args, &result, &error);
  }
  if (status == platform::kException) throw HandlerError(error.number, error.description);
  // A dispatch failure (a member or argument the object refuses) is reported like a raised error.
  if (status < 0) throw HandlerError(status, std::string(platform::DescribeStatus(status)));
  return result;
}

}  // namespace numeron::demo
