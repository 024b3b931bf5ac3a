// How a button handler fails: any step may throw a HandlerError (the component raised an error,
// or the built-in arithmetic refused), the handler stops there without writing its result, and
// the one error box that the window uses for every failure is shown.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "platform/error.h"

namespace numeron::demo {

class MessageSink;

class HandlerError : public std::exception {
 public:
  HandlerError(std::int32_t number, std::string description)
      : number_(number), description_(std::move(description)) {}
  explicit HandlerError(const platform::Error& error)
      : HandlerError(error.number, std::string(error.description)) {}

  std::int32_t number() const { return number_; }
  const std::string& description() const { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }
  // The field whose text was refused, when the error comes from one ("" otherwise).
  const std::string& field() const { return field_; }
  void set_field(std::string field) { field_ = std::move(field); }

 private:
  std::int32_t number_;
  std::string description_;
  std::string field_;
};

// The number as a user knows it: the platform's own errors (0x800Axxxx) by their short number
// (13 for a type mismatch), everything else, the component's numbers included, in signed decimal.
std::int32_t DisplayedErrorNumber(std::int32_t number);

// "<description>, error number <n> was generated.", then the refused field on a line of its own.
std::string ErrorReportText(const HandlerError& error);

// A critical box titled "An error has occured." with ErrorReportText.
void ReportError(MessageSink& messages, const HandlerError& error);

// Runs a click handler; a HandlerError ends it: `clear` removes the result it would have replaced
// (a stale result must not stand beside the new input), then the error box is shown.
void RunWithErrorReport(MessageSink& messages, const std::function<void()>& handler,
                        const std::function<void()>& clear = {});

}  // namespace numeron::demo
