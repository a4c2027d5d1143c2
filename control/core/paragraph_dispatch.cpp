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
using scheme::ParagraphType;

using Renderer = void (*)(RenderContext&, Recordset*, const ParagraphRow&);

struct Entry {
  ParagraphType type;
  Renderer render;
};

constexpr Entry kRenderers[] = {
    {ParagraphType::Chart,
     [](RenderContext& c, Recordset* r, const ParagraphRow& p) {
       ShowChart(c, r, p.Title(), p.Id(), p.Columns());
     }},
    {ParagraphType::Header,
     [](RenderContext& c, Recordset* r, const ParagraphRow& p) {
       ShowHeader(c, r, p.Title(), p.Id(), p.Form());
     }},
    {ParagraphType::ImageHeader,
     [](RenderContext& c, Recordset* r, const ParagraphRow& p) {
       ShowImageHeader(c, r, p.Title(), p.Id(), p.Form());
     }},
    {ParagraphType::MultiChapter,
     [](RenderContext& c, Recordset* r, const ParagraphRow& p) {
       ShowShaped(c, r, p.Title(), p.Id());
     }},
    {ParagraphType::ShowTable,
     [](RenderContext& c, Recordset* r, const ParagraphRow& p) {
       ShowTable(c, r, p.Title(), p.Id(), p.Columns());
     }},
    {ParagraphType::Thumbnails,
     [](RenderContext& c, Recordset* r, const ParagraphRow& p) {
       ShowThumbnails(c, r, p.Title(), p.Id(), p.Thumbnails());
     }},
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
  // One capital letter; E (execute only) has run with its read and writes nothing.
  if (type.size() != 1) return;
  const std::optional<ParagraphType> code = scheme::ParagraphTypeOf(type);
  if (!code) return;
  for (const Entry& entry : kRenderers) {
    if (entry.type == *code) {
      entry.render(context, records, paragraph);
      return;
    }
  }
}

}  // namespace kivdb
