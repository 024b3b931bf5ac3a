// The window's one component instance, reached only through the dispatch interface: members by
// dispatch identifier, arguments by position, every declared parameter supplied.
#pragma once

#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/dispatch.h"

namespace numeron::demo {

inline constexpr std::string_view kComponentProgId = "NumeronControl.Numeron";

// The members the window calls, by their published dispatch identifiers.
namespace member {
inline constexpr platform::DispId kIsNumericEx = 0x60030000;
inline constexpr platform::DispId kRound = 0x60030003;
inline constexpr platform::DispId kModulus = 0x60030004;
inline constexpr platform::DispId kPi = 0x60030005;
inline constexpr platform::DispId kE = 0x60030006;
inline constexpr platform::DispId kExponential = 0x60030007;
inline constexpr platform::DispId kIsValueOverflow = 0x6003000F;
inline constexpr platform::DispId kAdd = 0x60030012;
inline constexpr platform::DispId kSubtract = 0x60030014;
inline constexpr platform::DispId kLineUpStringValues = 0x60030016;
inline constexpr platform::DispId kGetDigit = 0x6003001E;
inline constexpr platform::DispId kDivide = 0x60030027;
inline constexpr platform::DispId kMultiply = 0x6003002B;
inline constexpr platform::DispId kLog_e = 0x60030035;
inline constexpr platform::DispId kCalculate_e = 0x60030037;
inline constexpr platform::DispId kEToExponent = 0x60030038;
inline constexpr platform::DispId kLogarithm = 0x60030039;
inline constexpr platform::DispId kSine = 0x6003003A;
inline constexpr platform::DispId kCosine = 0x6003003B;
inline constexpr platform::DispId kTangent = 0x6003003C;
inline constexpr platform::DispId kSecant = 0x6003003D;
inline constexpr platform::DispId kCosecant = 0x6003003E;
inline constexpr platform::DispId kCotangent = 0x6003003F;
inline constexpr platform::DispId kArcSine = 0x60030040;
inline constexpr platform::DispId kArcCosine = 0x60030041;
inline constexpr platform::DispId kArcTangent = 0x60030042;
inline constexpr platform::DispId kArcCotangent = 0x60030043;
inline constexpr platform::DispId kArcSecant = 0x60030044;
inline constexpr platform::DispId kArcCosecant = 0x60030045;
}  // namespace member

// The settings passed where a member has Return_Type: results come back as text.
inline constexpr std::int32_t kStringValue = 1;

class ComponentClient {
 public:
  // Creates the registered class by program identifier; nullptr and why when it cannot.
  static std::unique_ptr<ComponentClient> Create(std::string_view prog_id, std::string* why);

  explicit ComponentClient(platform::Ref<platform::Dispatch> object);

  // One synchronous call with a busy cursor. Arguments go by value, so members that write back
  // a normalised setting write into a temporary. Throws HandlerError when the call fails.
  platform::Variant Call(platform::DispId id, std::initializer_list<platform::Variant> args);
  platform::Variant Call(platform::DispId id, std::span<platform::Argument> args);

 private:
  platform::Ref<platform::Dispatch> object_;
};

}  // namespace numeron::demo
