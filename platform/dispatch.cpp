// Status texts and member lookup for the dispatch layer. Member names compare without regard to
// ASCII case, the way hosts spell them; other bytes must match exactly.
#include "platform/dispatch.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace numeron::platform {

namespace {

constexpr std::array<std::pair<HResult, std::string_view>, 13> kStatusTexts{{
    {kOk, "Success"},
    {kFalse, "Success (false)"},
    {kUnknownMember, "Unknown member id"},
    {kArgumentCannotConvert, "Argument cannot be converted"},
    {kUnknownName, "Unknown member name"},
    {kException, "The component raised an error"},
    {kWrongArgumentCount, "Wrong number of arguments"},
    {kArgumentNotOptional, "Argument not optional"},
    {kNoInterface, "Interface not supported"},
    {kClassNotAvailable, "Class not available"},
    {kClassNotRegistered, "Class not registered"},
    {kOutOfMemoryStatus, "Out of memory"},
    {kFailed, "General failure"},
}};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

std::string_view DescribeStatus(HResult status) {
  for (const auto& [code, text] : kStatusTexts) {
    if (code == status) return text;
  }
  // The text must outlive the call; one per thread is enough for a message being reported.
  thread_local char unknown[32];
  std::snprintf(unknown, sizeof unknown, "Unknown failure 0x%08X",
                static_cast<unsigned>(static_cast<std::uint32_t>(status)));
  return unknown;
}

const MemberDesc* TypeLibrary::Find(DispId id) const {
  auto it = std::ranges::find(members, id, &MemberDesc::id);
  return it == members.end() ? nullptr : &*it;
}

const MemberDesc* TypeLibrary::Find(std::string_view name) const {
  auto it = std::ranges::find_if(
      members, [name](const MemberDesc& m) { return SameNameIgnoringCase(m.name, name); });
  return it == members.end() ? nullptr : &*it;
}

}  // namespace numeron::platform
