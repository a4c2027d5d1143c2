#pragma once
// ShowShaped and ShowChapter, the renderer of multi-chapter paragraphs (M): a shaped recordset as
// a table of parent records under which the tables of their chapters (fields of type 136 whose
// value is the child recordset of the record) are written hidden, level below level, with a plus
// icon per parent row and ids by which the page template unfolds them.

#include <cstdint>
#include <string>

#include <kivdb/recordset.h>
#include <kivdb/variant.h>
#include "control/render/render_context.h"

namespace kivdb {

// `records` is the paragraph's query result: one record whose first field holds the command of
// the shaped recordset (a count the provider does not know counts as one record; two or more are
// reported as "Improper Shape SQL: " + title). The command is read through context.readData into
// a recordset of the paragraph's own, which ShowChapter writes from level 1. Failures at any level
// end the paragraph on the error path; lines already written stay.
void ShowShaped(RenderContext& context, Recordset* records, const std::string& title, long id);

// Writes one level of a shaped recordset and, after each record's row, the chapters of that
// record (`span` + 1 is the colspan of the level's cell; `hidden` hides its box; `parentId` and
// `chapter` name its box and row ids). Every level needs an "ID" field. Throws on any failure:
// the paragraph's caller reports it. A chapter nested in itself, or a nesting deeper than the
// writer allows, fails with Error 28 "Out of stack space".
void ShowChapter(RenderContext& context, Recordset* records, int16_t span, int16_t level,
                 bool hidden, const Variant& parentId, int16_t chapter);

}  // namespace kivdb
