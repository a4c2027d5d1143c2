#pragma once
// ShowThumbnails, the renderer of thumbnail paragraphs (T): the records as a grid of pictures
// named by their "FILE" fields, each with the record's other values, laid out by a short tagged
// setting text; and ReadSpecTag, which reads one tag of that text.

#include <string>

#include <kivdb/recordset.h>
#include <kivdb/variant.h>
#include "control/render/render_context.h"

namespace kivdb {

// The text between the first `tag` (exact case, "<width>") and the first closing tag ("</width>")
// of `settingText`, unchanged; the empty text when the tag does not occur. A closing tag that is
// missing or comes before the tag raises the message "Error is Specification XML String" (whatever
// Talking is) and gives Empty.
Variant ReadSpecTag(const RenderContext& context, const std::string& settingText,
                    const std::string& tag);

// `settingText` holds the tags <textposition> ("right" in any case puts the values beside the
// picture, anything else below it), <width> and <height> (picture size in pixels; 0 or less: none)
// and <columns> (pictures per grid row; 0 counts as 1), the numbers read as LeadingWholeNumber
// does. Picture fields are those whose name begins with "FILE" in any case; their value is the
// picture's address. Writes a head line, one line per record and the closing "</table>".
void ShowThumbnails(RenderContext& context, Recordset* records, const std::string& title, long id,
                    const std::string& settingText);

}  // namespace kivdb
