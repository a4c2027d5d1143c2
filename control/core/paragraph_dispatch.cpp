#include "control/core/paragraph_dispatch.h"

#include <cmath>

#include <kivdb/error.h>
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/show_chart.h"
#include "control/render/show_image_header.h"
#include "control/render/show_shaped.h"
#include "control/render/show_thumbnails.h"
#include "scheme/scheme_codes.h"

namespace kivdb {
namespace {

namespace web = scheme::web;

using Renderer = void (*)(RenderContext&, Recordset*, const ParagraphRow&);

struct Entry {
  char type;
  Renderer render;
};

constexpr Entry kRenderers[] = {
    {'C', [](RenderContext& c, Recordset* r,
             const ParagraphRow& p) { ShowChart(c, r, p.Title(), p.Id(), p.Columns()); }},
    {'H', [](RenderContext& c, Recordset* r,
             const ParagraphRow& p) { ShowHeader(c, r, p.Title(), p.Id(), p.Form()); }},
    {'I', [](RenderContext& c, Recordset* r,
             const ParagraphRow& p) { ShowImageHeader(c, r, p.Title(), p.Id(), p.Form()); }},
    {'M', [](RenderContext& c, Recordset* r,
             const ParagraphRow& p) { ShowShaped(c, r, p.Title(), p.Id()); }},
    {'S', [](RenderContext& c, Recordset* r,
             const ParagraphRow& p) { ShowTable(c, r, p.Title(), p.Id(), p.Columns()); }},
    {'T', [](RenderContext& c, Recordset* r,
             const ParagraphRow& p) { ShowThumbnails(c, r, p.Title(), p.Id(), p.Thumbnails()); }},
};

}  // namespace

std::string ParagraphRow::Title() const {
  return schemes_.Web(web::titleIs, row_).ToText();
}

long ParagraphRow::Id() const {
  const std::optional<double> id = schemes_.Web(web::ID, row_).ToDouble();
  if (!id || !(std::fabs(*id) < 2147483648.0)) throw Error(err::kTypeMismatch, "Type mismatch");
  return static_cast<long>(std::nearbyint(*id));
}

int16_t ParagraphRow::Form() const {
  return IntegerOrZero(schemes_.Web(web::formIs, row_));
}

std::string ParagraphRow::Columns() const {
  return FormatValue(schemes_.Web(web::colsAre, row_), kKindBlank);
}

std::string ParagraphRow::Thumbnails() const {
  return schemes_.Web(web::colsAre, row_).ToText();
}

void RenderParagraph(std::string_view type, RenderContext& context, Recordset* records,
                     const ParagraphRow& paragraph) {
  if (type.size() != 1) return;
  for (const Entry& entry : kRenderers) {
    if (entry.type == type[0]) {
      entry.render(context, records, paragraph);
      return;
    }
  }
}

}  // namespace kivdb
