#pragma once
// DesignSettings: the two design-time settings of a control as the property page edits them,
// as texts. Reading and writing go through the control's own properties, so its rules hold
// (user mode refuses both with 393 and 382; a text that is no number fails with 13, one beyond
// 16 bits with 6), and the errors reach the caller as kivdb::Error.

#include <string>

#include <kivdb/kivdb.h>

namespace kivdb::qt {

struct DesignSettings {
  std::string daMode;
  std::string activePort;
};

DesignSettings ReadDesignSettings(const KivDB& control);
// Writes DAMode and then ActivePort; a failure on the second leaves the first written.
void ApplyDesignSettings(KivDB& control, const DesignSettings& settings);

}  // namespace kivdb::qt
