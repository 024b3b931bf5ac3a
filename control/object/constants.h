#pragma once

namespace numeron {

extern const char* const kPiText;  // pi to 1000 decimal places
extern const char* const kEText;   // e to 999 decimal places

}  // namespace numeron
