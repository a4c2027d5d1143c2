#pragma once
// The renderer of each paragraph type, and the arguments each takes from its XST2 row. A type
// without a renderer (E, whose query is all it does, and any letter not listed) writes nothing
// after its query has run. A renderer of a new type joins with one line in the table.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <kivdb/recordset.h>
#include "control/core/scheme_tables.h"
#include "control/render/paragraph_stream.h"
#include "control/render/render_context.h"

namespace kivdb {

// One XST2 row as the renderers' arguments. Each is read only when its renderer asks for it, so
// a column that only another type uses cannot fail a paragraph.
class ParagraphRow {
 public:
  ParagraphRow(const SchemeTables& schemes, size_t row) : schemes_(schemes), row_(row) {}
  // titleIs as text, empty when Null.
  std::string Title() const;
  // The paragraph ID; Error 13 when it is no number.
  long Id() const;
  // formIs through IntegerOrZero: 0 when Null.
  int16_t Form() const;
  // colsAre through FormatValue with the blank kind: trimmed, "." when Null.
  std::string Columns() const;
  // colsAre as text, untrimmed, empty when Null.
  std::string Thumbnails() const;

 private:
  const SchemeTables& schemes_;
  size_t row_;
};

// `type` is the paragraph's typeIs in capitals.
void RenderParagraph(std::string_view type, RenderContext& context, Recordset* records,
                     const ParagraphRow& paragraph);

// The renderer of `type` as a forward-only reader: S and T write as the records pass, H and I keep
// the first record only, C only the columns it plots; each then writes what RenderParagraph writes
// for the same records. Null for the types rendered from a recordset read whole (M, whose chapters
// relate several reads, and the types that write nothing).
std::unique_ptr<ParagraphStream> StreamParagraph(std::string_view type, RenderContext& context,
                                                 const ParagraphRow& paragraph);

}  // namespace kivdb
