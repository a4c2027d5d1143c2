#include "control/render/paragraph_frame.h"

#include <cstdio>
#include <exception>
#include <new>

#include <kivdb/error.h>
#include "base/html_escape.h"
#include "control/render/format_value.h"
#include "control/render/number_format.h"
#include "control/render/paragraph_stream.h"
#include "control/render/row_cap.h"

namespace kivdb {
namespace {

// Zero-padded magnitude with the sign in front, as the "000..." pictures write negatives.
std::string Padded(std::string_view digits, bool negative, size_t width) {
  std::string out = negative ? "-" : "";
  if (digits.size() < width) out.append(width - digits.size(), '0');
  out.append(digits);
  return out;
}

// The "0000000000" picture of a record ID.
std::string IdDigits(const Variant& idValue) {
  if (const std::optional<std::string> number = NumberTextOf(idValue)) {
    if (std::optional<std::string> whole = FormatNumberText(*number, 0)) {
      std::string digits;
      for (const char c : *whole) {
        if (c >= '0' && c <= '9') digits += c;
      }
      return Padded(digits, whole->front() == '-', 10);
    }
  }
  return idValue.ToText();
}

}  // namespace

std::string IdPicture(long id) {
  const bool negative = id < 0;
  const unsigned long magnitude =
      negative ? 0 - static_cast<unsigned long>(id) : static_cast<unsigned long>(id);
  return Padded(std::to_string(magnitude), negative, 3);
}

std::string FormLink(int16_t form, const Variant& idValue) {
  const bool negative = form < 0;
  const std::string formDigits = std::to_string(negative ? -static_cast<int>(form) : form);
  return "^" + Padded(formDigits, negative, 5) + HtmlEscape(IdDigits(idValue));
}

std::string ApplyTitleRule(const std::string& title,
                           const std::optional<std::string>& selectedCaption) {
  if (title.empty() || title.back() != ':') return title;
  if (!selectedCaption)
    throw Error(err::kObjectNotSet, "Object variable or With block variable not set");
  return title + " " + HtmlEscape(*selectedCaption);
}

std::string TitleLine(const std::string& title, long id) {
  return "<p id='TTL" + IdPicture(id) + "' class=ph><img src='circle.gif'>  " + title;
}

std::string BlankRecordsetMessage(const std::string& title) {
  return "Blank Recordset: " + title;
}

std::string ErrorMessage(long number, const std::string& description) {
  return "Error: " + std::to_string(number) + ", " + description;
}

long OpenParagraph(const RenderContext& context, const Recordset* records,
                   const std::string& title) {
  if (records == nullptr) {
    throw Error(err::kObjectNotSet, "Object variable or With block variable not set");
  }
  const long count = records->RecordCount();
  if (count == 0) context.Tell(BlankRecordsetMessage(title));
  return count;
}

Failure CurrentFailure(bool describeOthers) noexcept {
  Failure failure{err::kInvalidCall, "Invalid procedure call or argument"};
  try {
    throw;
  } catch (const Error& e) {
    failure = {e.Number(), e.Description()};
  } catch (const std::bad_alloc&) {
    failure = {7, "Out of memory"};
  } catch (const std::exception& e) {
    if (describeOthers) failure.description = e.what();
  } catch (...) {
  }
  return failure;
}

void ReportCurrentFailure(const RenderContext& context) noexcept {
  const Failure failure = CurrentFailure();
  if (failure.number == 0) return;
  try {
    context.Tell(ErrorMessage(failure.number, failure.description));
  } catch (...) {
    // A host's message handler that throws must not turn a reported failure into a crash.
  }
}

std::string CutShortLine(long rowsRead) {
  return "<p class=pgl>Error Reading Data From Database after " + GroupedNumber(rowsRead) +
         (rowsRead == 1 ? " row" : " rows") + ": the table above is incomplete.</p>";
}

}  // namespace kivdb
