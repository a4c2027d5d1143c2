#pragma once
// The key scheme every editor window shares: which released key raises which editor event. Keys
// not in the table raise nothing and reach the window's fields unchanged.
//
// F9 raises UndeleteParent, the counterpart of F8's ParentDelete; F11 raises OpenSpecificForm
// with the window's active control, naming which form the control stands for. NextDetail is
// declared for windows that page through details but no key raises it.

#include <cstdint>

namespace kivwz {

enum class EditorEvent {
  None,
  Help,              // F1
  New,               // F2
  Save,              // F3
  Marks,             // F4
  Print,             // F5
  Search,            // F7
  Select,            // F10
  ParentDelete,      // F8
  UndeleteParent,    // F9
  OpenSpecificForm,  // F11, with the active control
  NextDetail,        // no key
  CloseForm,         // Esc
  Enter,             // Enter, with the active control
};

// Key codes of the keys in the table.
inline constexpr std::int16_t kKeyEscape = 27;
inline constexpr std::int16_t kKeyEnter = 13;
inline constexpr std::int16_t kKeyFunction1 = 112;  // F1; F2 to F12 follow

// The event a released key raises.
EditorEvent EventOfKey(std::int16_t keyCode);
// True for the events that carry the window's active control.
bool CarriesControl(EditorEvent event);

}  // namespace kivwz
