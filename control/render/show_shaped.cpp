// ShowShaped and ShowChapter: a shaped recordset as nested tables that unfold by level.

#include "control/render/show_shaped.h"

#include <algorithm>
#include <vector>

#include <kivdb/error.h>
#include "base/html_escape.h"
#include "control/data/keeping_sink.h"
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/paragraph_frame.h"
#include "control/render/row_cap.h"

namespace kivdb {
namespace {

constexpr long kOutOfStackSpace = 28;
// Deeper than any shaping command nests; keeps a hand-built recordset from exhausting the stack.
constexpr int kDeepestLevel = 1000;

constexpr const char* kLevelColours[10] = {"fa8072", "90ee90", "ffffcc", "5f9ea0", "b0e0e6",
                                           "00ffff", "deb887", "8fbc8b", "d2b48c", "bc8f8f"};

// The "00" picture: at least two digits.
std::string TwoDigits(int number) {
  std::string text = std::to_string(number < 0 ? -static_cast<long>(number) : number);
  if (text.size() < 2) text.insert(0, 2 - text.size(), '0');
  return number < 0 ? "-" + text : text;
}

// A record ID as it is written into an id attribute without quotes: escaped, and with the
// characters that would end such an attribute (blanks, "=", "`") written as references.
void AppendIdText(std::string& out, const Variant& idValue) {
  const std::string escaped = HtmlEscape(idValue.ToText());
  for (const char c : escaped) {
    switch (c) {
      case ' ':
      case '\t':
      case '\n':
      case '\r':
      case '\f':
      case '=':
      case '`':
        out += "&#" + std::to_string(static_cast<int>(c)) + ";";
        break;
      default:
        out += c;
    }
  }
}

int16_t ToInt16(long value) {
  if (value < -32768 || value > 32767) throw Error(err::kOverflow, "Overflow");
  return static_cast<int16_t>(value);
}

// The recordsets of the levels being written, outermost first: a chapter that is one of them
// would be written without end.
class LevelPath {
 public:
  explicit LevelPath(std::vector<const Recordset*>& path, const Recordset* records) : path_(path) {
    if (std::find(path.begin(), path.end(), records) != path.end() ||
        path.size() >= kDeepestLevel) {
      throw Error(kOutOfStackSpace, "Out of stack space");
    }
    path.push_back(records);
  }
  ~LevelPath() { path_.pop_back(); }
  LevelPath(const LevelPath&) = delete;
  LevelPath& operator=(const LevelPath&) = delete;

 private:
  std::vector<const Recordset*>& path_;
};

struct Column {
  bool shown = false;    // neither a chapter nor the ID
  bool chapter = false;  // type 136
  FieldClass fieldClass = FieldClass::Other;
};

// `total` is the number of records the level's read returned, when `records` holds only the
// first of them (negative: `records` holds them all).
void WriteLevel(RenderContext& context, Recordset* records, int16_t span, int16_t level,
                bool hidden, const Variant& parentId, int16_t chapter,
                std::vector<const Recordset*>& path, long total = -1) {
  if (records == nullptr) {
    throw Error(err::kObjectNotSet, "Object variable or With block variable not set");
  }
  if (records->RecordCount() == 0) return;
  const LevelPath onPath(path, records);

  std::string boxId = TwoDigits(chapter) + "SHP" + TwoDigits(level);
  std::string rowId = TwoDigits(chapter) + "ROW" + TwoDigits(level);
  AppendIdText(boxId, parentId);
  AppendIdText(rowId, parentId);
  const std::string colspan = std::to_string(span + 1);

  std::string line;
  if (level == 1) {
    line = "<td colspan=" + colspan + ">";
  } else {
    line =
        "<tr id=" + rowId + " style=\"display:none\"><td>&nbsp;</td><td colspan=" + colspan + ">";
  }
  line +=
      "<div id=" + boxId + (hidden ? " style=\"display:none\">" : " style=\"display:default\">");
  line += "<table border=" + std::to_string(level) + " cellspacing=0 width=100%>";

  records->MoveFirst();
  const int fieldCount = records->FieldCount();
  std::vector<Column> columns(static_cast<size_t>(fieldCount));
  std::vector<int> chapterFields;
  for (int i = 0; i < fieldCount; ++i) {
    const Field field = records->Fields(i);
    Column& column = columns[static_cast<size_t>(i)];
    column.chapter = field.Type() == type::kChapter;
    column.shown = !column.chapter && !IsIdFieldName(field.Name());
    column.fieldClass = ClassOfType(field.Type());
    if (column.chapter) chapterFields.push_back(i);
  }
  const bool hasChapters = !chapterFields.empty();
  const char* colour = kLevelColours[((level - 1) % 10 + 10) % 10];
  line += hasChapters ? "<tr><td width=5%>&nbsp;</td>" : "<tr>";
  for (int i = 0; i < fieldCount; ++i) {
    if (!columns[static_cast<size_t>(i)].shown) continue;
    line += "<td class=thc bgcolor=#";
    line += colour;
    line += ">";
    AppendHtmlEscaped(line, records->Fields(i).Name());
    line += "</td>";
  }
  context.page.WriteLine(line);

  const int16_t childSpan = ToInt16(static_cast<long>(fieldCount) + 1);
  const int16_t childLevel = ToInt16(static_cast<long>(level) + 1);
  const std::string plusOpen = "<tr><td width=5%><img id=DTL" + TwoDigits(childLevel);
  const int idField = records->FieldIndex("ID");
  // MaxRows counts the parent rows only: a shown parent shows all its children.
  const RowCap cap(level == 1 ? context.maxRows : 0);
  for (long index = 0; !records->Eof() && cap.Shows(index); records->MoveNext(), ++index) {
    // A level without an ID field fails here, at its first record, as the lookup by name does.
    const Variant idValue = idField >= 0 ? records->Value(idField) : records->Fields("ID").Value();
    if (hasChapters) {
      line = plusOpen;
      AppendIdText(line, idValue);
      line += " src=plus.gif></td>";
    } else {
      line = "<tr>";
    }
    for (int i = 0; i < fieldCount; ++i) {
      const Column& column = columns[static_cast<size_t>(i)];
      if (!column.shown) continue;
      switch (column.fieldClass) {
        case FieldClass::Integer:
        case FieldClass::Decimal:
        case FieldClass::Date:
          line += "<td class=tdr>";
          AppendFormattedValue(line, records->Value(i), KindToken(column.fieldClass),
                               context.dateFormat);
          break;
        default:  // long text too: no links in these tables
          line += "<td class=tdl>";
          AppendFormattedValue(line, records->Value(i), kKindBlank, context.dateFormat);
      }
      line += "</td>";
    }
    context.page.WriteLine(line);

    int16_t number = 0;
    for (const int i : chapterFields) {
      ++number;
      const std::shared_ptr<Recordset> child = records->Value(i).AsChapter();
      WriteLevel(context, child.get(), childSpan, childLevel, true, idValue, number, path);
    }
  }
  context.page.WriteLine("</table></div>");
  if (const std::string note = cap.Note(total >= 0 ? total : records->RecordCount()); !note.empty())
    context.page.WriteLine(note);
}

}  // namespace

void ShowChapter(RenderContext& context, Recordset* records, int16_t span, int16_t level,
                 bool hidden, const Variant& parentId, int16_t chapter) {
  std::vector<const Recordset*> path;
  WriteLevel(context, records, span, level, hidden, parentId, chapter, path);
}

void ShowShaped(RenderContext& context, Recordset* records, const std::string& title, long id) {
  RunParagraph(context, records, title, [&](const long count) {
    if (count > 1) {
      context.Tell("Improper Shape SQL: " + title);
      return;
    }
    records->MoveFirst();
    const std::string command = records->Fields(0).Value().ToText();
    if (!context.readData && !context.readForward) {
      throw Error(err::kObjectNotSet, "Object variable or With block variable not set");
    }
    std::shared_ptr<Recordset> shaped;
    long total = -1;
    if (context.readForward) {
      // Only the parent records MaxRows lets through are kept, with their chapters; the others
      // are counted for the note under the table.
      shaped = std::make_shared<Recordset>();
      KeepingSink keeping(*shaped, context.maxRows);
      if (!context.readForward(command, keeping)) {
        context.Tell("Error Reading Data From Database");
        return;
      }
      total = keeping.Count();
    } else if (!context.readData(command, shaped)) {
      context.Tell("Error Reading Data From Database");
      return;
    }
    if (shaped == nullptr) {
      throw Error(err::kObjectNotSet, "Object variable or With block variable not set");
    }
    if (shaped->RecordCount() <= 0) return;

    std::string html;
    const std::string paragraphId = IdPicture(id);
    if (!title.empty()) {
      html += " <table border=0 Width=100%><tr><td><p id='TTL" + paragraphId +
              "' class=ph><img src='circle.gif'>" + ApplyTitleRule(title, context.selectedCaption) +
              "</td><td><p align=right id=DISPALL class=ph>Display All</td></table>";
    }
    shaped->MoveFirst();
    html += "<table id='TBL" + paragraphId + "' border=0 width=100%><tr>";
    context.page.WriteLine(html);
    std::vector<const Recordset*> path;
    WriteLevel(context, shaped.get(), 0, 1, false, Variant(int16_t{0}), 1, path, total);
  });
}

}  // namespace kivdb
