#pragma once
// FieldText: a field's value as the text a form shows, and the user's text read back into a value
// of the field's type. Empty text stands for Null.

#include <optional>
#include <string>

#include <kivdb/variant.h>

namespace kivdb::demo {

// Binary fields (pictures) cannot be typed in.
bool IsEditableType(int typeCode);

// The value for the text typed into a field of type `typeCode` (the classic field type codes),
// or nothing with the reason in `error` ("a whole number", "a date such as 2024-05-31", ...).
std::optional<Variant> ValueFromText(int typeCode, const std::string& text, std::string& error);

}  // namespace kivdb::demo
