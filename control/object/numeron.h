// The Numeron component: one object behind the dispatch interface _Numeron.
#pragma once

#include "platform/dispatch.h"

namespace numeron {

inline constexpr const char* kProgId = "NumeronControl.Numeron";
inline constexpr const char* kClassId = "{FA9127B6-55F9-11D2-9AB7-444553540001}";

// A new Numeron object holding one reference (the caller's). Builds its constants pi and e.
platform::Dispatch* NewNumeron();

// The interface description shared by the object, the command line and the typed client.
const platform::TypeLibrary& NumeronTypeLibrary();
// The description of _NumeronCallControl, the object's second interface (cancel, time limit,
// progress), reached through QueryInterface.
const platform::TypeLibrary& CallControlTypeLibrary();

// Live objects and server locks, for DllCanUnloadNow.
int LiveObjectCount();

}  // namespace numeron
