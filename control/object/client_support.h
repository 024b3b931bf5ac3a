// The fixed part of the typed C++ client of the Numeron component. client/numeron.h, written at
// build time from the component's own interface tables, includes it and adds one method per
// member, with the member's parameters, kinds and defaults, calling it by dispatch identifier.
//
// A failed call throws CallError: the component's error number and description, or a status of
// the dispatch layer and a short text. A parameter the member writes back (Pi's Precision,
// Round's DecimalPlace, Increment's number, ...) is a reference, and it keeps what the member
// stored even when the call then fails (though not when it is cancelled or runs out of time);
// omit it to let the component take its default.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/dispatch.h"
#include "platform/registry.h"

namespace numeron::client {

using platform::Variant;
using platform::VariantArray;

// A refused call: what the component raised, or the dispatch layer's status when the call never
// ran (an unknown member, a wrong argument) or the object could not be created.
class CallError : public std::runtime_error {
 public:
  CallError(std::int32_t number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}
  std::int32_t number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  std::int32_t number_;
  std::string description_;
};

namespace detail {

// How one call ended; the caller copies write-backs out before it throws.
struct Outcome {
  platform::HResult status;
  platform::ErrorInfo error;

  void ThrowIfFailed() const {
    if (status == platform::kOk) return;
    if (status == platform::kException) throw CallError(error.number, error.description);
    throw CallError(status, std::string(platform::DescribeStatus(status)));
  }
};

// One interface of one object, which the generated classes call through. Copies share the
// object (it is reference counted).
class Client {
 public:
  explicit Client(platform::Ref<platform::Dispatch> object) : object_(std::move(object)) {}

  // For calls by dispatch identifier.
  platform::Dispatch& dispatch() const { return *object_.get(); }

 protected:
  // Creates an object by program identifier through the registration file; throws CallError
  // with the creation status and the reason (not registered, library missing).
  static platform::Ref<platform::Dispatch> Create(const char* prog_id) {
    platform::Ref<platform::Dispatch> object;
    std::string why;
    const platform::HResult status = platform::CreateObject(prog_id, &object, &why);
    if (status != platform::kOk || !object) throw CallError(status, why);
    return object;
  }

  // Another interface of the same object, by name.
  platform::Ref<platform::Dispatch> Query(std::string_view interface_name) const {
    platform::Ref<platform::Dispatch> other;
    const platform::HResult status = object_->QueryInterface(interface_name, other.put());
    if (status != platform::kOk) {
      throw CallError(status, std::string(platform::DescribeStatus(status)));
    }
    return other;
  }

  Outcome Call(platform::DispId id, std::vector<platform::Argument>& args, Variant* result) const {
    Outcome outcome{platform::kOk, {}};
    outcome.status = object_->Invoke(id, args, result, &outcome.error);
    return outcome;
  }

 private:
  platform::Ref<platform::Dispatch> object_;
};

}  // namespace detail
}  // namespace numeron::client
