#pragma once
// Error: a run-time failure with a classic number and a description. The control throws it only
// where a failure reaches the host (the design-time properties); everywhere else it is caught and
// reported as "Error: " + number + ", " + description.

#include <stdexcept>
#include <string>

#include <kivdb/export.h>

namespace kivdb {

class KIVDB_EXPORT Error : public std::runtime_error {
 public:
  Error(long number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}
  long Number() const { return number_; }
  const std::string& Description() const { return description_; }

 private:
  long number_;
  std::string description_;
};

// The classic numbers used across the library.
namespace err {
inline constexpr long kInvalidCall = 5;
inline constexpr long kOverflow = 6;
inline constexpr long kDivisionByZero = 11;
inline constexpr long kTypeMismatch = 13;
inline constexpr long kPathNotFound = 76;
inline constexpr long kFileAccess = 75;
inline constexpr long kObjectNotSet = 91;
inline constexpr long kNotSettableAtRunTime = 382;
inline constexpr long kNotReadableAtRunTime = 393;
inline constexpr long kNoCurrentRecord = 3021;
inline constexpr long kItemNotFound = 3265;
inline constexpr long kElementNotFound = 35601;
inline constexpr long kKeyNotUnique = 35602;
}  // namespace err

}  // namespace kivdb
