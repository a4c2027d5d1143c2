#pragma once
// The frame every paragraph renderer follows: the id pictures, the form link, the title rule and
// title line, and the texts of the two messages a renderer raises ("Blank Recordset: " and the
// "Error: " report of a failure).

#include <cstdint>
#include <optional>
#include <string>

#include <kivdb/variant.h>
#include "control/render/render_context.h"

namespace kivdb {

// The "000" picture of element ids: at least three digits, 7 gives "007", 1234 gives "1234".
std::string IdPicture(long id);

// "^" + the form number in the "00000" picture + the record ID in the "0000000000" picture (a
// number rounded to whole; a text key that is no number as it is; Null as nothing), HTML-escaped
// for the href it is written into. Form 12, ID 5 give "^000120000000005".
std::string FormLink(int16_t form, const Variant& idValue);

// A title ending in ":" gets one blank and the selected node's caption (HTML-escaped: it comes
// from a query); other titles stay as they are. Throws Error 91 for such a title when no node is
// selected.
std::string ApplyTitleRule(const std::string& title,
                           const std::optional<std::string>& selectedCaption);

// "<p id='TTL" + id picture + "' class=ph><img src='circle.gif'>  " + title, left open.
std::string TitleLine(const std::string& title, long id);

// "Blank Recordset: " + the title as the paragraph received it.
std::string BlankRecordsetMessage(const std::string& title);

// "Error: " + number + ", " + description.
std::string ErrorMessage(long number, const std::string& description);

// Opens a paragraph on its recordset: Error 91 when there is none; for an empty one tells
// "Blank Recordset: " + the title and returns 0, which ends the paragraph. Otherwise returns the
// record count (negative where the provider cannot count), each renderer deciding what that means.
long OpenParagraph(const RenderContext& context, const Recordset* records,
                   const std::string& title);

// The number and description a failure is reported with.
struct Failure {
  long number = 0;
  std::string description;
};

// Call inside a catch block: the failure the exception in flight stands for. Error gives its own
// number; memory exhaustion is 7 "Out of memory"; anything else is 5 "Invalid procedure call or
// argument", or, with `describeOthers`, 5 and the exception's own text when it has one.
Failure CurrentFailure(bool describeOthers = false) noexcept;

// Call inside a catch block: reports the exception in flight through the context ("Error: ..."),
// when Talking is on and its number is not 0. Error gives its own number; memory exhaustion is
// 7 "Out of memory"; anything else is 5 "Invalid procedure call or argument".
void ReportCurrentFailure(const RenderContext& context) noexcept;

// Runs a renderer's body inside the paragraph frame: OpenParagraph first, then body(count) for a
// recordset that is not empty, and any failure of either reported through ReportCurrentFailure.
template <class Body>
void RunParagraph(RenderContext& context, const Recordset* records, const std::string& title,
                  Body&& body) noexcept {
  try {
    const long count = OpenParagraph(context, records, title);
    if (count != 0) body(count);
  } catch (...) {
    ReportCurrentFailure(context);
  }
}

}  // namespace kivdb
