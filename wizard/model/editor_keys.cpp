#include "wizard/model/editor_keys.h"

namespace kivwz {

EditorEvent EventOfKey(std::int16_t keyCode) {
  switch (keyCode) {
    case kKeyFunction1:
      return EditorEvent::Help;
    case kKeyFunction1 + 1:
      return EditorEvent::New;
    case kKeyFunction1 + 2:
      return EditorEvent::Save;
    case kKeyFunction1 + 3:
      return EditorEvent::Marks;
    case kKeyFunction1 + 4:
      return EditorEvent::Print;
    case kKeyFunction1 + 6:
      return EditorEvent::Search;
    case kKeyFunction1 + 7:
      return EditorEvent::ParentDelete;
    case kKeyFunction1 + 8:
      return EditorEvent::UndeleteParent;
    case kKeyFunction1 + 9:
      return EditorEvent::Select;
    case kKeyFunction1 + 10:
      return EditorEvent::OpenSpecificForm;
    case kKeyEscape:
      return EditorEvent::CloseForm;
    case kKeyEnter:
      return EditorEvent::Enter;
    default:
      return EditorEvent::None;
  }
}

bool CarriesControl(EditorEvent event) {
  return event == EditorEvent::OpenSpecificForm || event == EditorEvent::Enter;
}

}  // namespace kivwz
