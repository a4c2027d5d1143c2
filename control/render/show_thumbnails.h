#pragma once
// ShowThumbnails, the renderer of thumbnail paragraphs (T): the records as a grid of pictures
// named by their "FILE" fields, each with the record's other values, laid out by a short tagged
// setting text; and ReadSpecTag, which reads one tag of that text.

#include <string>
#include <vector>

#include <kivdb/recordset.h>
#include <kivdb/variant.h>
#include "control/data/row_sink.h"
#include "control/render/field_class.h"
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

// The T paragraph written as its records pass: the head at the first record, a grid cell per
// record while MaxRows lets it through, the closing line and the MaxRows note at the end; the
// records past the cap are only counted. ShowThumbnails and the page's forward-only read both
// drive it; its methods throw on failure as renderers do.
class ThumbnailWriter final : public RowSink {
 public:
  // The settings of one paragraph, read once.
  struct GridSettings {
    bool valuesRight = false;
    long width = 0;
    long height = 0;
    long columns = 1;
  };

  ThumbnailWriter(RenderContext& context, std::string title, long id, std::string settingText);

  bool Begin(const std::vector<FieldInfo>& fields) override;
  bool Row(const Variant* values, size_t count) override;
  // Rows past MaxRows are only counted: none of their fields is read.
  const std::vector<size_t>* FieldsNeeded() const override;
  bool Started() const { return started_; }
  // After the last record: the closing line and the MaxRows note, or "Blank Recordset: ".
  void Finish();
  // The read failed after `Started`: the grid is closed and marked as cut short.
  void Abort();

 private:
  enum class Role { Picture, Id, Value };
  struct Column {
    Role role = Role::Value;
    FieldClass fieldClass = FieldClass::Other;
  };
  void WriteHead();

  RenderContext& context_;
  const std::string title_;
  const long id_;
  const std::string settingText_;
  std::vector<FieldInfo> fields_;
  GridSettings settings_;
  std::vector<Column> columns_;
  std::string pictureOpen_;
  std::string pictureClose_;
  std::string cellOpen_;
  std::string line_;
  bool started_ = false;
  long rowsRead_ = 0;
};

}  // namespace kivdb
