// The forms a value takes on the command line: the written arguments of a single call, their
// printed form, and the VALUE form of the batch protocol (see batch.h), which is written
// through nlohmann-json for its texts and doubles and streamed for the digits of an array.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/variant.h"

namespace numeron::cli {

// Gathers an array's elements as they are read, in either form: 16-bit digits (two bytes each)
// while every element is one, Variant elements from the first that is not.
class ArrayBuilder {
 public:
  void Add(std::int16_t digit);
  void Add(platform::Variant element);
  bool all_digits() const { return !variant_; }
  std::size_t size() const { return variant_ ? elements_.size() : digits_.size(); }
  // The array from place lo, with Variant elements when variant_elements or when an element was
  // not a digit. Refuses a lower bound outside 32 bits and an upper bound past the largest index.
  bool Finish(std::int64_t lo, bool variant_elements, platform::Variant* value, std::string* why);

 private:
  bool variant_ = false;
  std::vector<std::int16_t> digits_;
  std::vector<platform::Variant> elements_;
};

// Reads one written argument. Text unless it starts with a kind prefix: i2:5, i4:5, d:1.5,
// b:true, b:false, empty:, missing:, text:... (a text that itself starts like a prefix) and
// huge:LO:d,d,d (digits from the lowest place up; a blank entry makes an array of Variant
// elements with that element empty). A word followed by ':' that is not a known prefix is an
// error, so that a mistyped prefix is not silently passed as text.
bool ParseCommandArg(std::string_view written, platform::Variant* value, std::string* why);

// The printed form of a value: text as it is, a double as its general text, True/False,
// integers in decimal, empty (and missing) as nothing, an array as huge:LO:d,d,...
std::string FormatValue(const platform::Variant& value);

// Writes the VALUE form of value (compact JSON, "t" first; texts that are not UTF-8 get U+FFFD
// for each bad byte).
void WriteValue(const platform::Variant& value, std::ostream& out);

}  // namespace numeron::cli
