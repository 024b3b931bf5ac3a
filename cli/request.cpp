#include "cli/request.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>

#include "cli/values.h"

namespace numeron::cli {

using nlohmann::json;
using platform::Variant;

namespace {

bool IsBlankByte(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

namespace {
constexpr std::size_t kBufferSize = std::size_t{1} << 16;
}

LineReader::LineReader(std::streambuf& in, std::size_t max_line, std::function<void()> before_wait)
    : in_(in), max_line_(max_line), before_wait_(std::move(before_wait)), buffer_(kBufferSize) {}

bool LineReader::Fill() {
  at_ = filled_ = 0;
  std::streamsize ready = in_.in_avail();
  if (ready <= 0) {
    if (before_wait_) before_wait_();
    const int c = in_.sbumpc();  // waits for the writer
    if (c == std::streambuf::traits_type::eof()) return false;
    buffer_[filled_++] = static_cast<char>(c);
  }
  TopUp();
  return true;
}

void LineReader::TopUp() {
  if (at_ > 0) {
    std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(at_),
              buffer_.begin() + static_cast<std::ptrdiff_t>(filled_), buffer_.begin());
    filled_ -= at_;
    at_ = 0;
  }
  const std::streamsize ready = in_.in_avail();  // never waits
  if (ready > 0) {
    filled_ += static_cast<std::size_t>(in_.sgetn(
        buffer_.data() + filled_,
        std::min<std::streamsize>(ready, static_cast<std::streamsize>(buffer_.size() - filled_))));
  }
}

bool LineReader::StartLine() {
  used_ = 0;
  peeked_ = kNone;
  ended_ = terminated_ = too_long_ = non_blank_ = false;
  return at_ < filled_ || Fill();
}

std::optional<std::string_view> LineReader::TakeWholeLine() {
  const auto find_end = [this] {
    return static_cast<const char*>(std::memchr(buffer_.data() + at_, '\n', filled_ - at_));
  };
  const char* end = find_end();
  if (!end && at_ > 0) {
    TopUp();
    end = find_end();
  }
  const char* begin = buffer_.data() + at_;
  if (!end || static_cast<std::size_t>(end - begin) > max_line_) return std::nullopt;
  const std::string_view line(begin, static_cast<std::size_t>(end - begin));
  at_ += line.size() + 1;
  ended_ = terminated_ = true;
  peeked_ = kEnd;
  non_blank_ = std::any_of(line.begin(), line.end(), [](char c) { return !IsBlankByte(c); });
  return line;
}

int LineReader::Advance() {
  if (ended_) return peeked_ = kEnd;
  const int c = Read();
  if (c == kEnd || c == '\n') {
    ended_ = terminated_ = true;
    return peeked_ = kEnd;
  }
  if (++used_ > max_line_) {
    ended_ = too_long_ = true;
    return peeked_ = kEnd;
  }
  if (!IsBlankByte(c)) non_blank_ = true;
  return peeked_ = c;
}

bool LineReader::IsBlank() {
  while (!non_blank_ && !terminated_) {
    if (Peek() >= 0) {
      Next();
    } else if (!terminated_) {  // past max_line bytes: read on, keeping nothing
      const int c = Read();
      terminated_ = c == kEnd || c == '\n';
      non_blank_ = !terminated_ && !IsBlankByte(c);
    }
  }
  return !non_blank_;
}

void LineReader::SkipRest() {
  while (!terminated_) {
    const int c = Read();
    terminated_ = c == kEnd || c == '\n';
  }
  ended_ = true;
  peeked_ = kEnd;
}

namespace {

// The line as an input range for the parser.
class LineIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = char;

  explicit LineIterator(LineReader* line = nullptr) : line_(line) {}
  char operator*() const { return static_cast<char>(line_->Peek()); }
  LineIterator& operator++() {
    line_->Next();
    return *this;
  }
  bool operator==(const LineIterator& other) const { return AtEnd() == other.AtEnd(); }

 private:
  bool AtEnd() const { return !line_ || line_->Peek() < 0; }
  LineReader* line_;
};

constexpr std::int64_t kInt16Min = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t kInt16Max = std::numeric_limits<std::int16_t>::max();
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

bool ReadInteger(const json& j, std::int64_t low, std::int64_t high, std::int64_t* value) {
  if (j.is_number_unsigned()) {
    if (j.get<std::uint64_t>() > static_cast<std::uint64_t>(high)) return false;
    *value = static_cast<std::int64_t>(j.get<std::uint64_t>());
    return true;
  }
  if (!j.is_number_integer() || j.get<std::int64_t>() < low || j.get<std::int64_t>() > high) {
    return false;
  }
  *value = j.get<std::int64_t>();
  return true;
}

// The fields of an ARG object as they arrive, in any order; absent ones are discarded values,
// and a field given a list or an object holds an empty one of that kind.
struct ArgFields {
  json t = json(json::value_t::discarded);
  json v = json(json::value_t::discarded);
  json lo = json(json::value_t::discarded);
  json elem = json(json::value_t::discarded);
  bool digits_given = false;
  bool digits_list = false;
  ArrayBuilder digits;
};

constexpr const char* kDigitWhy =
    "a digit must be an integer from -32768 to 32767 (use \"elem\":\"variant\" for empty "
    "elements)";

bool FinishArray(ArgFields& arg, Variant* value, std::string* why) {
  std::int64_t lo = 0;
  if (!ReadInteger(arg.lo, kInt32Min, kInt32Max, &lo)) {
    *why = "\"huge\" needs \"lo\", an integer from -2147483648 to 2147483647";
    return false;
  }
  const bool variant_elements = arg.elem == "variant";
  if (!arg.elem.is_discarded() && !variant_elements && arg.elem != "i2") {
    *why = "\"elem\" must be \"variant\" or \"i2\"";
    return false;
  }
  if (!arg.digits_given || !arg.digits_list) {
    *why = "\"huge\" needs \"digits\", a list";
    return false;
  }
  if (!variant_elements && !arg.digits.all_digits()) {
    *why = kDigitWhy;
    return false;
  }
  return arg.digits.Finish(lo, variant_elements, value, why);
}

bool FinishArg(ArgFields& arg, Variant* value, std::string* why) {
  if (!arg.t.is_string()) {
    *why = "an argument needs \"t\", its kind";
    return false;
  }
  const std::string& kind = arg.t.get_ref<const std::string&>();
  const json& v = arg.v;
  std::int64_t n = 0;
  if (kind == "empty") {
    *value = Variant();
  } else if (kind == "missing") {
    *value = Variant::Missing();
  } else if (kind == "huge") {
    return FinishArray(arg, value, why);
  } else if (kind == "bool") {
    if (!v.is_boolean()) *why = "\"bool\" needs \"v\", true or false";
    if (v.is_boolean()) *value = Variant(v.get<bool>());
  } else if (kind == "i2") {
    if (!ReadInteger(v, kInt16Min, kInt16Max, &n)) {
      *why = "\"i2\" needs \"v\", an integer from -32768 to 32767";
    }
    *value = Variant(static_cast<std::int16_t>(n));
  } else if (kind == "i4") {
    if (!ReadInteger(v, kInt32Min, kInt32Max, &n)) {
      *why = "\"i4\" needs \"v\", an integer from -2147483648 to 2147483647";
    }
    *value = Variant(static_cast<std::int32_t>(n));
  } else if (kind == "double") {
    if (!v.is_number()) *why = "\"double\" needs \"v\", a number";
    if (v.is_number()) *value = Variant(v.get<double>());
  } else if (kind == "text") {
    if (!v.is_string()) *why = "\"text\" needs \"v\", a string";
    if (v.is_string()) *value = Variant(std::move(arg.v.get_ref<std::string&>()));
  } else {
    *why = "unknown argument kind \"" + kind +
           "\" (known: empty, missing, bool, i2, i4, double, text, huge)";
  }
  return why->empty();
}

// The SAX handler: builds the request as the parser reports what it reads. A refused part
// does not stop the parse, so that a syntax error anywhere on the line is what gets reported,
// as when the line is read whole; its container is then skipped, keeping only a count of the
// levels open.
class RequestReader {
 public:
  explicit RequestReader(Request* request) : request_(request) {}

  std::string Verdict() const {
    if (!syntax_error_.empty()) return syntax_error_;
    if (too_deep_) return "the request nests deeper than " + std::to_string(kMaxDepth) + " levels";
    if (!is_object_) return "a request must be a JSON object";
    if (request_->fn.empty()) return "the request names no function (\"fn\")";
    if (!args_error_.empty()) return args_error_;
    return time_error_;
  }

  bool null() { return Scalar(json()); }
  bool boolean(bool b) { return Scalar(json(b)); }
  bool number_integer(std::int64_t n) { return Scalar(json(n)); }
  bool number_unsigned(std::uint64_t n) { return Scalar(json(n)); }
  bool number_float(double d, const std::string&) { return Scalar(json(d)); }
  bool string(std::string& s) { return Scalar(json(std::move(s))); }
  bool binary(json::binary_t&) { return Scalar(json()); }  // JSON text has none
  bool start_object(std::size_t) { return Open(true); }
  bool start_array(std::size_t) { return Open(false); }
  bool end_object() { return Close(); }
  bool end_array() { return Close(); }
  bool key(std::string& k) {
    if (skip_to_ < 0) frames_.back().key = std::move(k);
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
    // nlohmann's messages start with a tag such as "[json.exception.parse_error.101] ".
    std::string_view message = e.what();
    if (const auto tag_end = message.find("] "); tag_end != std::string_view::npos) {
      message.remove_prefix(tag_end + 2);
    }
    syntax_error_ = "not valid JSON: " + std::string(message);
    return false;
  }

 private:
  enum class In { Request, Args, Arg, Digits };
  struct Frame {
    explicit Frame(In where, std::size_t position = 0) : in(where), index(position) {}
    In in;
    std::size_t index;  // of an argument or an element
    std::string key;    // of the field being read
    ArgFields arg;
  };

  void Skip(int to) { skip_to_ = to; }

  // Refuses the argument being read, naming where the fault is, and skips the rest of "args".
  void Fail(std::string why) {
    for (std::size_t i = frames_.size(); i-- > 1;) {
      if (frames_[i].in != In::Arg) continue;
      why = (frames_[i - 1].in == In::Args ? "argument " + std::to_string(frames_[i].index + 1)
                                           : "element " + std::to_string(frames_[i].index)) +
            ": " + why;
    }
    if (args_error_.empty()) args_error_ = std::move(why);
    frames_.erase(frames_.begin() + 1, frames_.end());
    if (depth_ > 1) Skip(1);  // back to the request's own fields
  }

  void NotAnArgument(Frame& args) {
    Fail("argument " + std::to_string(++args.index) +
         ": an argument must be an object such as {\"t\":\"text\",\"v\":\"1.5\"}");
  }

  void RequestField(const std::string& key, json value) {
    if (key == "fn") {
      request_->fn = value.is_string() ? std::move(value.get_ref<std::string&>()) : "";
    } else if (key == "args") {
      Fail("\"args\" must be a list");
    } else if (key == "time_limit_ms") {
      std::int64_t ms = 0;
      if (ReadInteger(value, 0, kInt32Max, &ms)) {
        request_->time_limit_ms = static_cast<std::int32_t>(ms);
      } else {
        time_error_ = "\"time_limit_ms\" must be an integer from 0 to 2147483647";
      }
    }
  }

  void ArgField(Frame& f, json value) {
    if (f.key == "t") f.arg.t = std::move(value);
    if (f.key == "v") f.arg.v = std::move(value);
    if (f.key == "lo") f.arg.lo = std::move(value);
    if (f.key == "elem") f.arg.elem = std::move(value);
    if (f.key == "digits") f.arg.digits_given = true, f.arg.digits_list = false;
  }

  // An element of the digits being read; an object comes through Close.
  void Element(const json& e) {
    ArgFields& owner = frames_[frames_.size() - 2].arg;
    std::int64_t n = 0;
    if (ReadInteger(e, kInt16Min, kInt16Max, &n)) {
      owner.digits.Add(static_cast<std::int16_t>(n));
    } else if (owner.elem != "variant" && !owner.elem.is_discarded()) {
      Fail(kDigitWhy);  // no reason to keep what cannot be a digit array
    } else if (e.is_null()) {
      owner.digits.Add(Variant());
    } else if (ReadInteger(e, kInt32Min, kInt32Max, &n)) {
      owner.digits.Add(Variant(static_cast<std::int32_t>(n)));
    } else if (e.is_number_float()) {
      owner.digits.Add(Variant(e.get<double>()));
    } else {
      Fail("element " + std::to_string(owner.digits.size()) +
           ": an element must be null, a number or an argument object");
    }
  }

  bool Scalar(json value) {
    if (skip_to_ >= 0) return true;
    if (frames_.empty()) {
      is_object_ = false;
      return true;
    }
    Frame& f = frames_.back();
    switch (f.in) {
      case In::Request:
        RequestField(f.key, std::move(value));
        break;
      case In::Args:
        NotAnArgument(f);
        break;
      case In::Arg:
        ArgField(f, std::move(value));
        break;
      case In::Digits:
        Element(value);
        break;
    }
    return true;
  }

  bool Open(bool object) {
    ++depth_;
    if (skip_to_ >= 0) return true;
    if (depth_ > kMaxDepth) {
      too_deep_ = true;
      Skip(0);
      return true;
    }
    if (frames_.empty()) {
      is_object_ = object;
      if (object) frames_.emplace_back(In::Request);
      if (!object) Skip(0);
      return true;
    }
    Frame& f = frames_.back();
    if (f.in == In::Request && f.key == "args" && !object) {
      request_->args.clear();
      frames_.emplace_back(In::Args);
    } else if (f.in == In::Request) {
      RequestField(f.key, object ? json::object() : json::array());
      if (skip_to_ < 0) Skip(depth_ - 1);
    } else if (f.in == In::Args && object) {
      frames_.emplace_back(In::Arg, f.index++);
    } else if (f.in == In::Args) {
      NotAnArgument(f);
    } else if (f.in == In::Digits && object) {
      frames_.emplace_back(In::Arg, frames_[frames_.size() - 2].arg.digits.size());
    } else if (f.in == In::Digits) {
      Element(json::array());
    } else if (f.key == "digits" && !object) {
      f.arg.digits = ArrayBuilder();
      f.arg.digits_given = f.arg.digits_list = true;
      frames_.emplace_back(In::Digits);
    } else {
      ArgField(f, object ? json::object() : json::array());
      Skip(depth_ - 1);
    }
    return true;
  }

  bool Close() {
    --depth_;
    if (skip_to_ >= 0) {
      if (depth_ <= skip_to_) skip_to_ = -1;
      return true;
    }
    if (frames_.back().in != In::Arg) {
      frames_.pop_back();
      return true;
    }
    Variant value;
    std::string why;
    if (!FinishArg(frames_.back().arg, &value, &why)) {
      Fail(std::move(why));
      return true;
    }
    frames_.pop_back();
    if (frames_.back().in == In::Args) {
      request_->args.push_back(std::move(value));
    } else {
      frames_[frames_.size() - 2].arg.digits.Add(std::move(value));
    }
    return true;
  }

  Request* request_;
  std::vector<Frame> frames_;
  int depth_ = 0;
  int skip_to_ = -1;  // >= 0: events are ignored until the nesting is back to this level
  bool is_object_ = true;
  bool too_deep_ = false;
  std::string syntax_error_;
  std::string args_error_;
  std::string time_error_;
};

}  // namespace

std::string DecodeRequest(LineReader& line, Request* request) {
  *request = Request();
  RequestReader reader(request);
  if (const std::optional<std::string_view> whole = line.TakeWholeLine()) {
    json::sax_parse(whole->begin(), whole->end(), &reader);
  } else {
    json::sax_parse(LineIterator(&line), LineIterator(), &reader);
  }
  if (line.too_long()) {
    return "the line is longer than " + std::to_string(line.max_line()) + " bytes";
  }
  return reader.Verdict();
}

}  // namespace numeron::cli
