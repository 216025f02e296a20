#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace orvex {

// Stable error numbers, so a support person recognises the same cause in every trace line.
enum ErrorNumber : int32_t {
  kErrInvalidArgument = 5,
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrSubscriptOutOfRange = 9,
  kErrTypeMismatch = 13,
  kErrInternal = 51,
  kErrBadFileNameOrNumber = 52,
  kErrFileNotFound = 53,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
  kErrResourceNotFound = 326,
  kErrCannotOpenClipboard = 521,
};

// An operation that fails throws Error: a number and a description.
class Error : public std::exception {
 public:
  Error(int32_t number, std::string description) : number_(number), description_(std::move(description)) {}

  int32_t Number() const { return number_; }
  const std::string& Description() const { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

  // "Error #" + number + " - " + description, as every trace line prints an error.
  std::string TraceText() const;

 private:
  int32_t number_;
  std::string description_;
};

// The Error that a trap records for any exception: an Error as it is, std::bad_alloc as number 7,
// any other exception as number 51 with its own text.
Error AsError(const std::exception& exception);

// Runs one step that may fail; a failing step is skipped and the next one runs.
// Returns false when the step threw any exception.
bool RunSkippingError(const std::function<void()>& step);

}  // namespace orvex
