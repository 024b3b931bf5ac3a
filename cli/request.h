// Reading one request line of the batch protocol (see batch.h) straight from the input: the
// line is never held whole, its digit arrays go into two bytes a digit as they are read, and
// nesting and length are bounded, so that no line can exhaust the stack or grow without bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <streambuf>
#include <string>
#include <vector>

#include "platform/variant.h"

namespace numeron::cli {

// The deepest JSON nesting a request may have (objects and arrays; an argument inside the
// request is at level 3, each array of Variant elements inside it adds 2).
inline constexpr int kMaxDepth = 64;
// The longest line read by default (its line end not counted): room for a 10^8-digit array.
inline constexpr std::size_t kMaxLine = std::size_t{1} << 30;

// One line of the input, a byte at a time.
class LineReader {
 public:
  LineReader(std::streambuf& in, std::size_t max_line) : in_(in), max_line_(max_line) {}
  // Starts the next line; false at the end of the input.
  bool StartLine();
  // The current byte, or -1 at the line's end (also once it passes max_line bytes).
  int Peek();
  void Next() { peeked_ = kNone; }
  bool too_long() const { return too_long_; }
  std::size_t max_line() const { return max_line_; }
  // Reads on while the line has only blanks; true when it ends so (such lines get no answer).
  bool IsBlank();
  // Drops the rest of the line, however long.
  void SkipRest();

 private:
  static constexpr int kNone = -2;
  std::streambuf& in_;
  std::size_t max_line_;
  std::size_t used_ = 0;
  int peeked_ = kNone;
  bool ended_ = false;       // the line's end has been seen
  bool terminated_ = false;  // its '\n' (or the end of the input) has been read
  bool too_long_ = false;
  bool non_blank_ = false;
};

struct Request {
  std::string fn;
  std::vector<platform::Variant> args;
  std::optional<std::int32_t> time_limit_ms;
};

// Reads the request on the current line up to its end or its first syntax error. Returns ""
// for a request, otherwise why the line is refused (not JSON, too long or too deep, a malformed
// ARG, ...). Throws std::bad_alloc when memory runs out.
std::string DecodeRequest(LineReader& line, Request* request);

}  // namespace numeron::cli
