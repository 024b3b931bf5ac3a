#include "control/object/numeron_object.h"

#include <new>

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

platform::HResult Fail(const platform::Error& raised, platform::ErrorInfo* error) {
  if (error) {
    error->number = raised.number;
    error->description = std::string(raised.description);
  }
  return platform::kException;
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

platform::HResult NumeronObject::Invoke(platform::DispId id, std::span<platform::Argument> args,
                                        platform::Variant* result, platform::ErrorInfo* error) {
  const Member* member = FindMember(id);
  if (!member) return platform::kUnknownMember;
  const std::vector<platform::ParamDesc>& params = member->desc.params;
  if (args.size() > params.size()) return platform::kWrongArgumentCount;
  for (std::size_t i = 0; i < params.size(); ++i) {
    const bool missing = i >= args.size() || args[i].value().is(platform::VariantKind::Missing);
    if (missing && !params[i].optional) return platform::kArgumentNotOptional;
  }
  // Errors are raised deep and caught here, once; nothing else crosses the interface.
  try {
    CallArgs call(member->desc, args);
    platform::Variant value = member->handler(*this, call);
    if (result) *result = std::move(value);
    return platform::kOk;
  } catch (const platform::RaisedError& raised) {
    return Fail(raised.error(), error);
  } catch (const std::bad_alloc&) {
    return Fail(platform::kOutOfMemory, error);
  } catch (...) {
    return Fail({platform::kFailed, "Internal failure"}, error);
  }
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
