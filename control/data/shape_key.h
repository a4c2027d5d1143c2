#pragma once
// Keys that match child records to parent records in a SHAPE command: the values of the related
// columns packed into one byte string, so that equal keys mean matching records. Numbers of any
// kind compare by value (17, 17.0, a currency 17 and a decimal "17.00" give one key); texts,
// dates and binary data compare exactly and never equal a number.

#include <string>

#include <kivdb/variant.h>

namespace kivdb {

// Appends the packed form of `value` to `key`. Returns false for a value that matches nothing:
// Null, Empty, a chapter, a NaN, or a decimal text that reads as no number.
bool AppendShapeKey(const Variant& value, std::string& key);

}  // namespace kivdb
