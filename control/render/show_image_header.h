#pragma once
// ShowImageHeader, the renderer of image-header paragraphs (I): the header card of the first
// record with the pictures its "IMG" fields hold, written as files beside the report page.

#include <cstdint>
#include <string>

#include <kivdb/recordset.h>
#include "control/render/render_context.h"

namespace kivdb {

// Picture fields are those whose name begins with "IMG" in any case; each must hold binary data,
// which is written unchanged to the file "pic" + n in context.applicationFolder, n counting the
// pictures of the page from 1 (context.pictureCount), and shown in a cell spanning the card's
// rows. Every other field is a name and value row; the ID field links to form `form` when it is 1
// or more. Writes one line or none; a Null or non-binary picture or a file that cannot be written
// takes the error path (pictures written before stay on disk).
void ShowImageHeader(RenderContext& context, Recordset* records, const std::string& title, long id,
                     int16_t form);

// Whether a field of that name holds a picture: it begins with "IMG" in any case.
bool IsPictureFieldName(const std::string& name);

}  // namespace kivdb
