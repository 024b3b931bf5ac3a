// Reading one request line of the batch protocol (see batch.h) straight from the input: the
// line is never held whole, its digit arrays go into two bytes a digit as they are read, and
// nesting and length are bounded, so that no line can exhaust the stack or grow without bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "platform/variant.h"

namespace numeron::cli {

// The deepest JSON nesting a request may have (objects and arrays; an argument inside the
// request is at level 3, each array of Variant elements inside it adds 2).
inline constexpr int kMaxDepth = 64;
// The longest line read by default (its line end not counted): room for a 10^8-digit array.
inline constexpr std::size_t kMaxLine = std::size_t{1} << 30;

// The input line by line, through a buffer of its own. A line that lies whole in the buffer is
// handed out as text; a longer one a byte at a time, never held. `before_wait` runs whenever
// the next bytes are not in hand yet, so the read may wait for the writer.
class LineReader {
 public:
  LineReader(std::streambuf& in, std::size_t max_line, std::function<void()> before_wait = {});
  // Starts the next line; false at the end of the input.
  bool StartLine();
  // The whole current line, taken at once, when it is in the buffer and not too long.
  std::optional<std::string_view> TakeWholeLine();
  // The current byte, or -1 at the line's end (also once it passes max_line bytes).
  int Peek() { return peeked_ != kNone ? peeked_ : Advance(); }
  void Next() { peeked_ = kNone; }
  bool too_long() const { return too_long_; }
  std::size_t max_line() const { return max_line_; }
  // Reads on while the line has only blanks; true when it ends so (such lines get no answer).
  bool IsBlank();
  // Drops the rest of the line, however long.
  void SkipRest();

 private:
  static constexpr int kNone = -2;
  static constexpr int kEnd = -1;
  int Advance();
  // The next byte, taken off the input, or kEnd at its end.
  int Read() { return at_ < filled_ || Fill() ? static_cast<unsigned char>(buffer_[at_++]) : kEnd; }
  // Refills the buffer: false at the end of the input.
  bool Fill();
  // Moves what is left to the front and adds what the input has ready.
  void TopUp();

  std::streambuf& in_;
  std::size_t max_line_;
  std::function<void()> before_wait_;
  std::vector<char> buffer_;
  std::size_t at_ = 0, filled_ = 0;
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
