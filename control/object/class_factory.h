// The class factory that hands out Numeron objects, and what DllCanUnloadNow asks of it.
#pragma once

#include "platform/dispatch.h"

namespace numeron {

// The one factory of the library; the caller owns one reference to it.
platform::ClassFactory* AcquireClassFactory();

// True when no object, factory reference or server lock is alive.
bool CanUnloadLibrary();

}  // namespace numeron
