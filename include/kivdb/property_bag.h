#pragma once
// PropertyBag: where the container keeps a control's saved properties with the host's window.
// KivDB::ReadProperties and WriteProperties go through it; IniPropertyBag keeps them in a file.

#include <string>

#include <kivdb/export.h>
#include <kivdb/variant.h>

namespace kivdb {

class KIVDB_EXPORT PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // The stored value of `name`, or `defaultValue` when the bag holds none.
  virtual Variant ReadProperty(const std::string& name, const Variant& defaultValue) = 0;
  // Stores `value` under `name`. A value equal to `defaultValue` is not stored, and a value
  // stored earlier under that name is dropped, so that reading gives the default back.
  virtual void WriteProperty(const std::string& name, const Variant& value,
                             const Variant& defaultValue) = 0;
};

}  // namespace kivdb
