#include "control/core/paragraph_dispatch.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <kivdb/error.h>
#include "control/data/recordset_access.h"
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/show_chart.h"
#include "control/render/show_image_header.h"
#include "control/render/show_shaped.h"
#include "control/render/show_thumbnails.h"
#include "control/render/table_writer.h"
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

// Keeps what a renderer of a recordset reads (the first record, or the values of some columns),
// then renders it as RenderParagraph would.
class KeptRecordsStream final : public ParagraphStream {
 public:
  KeptRecordsStream(std::string_view type, RenderContext& context, const ParagraphRow& paragraph,
                    bool firstOnly, std::string chartColumns)
      : type_(type),
        context_(context),
        paragraph_(paragraph),
        firstOnly_(firstOnly),
        chartColumns_(std::move(chartColumns)) {}

  bool Begin(const std::vector<FieldInfo>& fields) override {
    for (const FieldInfo& field : fields) records_.AppendField(field.name, field.type);
    if (!firstOnly_) {
      kept_ = ChartColumnsRead(chartColumns_, static_cast<int>(fields.size()));
      for (size_t i = 0; i < kept_.size(); ++i) {
        if (kept_[i]) keptFields_.push_back(i);
      }
    }
    return true;
  }
  // The chart reads only the columns it plots; the fields it does not keep need not be read.
  const std::vector<size_t>* FieldsNeeded() const override {
    return firstOnly_ ? nullptr : &keptFields_;
  }
  bool Row(const Variant* values, size_t count) override {
    Variant* cells = RecordsetAccess::AppendEmptyRow(records_);
    const size_t width = std::min(count, static_cast<size_t>(records_.FieldCount()));
    for (size_t i = 0; i < width; ++i) {
      if (firstOnly_ || kept_[i]) cells[i] = values[i];
    }
    return !firstOnly_;
  }
  bool Started() const override { return false; }
  void End(bool /*complete*/) override { RenderParagraph(type_, context_, &records_, paragraph_); }

 private:
  std::string type_;
  RenderContext& context_;
  const ParagraphRow& paragraph_;
  const bool firstOnly_;
  const std::string chartColumns_;
  std::vector<bool> kept_;
  std::vector<size_t> keptFields_;
  Recordset records_;
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

std::unique_ptr<ParagraphStream> StreamParagraph(std::string_view type, RenderContext& context,
                                                 const ParagraphRow& paragraph) {
  if (type.size() != 1) return nullptr;
  const std::optional<ParagraphType> code = scheme::ParagraphTypeOf(type);
  if (!code) return nullptr;
  // The arguments are read here, before the read; one that cannot be read leaves the paragraph
  // to RenderParagraph, which meets the same failure where it always has.
  try {
    switch (*code) {
      case ParagraphType::ShowTable:
        return std::make_unique<GuardedStream<TableWriter>>(context, paragraph.Title(),
                                                            paragraph.Id(), paragraph.Columns());
      case ParagraphType::Thumbnails:
        return std::make_unique<GuardedStream<ThumbnailWriter>>(
            context, paragraph.Title(), paragraph.Id(), paragraph.Thumbnails());
      case ParagraphType::Header:
      case ParagraphType::ImageHeader:
        return std::make_unique<KeptRecordsStream>(type, context, paragraph, true, "");
      case ParagraphType::Chart:
        return std::make_unique<KeptRecordsStream>(type, context, paragraph, false,
                                                   paragraph.Columns());
      default:
        return nullptr;
    }
  } catch (...) {
    return nullptr;
  }
}

}  // namespace kivdb
