#pragma once
// Pieces shared by the wizard's reports (rule analyses and to-do lists): lines ended by CR LF, the
// zero-filled ID, and the notes on a query's parameter kind and constant parameter.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "wizard/model/numbers.h"

namespace kivwz {

// Builds a report line by line; every line ends with CR LF.
class ReportText {
 public:
  // Room for about records lines of a usual length, so that a long report is not copied over and
  // over while it grows.
  explicit ReportText(std::size_t records = 0) { text_.reserve(1024 + 96 * records); }
  ReportText& Line(std::initializer_list<std::string_view> pieces = {});
  const std::string& Text() const { return text_; }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

// At least three digits, zero-filled: 7 gives "007", 1234 gives "1234".
std::string IdText000(Long id);

// The note on a parameter kind, chosen by the kind's first two characters once "**" is appended,
// surrounding spaces stripped and capitals made: "**" None, "LK" Long Integer, "CK" Character of
// the length in the kind's last two characters, "TE" Text, "TO" Date (Today); anything else no
// note.
std::string ParameterNote(std::string_view parmIs);

// The note on a constant parameter: the second piece of the query split at single spaces, when
// there is one.
std::string ConstantParameterNote(std::string_view queryIs);

}  // namespace kivwz
