#include "control/render/field_class.h"

#include <kivdb/recordset.h>

namespace kivdb {

FieldClass ClassOfType(int typeCode) {
  switch (typeCode) {
    case type::kDouble:
    case type::kCurrency:
    case type::kDecimal:
    case type::kNumeric:
    case type::kVarNumeric:
      return FieldClass::Decimal;
    case type::kSmallInt:
    case type::kInteger:
    case type::kSingle:  // singles show without decimals
    case type::kTinyInt:
    case type::kUnsignedTinyInt:
    case type::kUnsignedSmallInt:
    case type::kUnsignedInt:
    case type::kBigInt:
    case type::kUnsignedBigInt:
      return FieldClass::Integer;
    case type::kDate:
    case type::kFileTime:
    case type::kDBDate:
    case type::kDBTime:
    case type::kDBTimeStamp:
      return FieldClass::Date;
    case type::kLongVarWChar:
      return FieldClass::LongText;
    case type::kChapter:
      return FieldClass::Chapter;
    default:
      return FieldClass::Other;
  }
}

std::string_view KindToken(FieldClass fieldClass) {
  switch (fieldClass) {
    case FieldClass::Decimal:
      return kKindDbl;
    case FieldClass::Integer:
      return kKindInt;
    case FieldClass::Date:
      return kKindDte;
    case FieldClass::LongText:
      return kKindHtm;
    default:
      return kKindBlank;
  }
}

bool IsIdFieldName(std::string_view name) {
  return name.size() == 2 && (name[0] == 'I' || name[0] == 'i') &&
         (name[1] == 'D' || name[1] == 'd');
}

}  // namespace kivdb
