// The members of _Numeron: each published description with the routine that answers it.
#pragma once

#include <vector>

#include "control/object/call_args.h"

namespace numeron {

class NumeronObject;
using Handler = Variant (*)(NumeronObject& self, CallArgs& args);

struct Member {
  platform::MemberDesc desc;
  Handler handler;
};

// In dispatch identifier order.
const std::vector<Member>& Members();

}  // namespace numeron
