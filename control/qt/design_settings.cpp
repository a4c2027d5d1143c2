#include "control/qt/design_settings.h"

#include <kivdb/variant.h>

namespace kivdb::qt {

DesignSettings ReadDesignSettings(const KivDB& control) {
  DesignSettings settings;
  settings.daMode = std::to_string(control.DAMode());
  settings.activePort = std::to_string(control.ActivePort());
  return settings;
}

void ApplyDesignSettings(KivDB& control, const DesignSettings& settings) {
  // The same conversion a host's assignment of text to a 16-bit property makes.
  control.DAMode(IntegerOrZero(Variant(settings.daMode)));
  control.ActivePort(IntegerOrZero(Variant(settings.activePort)));
}

}  // namespace kivdb::qt
