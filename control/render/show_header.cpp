// ShowHeader: the header card of a report page, the first record as rows of name and value.

#include <kivdb/error.h>
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/paragraph_frame.h"
#include "control/render/render_context.h"

namespace kivdb {

void ShowHeader(RenderContext& context, Recordset* records, const std::string& title, long id,
                int16_t form) {
  RunParagraph(context, records, title, [&](const long count) {
    if (count < 0) return;

    std::string html;
    if (!title.empty()) html += TitleLine(ApplyTitleRule(title, context.selectedCaption), id);
    html += "<table id='TBL" + IdPicture(id) + "' border=1 width=100%>";
    records->MoveFirst();
    const int fieldCount = records->FieldCount();
    for (int i = 0; i < fieldCount; ++i) {
      const Field field = records->Fields(i);
      html += "<tr><td class=hn>";
      AppendFormattedValue(html, Variant(field.Name()), kKindBlank, context.dateFormat);
      html += ": </td>";
      if (form >= 1 && IsIdFieldName(field.Name())) {
        html += "<td class=hvr><a href='" + FormLink(form, field.Value()) +
                "'>Click here . . .</a></td>";
        continue;
      }
      // Numbers, dates and long text (the classes with a kind token) stand on the right.
      const std::string_view kind = KindToken(ClassOfType(field.Type()));
      html += kind != kKindBlank ? "<td class=hvr>" : "<td class=hvl>";
      AppendFormattedValue(html, field.Value(), kind, context.dateFormat);
      html += "</td>";
    }
    html += "</table><br>";
    context.page.WriteLine(html);
  });
}

}  // namespace kivdb
