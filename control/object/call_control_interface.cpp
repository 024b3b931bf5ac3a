#include "control/object/call_control_interface.h"

#include <new>

#include "control/object/call_args.h"
#include "control/object/numeron.h"

namespace numeron {
namespace {

using platform::ParamDesc;
using platform::ParamType;
using platform::ResultType;

struct ControlMember {
  platform::MemberDesc desc;
  Variant (*handler)(CallControl& control, CallArgs& args);
};

Variant InvokeCancel(CallControl& control, CallArgs&) { return Variant(control.Cancel()); }
// A missing (or empty) NewLimit reads the limit; a given one sets it first.
Variant InvokeTimeLimit(CallControl& control, CallArgs& args) {
  if (!args[0].is(platform::VariantKind::Empty)) {
    const std::int32_t limit = ToInt32Argument(args[0]);
    if (limit < 0) Raise(platform::kInvalidArgument);
    control.SetTimeLimit(limit);
  }
  return Variant(control.TimeLimit());
}
Variant InvokeProgress(CallControl& control, CallArgs&) { return Variant(control.Progress()); }
Variant InvokeProgressMember(CallControl& control, CallArgs&) { return Variant(control.Member()); }

const std::vector<ControlMember>& ControlMembers() {
  static const std::vector<ControlMember> members = {
      {{0x60040000,
        "Cancel",
        {},
        ResultType::Boolean,
        "Boolean",
        "Stops the calculation this object is running, from any thread: it ends at once raising "
        "'The calculation was cancelled.' and leaves its arguments as they were. Returns True "
        "when a calculation was running; with none running, it does nothing."},
       &InvokeCancel},
      {{0x60040001,
        "TimeLimit",
        {ParamDesc{"NewLimit", ParamType::Variant, "Long", true}},
        ResultType::Int32,
        "Long",
        "Returns the time limit of this object's calculations in milliseconds, 0 for none (the "
        "default); given NewLimit, sets it for the calculations that follow. A calculation past "
        "its limit ends raising 'The calculation took longer than its time limit.'"},
       &InvokeTimeLimit},
      {{0x60040002,
        "Progress",
        {},
        ResultType::Double,
        "Double",
        "Returns the fraction of the running calculation that is done, from 0 to 1 (0 when none "
        "runs), where its size is known: series passes, factors, places of a division."},
       &InvokeProgress},
      {{0x60040003,
        "ProgressMember",
        {},
        ResultType::Text,
        "String",
        "Returns the name of the member whose calculation is running (empty when none runs)."},
       &InvokeProgressMember},
  };
  return members;
}

}  // namespace

const platform::TypeLibrary& CallControlTypeLibrary() {
  static const platform::TypeLibrary library = [] {
    const platform::TypeLibrary& numeron = NumeronTypeLibrary();
    platform::TypeLibrary lib{numeron.name,
                              numeron.version,
                              numeron.help,
                              numeron.help_file,
                              numeron.guid,
                              "_NumeronCallControl",
                              "{FA9127BB-55F9-11D2-9AB7-444553540001}",
                              {},
                              {}};
    for (const ControlMember& member : ControlMembers()) lib.members.push_back(member.desc);
    return lib;
  }();
  return library;
}

platform::HResult CallControlInterface::GetIDsOfNames(std::string_view name, platform::DispId* id) {
  const platform::MemberDesc* member = GetTypeInfo().Find(name);
  if (!member) return platform::kUnknownName;
  *id = member->id;
  return platform::kOk;
}

const platform::TypeLibrary& CallControlInterface::GetTypeInfo() {
  return CallControlTypeLibrary();
}

platform::HResult CallControlInterface::Invoke(platform::DispId id,
                                               std::span<platform::Argument> args,
                                               platform::Variant* result,
                                               platform::ErrorInfo* error) {
  for (const ControlMember& member : ControlMembers()) {
    if (member.desc.id != id) continue;
    if (const platform::HResult status = CheckArguments(member.desc, args);
        status != platform::kOk) {
      return status;
    }
    try {
      CallArgs call(member.desc, args);
      Variant value = member.handler(control_, call);
      if (result) *result = std::move(value);
      return platform::kOk;
    } catch (const platform::RaisedError& raised) {
      return ReturnError(raised.error(), error);
    } catch (const std::bad_alloc&) {
      return ReturnError(platform::kOutOfMemory, error);
    }
  }
  return platform::kUnknownMember;
}

}  // namespace numeron
