// ShowThumbnails: a grid of pictures named by the records, each with its record's values.

#include "control/render/show_thumbnails.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include <kivdb/error.h>
#include "base/html_escape.h"
#include "base/text.h"
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/paragraph_frame.h"
#include "control/render/paragraph_stream.h"
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

using GridSettings = ThumbnailWriter::GridSettings;

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

ThumbnailWriter::ThumbnailWriter(RenderContext& context, std::string title, long id,
                                 std::string settingText)
    : context_(context), title_(std::move(title)), id_(id), settingText_(std::move(settingText)) {}

bool ThumbnailWriter::Begin(const std::vector<FieldInfo>& fields) {
  fields_ = fields;
  return true;
}

void ThumbnailWriter::WriteHead() {
  settings_ = ReadGridSettings(context_, settingText_);
  std::string html;
  if (!title_.empty()) html += TitleLine(ApplyTitleRule(title_, context_.selectedCaption), id_);
  html += "<table id='TBL" + IdPicture(id_) + "' border=1 width=100%>";
  const int fieldCount = static_cast<int>(fields_.size());
  context_.page.WriteLine(html);

  columns_.assign(fields_.size(), Column());
  for (size_t i = 0; i < fields_.size(); ++i) {
    Column& column = columns_[i];
    column.role = IsFileFieldName(fields_[i].name) ? Role::Picture
                  : IsIdFieldName(fields_[i].name) ? Role::Id
                                                   : Role::Value;
    column.fieldClass = ClassOfType(fields_[i].type);
  }
  // The picture cell's opening up to its address, and what follows the address: the same for
  // every picture of the paragraph.
  pictureOpen_ = "<tr><td valign=top align=center ";
  if (settings_.valuesRight) pictureOpen_ += "% rowspan=" + std::to_string(fieldCount - 1);
  pictureOpen_ += "><IMG SRC='";
  pictureClose_ = "' ";
  if (settings_.width > 0) pictureClose_ += " width='" + std::to_string(settings_.width) + "' ";
  if (settings_.height > 0) pictureClose_ += " height='" + std::to_string(settings_.height) + "' ";
  pictureClose_ += "></td>";
  cellOpen_ = "<td valign=top width='" + std::to_string(RoundHalfEven(100.0 / settings_.columns)) +
              "%' ><table width=100% border=0>";
  started_ = true;
}

const std::vector<size_t>* ThumbnailWriter::FieldsNeeded() const {
  static const std::vector<size_t> kNone;
  return RowCap(context_.maxRows).Shows(rowsRead_) ? nullptr : &kNone;
}

bool ThumbnailWriter::Row(const Variant* values, size_t count) {
  if (!started_) WriteHead();
  const long index = rowsRead_++;
  // Rows past MaxRows are only counted, for the note under the grid.
  if (!RowCap(context_.maxRows).Shows(index)) return true;
  const size_t cells = std::min(count, columns_.size());
  line_.assign(index % settings_.columns == 0 ? "<tr>" : "");
  line_ += cellOpen_;
  for (size_t i = 0; i < cells; ++i) {
    if (columns_[i].role != Role::Picture) continue;
    line_ += pictureOpen_;
    // A script address is no picture: the cell shows none rather than name it.
    const std::string address = values[i].ToText();
    if (IsSafePictureAddress(address)) AppendHtmlEscaped(line_, address);
    line_ += pictureClose_;
  }
  for (size_t i = 0; i < cells; ++i) {
    const Column& column = columns_[i];
    if (column.role == Role::Picture) continue;
    if (column.role == Role::Value) {
      const std::string_view kind = KindToken(column.fieldClass);
      line_ += kind != kKindBlank ? "<td class=tdr>" : "<td class=tdl>";
      AppendFormattedValue(line_, values[i], kind, context_.dateFormat);
      line_ += "</td>";
    }
    line_ += "<tr>";
  }
  line_ += "</table>";
  context_.page.WriteLine(line_);
  return true;
}

void ThumbnailWriter::Finish() {
  if (!started_) {
    context_.Tell(BlankRecordsetMessage(title_));
    return;
  }
  context_.page.WriteLine("</table>");
  const std::string note = RowCap(context_.maxRows).Note(rowsRead_);
  if (!note.empty()) context_.page.WriteLine(note);
}

void ThumbnailWriter::Abort() {
  if (!started_) return;
  context_.page.WriteLine("</table>");
  context_.page.WriteLine(CutShortLine(rowsRead_));
}

void ShowThumbnails(RenderContext& context, Recordset* records, const std::string& title, long id,
                    const std::string& settingText) {
  RunParagraph(context, records, title, [&](const long count) {
    if (count < 0) {
      ReadGridSettings(context, settingText);  // its message is raised all the same
      return;
    }
    ThumbnailWriter grid(context, title, id, settingText);
    FeedRecordset(*records, grid);
    grid.Finish();
  });
}

}  // namespace kivdb
