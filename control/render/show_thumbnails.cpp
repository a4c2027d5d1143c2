// ShowThumbnails: a grid of pictures named by the records, each with its record's values.

#include "control/render/show_thumbnails.h"

#include <cctype>
#include <vector>

#include <kivdb/error.h>
#include "control/data/text.h"
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/html_escape.h"
#include "control/render/paragraph_frame.h"
#include "control/render/row_cap.h"
#include "control/render/whole_number.h"

namespace kivdb {
namespace {

constexpr const char* kSettingTextError = "Error is Specification XML String";

bool IsFileFieldName(const std::string& name) {
  static constexpr char kPrefix[] = "FILE";
  if (name.size() < 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    if (std::toupper(static_cast<unsigned char>(name[i])) != kPrefix[i]) return false;
  }
  return true;
}

// The settings of one paragraph, read once.
struct GridSettings {
  bool valuesRight = false;
  long width = 0;
  long height = 0;
  long columns = 1;
};

GridSettings ReadGridSettings(const RenderContext& context, const std::string& settingText) {
  GridSettings settings;
  settings.valuesRight =
      text::Lower(ReadSpecTag(context, settingText, "<textposition>").ToText()) == "right";
  settings.width = LeadingWholeNumber(ReadSpecTag(context, settingText, "<width>").ToText());
  settings.height = LeadingWholeNumber(ReadSpecTag(context, settingText, "<height>").ToText());
  settings.columns = LeadingWholeNumber(ReadSpecTag(context, settingText, "<columns>").ToText());
  if (settings.columns == 0) settings.columns = 1;
  return settings;
}

enum class Role { Picture, Id, Value };

struct Column {
  Role role = Role::Value;
  FieldClass fieldClass = FieldClass::Other;
};

}  // namespace

Variant ReadSpecTag(const RenderContext& context, const std::string& settingText,
                    const std::string& tag) {
  const size_t open = settingText.find(tag);
  if (open == std::string::npos) return Variant(std::string());
  const std::string closing = "</" + (tag.empty() ? std::string() : tag.substr(1));
  const size_t start = open + tag.size();
  const size_t close = settingText.find(closing);
  if (close == std::string::npos || close < start) {
    // Reported whatever Talking is: the setting text is the designer's mistake, not the data's.
    if (context.message) {
      try {
        context.message(kSettingTextError);
      } catch (...) {
        // A host's handler that throws must not break the paragraph.
      }
    }
    return Variant();
  }
  return Variant(settingText.substr(start, close - start));
}

void ShowThumbnails(RenderContext& context, Recordset* records, const std::string& title, long id,
                    const std::string& settingText) {
  RunParagraph(context, records, title, [&](const long count) {
    const GridSettings settings = ReadGridSettings(context, settingText);
    if (count < 0) return;

    std::string html;
    if (!title.empty()) html += TitleLine(ApplyTitleRule(title, context.selectedCaption), id);
    html += "<table id='TBL" + IdPicture(id) + "' border=1 width=100%>";
    const int fieldCount = records->FieldCount();
    records->MoveFirst();
    context.page.WriteLine(html);

    std::vector<Column> columns(static_cast<size_t>(fieldCount));
    for (int i = 0; i < fieldCount; ++i) {
      const Field field = records->Fields(i);
      Column& column = columns[static_cast<size_t>(i)];
      column.role = IsFileFieldName(field.Name()) ? Role::Picture
                    : IsIdFieldName(field.Name()) ? Role::Id
                                                  : Role::Value;
      column.fieldClass = ClassOfType(field.Type());
    }
    // The picture cell's opening up to its address, and what follows the address: the same for
    // every picture of the paragraph.
    std::string pictureOpen = "<tr><td valign=top align=center ";
    if (settings.valuesRight) pictureOpen += "% rowspan=" + std::to_string(fieldCount - 1);
    pictureOpen += "><IMG SRC='";
    std::string pictureClose = "' ";
    if (settings.width > 0) pictureClose += " width='" + std::to_string(settings.width) + "' ";
    if (settings.height > 0) pictureClose += " height='" + std::to_string(settings.height) + "' ";
    pictureClose += "></td>";
    const std::string cellOpen = "<td valign=top width='" +
                                 std::to_string(RoundHalfEven(100.0 / settings.columns)) +
                                 "%' ><table width=100% border=0>";

    std::string line;
    const RowCap cap(context.maxRows);
    long index = 0;
    for (; !records->Eof() && cap.Shows(index); records->MoveNext(), ++index) {
      line.assign(index % settings.columns == 0 ? "<tr>" : "");
      line += cellOpen;
      for (int i = 0; i < fieldCount; ++i) {
        if (columns[static_cast<size_t>(i)].role != Role::Picture) continue;
        line += pictureOpen;
        // A script address is no picture: the cell shows none rather than name it.
        const std::string address = records->Value(i).ToText();
        if (IsSafePictureAddress(address)) AppendHtmlEscaped(line, address);
        line += pictureClose;
      }
      for (int i = 0; i < fieldCount; ++i) {
        const Column& column = columns[static_cast<size_t>(i)];
        if (column.role == Role::Picture) continue;
        if (column.role == Role::Value) {
          const std::string_view kind = KindToken(column.fieldClass);
          line += kind != kKindBlank ? "<td class=tdr>" : "<td class=tdl>";
          AppendFormattedValue(line, records->Value(i), kind, context.dateFormat);
          line += "</td>";
        }
        line += "<tr>";
      }
      line += "</table>";
      context.page.WriteLine(line);
    }
    context.page.WriteLine("</table>");
    if (const std::string note = cap.Note(count); !note.empty()) context.page.WriteLine(note);
  });
}

}  // namespace kivdb
