#include "control/object/numeron_object.h"

#include <new>
#include <optional>

#include "control/number/errors.h"
#include "control/number/number.h"
#include "control/object/constants.h"
#include "control/object/members.h"
#include "control/object/numeron.h"

namespace numeron {
namespace {

std::atomic<int> live_objects{0};

const Member* FindMember(platform::DispId id) {
  for (const Member& member : Members()) {
    if (member.desc.id == id) return &member;
  }
  return nullptr;
}

}  // namespace

NumeronObject::NumeronObject()
    : pi_(CreateHugeNumber(Variant(kPiText))), e_(CreateHugeNumber(Variant(kEText))) {
  ++live_objects;
}

NumeronObject::~NumeronObject() { --live_objects; }

std::uint32_t NumeronObject::AddRef() { return ++references_; }

std::uint32_t NumeronObject::Release() {
  const std::uint32_t left = --references_;
  if (left == 0) delete this;
  return left;
}

platform::HResult NumeronObject::GetIDsOfNames(std::string_view name, platform::DispId* id) {
  const platform::MemberDesc* member = GetTypeInfo().Find(name);
  if (!member) return platform::kUnknownName;
  *id = member->id;
  return platform::kOk;
}

const platform::TypeLibrary& NumeronObject::GetTypeInfo() { return NumeronTypeLibrary(); }

platform::HResult NumeronObject::QueryInterface(std::string_view interface_name,
                                                platform::Dispatch** other) {
  *other = interface_name == NumeronTypeLibrary().interface_name ? this
           : interface_name == CallControlTypeLibrary().interface_name
               ? static_cast<platform::Dispatch*>(&control_interface_)
               : nullptr;
  if (!*other) return platform::kNoInterface;
  AddRef();
  return platform::kOk;
}

platform::HResult NumeronObject::Invoke(platform::DispId id, std::span<platform::Argument> args,
                                        platform::Variant* result, platform::ErrorInfo* error) {
  const Member* member = FindMember(id);
  if (!member) return platform::kUnknownMember;
  if (const platform::HResult status = CheckArguments(member->desc, args);
      status != platform::kOk) {
    return status;
  }
  // Errors are raised deep and caught here, once; nothing else crosses the interface. What a
  // member wrote back reaches the caller unless the call was stopped from outside.
  std::optional<CallArgs> call;
  platform::Error failure;
  try {
    CallScope scope(control_, member->desc.name);
    call.emplace(member->desc, args);
    platform::Variant value = member->handler(*this, *call);
    call->Commit();
    if (result) *result = std::move(value);
    return platform::kOk;
  } catch (const platform::RaisedError& raised) {
    failure = raised.error();
  } catch (const std::bad_alloc&) {
    failure = platform::kOutOfMemory;
  } catch (...) {
    failure = {platform::kFailed, "Internal failure"};
  }
  const bool stopped =
      failure.number == kCancelled.number || failure.number == kTimeLimitExceeded.number;
  if (call && !stopped) call->Commit();
  return ReturnError(failure, error);
}

void NumeronObject::SetExtent(std::int32_t, std::int32_t) {
  // The control shows nothing; whatever the host proposes, it keeps its own small square.
}

void NumeronObject::GetExtent(std::int32_t* width, std::int32_t* height) const {
  *width = kExtent;
  *height = kExtent;
}

platform::Dispatch* NewNumeron() { return new NumeronObject(); }

int LiveObjectCount() { return live_objects.load(); }

}  // namespace numeron
