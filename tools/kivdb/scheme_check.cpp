#include "tools/kivdb/scheme_check.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <ctime>
#include <memory>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include <kivdb/command_syntax.h>
#include "base/text.h"
#include "scheme/scheme_codes.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/tree_walk.h"

namespace kivdb::schemes {
namespace {

using kivwz::clsNavScheme;
using kivwz::clsWebScheme;
using kivwz::Long;
using scheme::NodeType;
using scheme::ParagraphType;
using scheme::ParamKind;

// The image keys the host's default pictures draw (the Qt tree adapter's set).
constexpr std::array<std::string_view, 17> kDefaultIcons = {
    "group",  "folder", "Net", "globe", "map",   "shop",  "order", "book", "people",
    "person", "box",    "tag", "lock",  "money", "truck", "chart", "leaf"};

// What a parameter reads of the tree node the user selected.
struct Sample {
  std::string caption;
  std::string key;
};

std::string Quoted(std::string_view text) {
  std::string out = " '";
  for (const char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

// A key as the tree writes it: a number in 10 digits (leading zeros), any other value as text.
std::string KeyText(const Variant& value, char suffix) {
  std::string key;
  if (const std::optional<double> number = value.IsNumber() ? value.ToDouble() : std::nullopt) {
    const long long whole = std::llround(*number);
    std::string digits = std::to_string(whole < 0 ? -whole : whole);
    if (digits.size() < 10) digits.insert(0, 10 - digits.size(), '0');
    key = (whole < 0 ? "-" : "") + digits;
  } else {
    key = value.ToText();
  }
  return key + suffix;
}

std::string TodayText() {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::snprintf(text, sizeof text, "%02d %s %04d", local.tm_mday, kMonths[local.tm_mon],
                local.tm_year + 1900);
  return text;
}

// The parameter the control would append for this kind and selected node.
std::string Parameter(std::string_view kind, const Sample& selected) {
  const scheme::ParamSpec spec = scheme::ParseParamKind(kind);
  switch (spec.kind) {
    case ParamKind::Text:
      return Quoted(selected.caption);
    case ParamKind::Today:
      return Quoted(TodayText());
    case ParamKind::LKey: {
      const std::string digits = selected.key.substr(0, 10);
      long value = 0;
      const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
      return ec == std::errc() ? " " + std::to_string(value) : std::string();
    }
    case ParamKind::CKey:
      return Quoted(selected.key.substr(0, static_cast<std::size_t>(spec.keyLength)));
    case ParamKind::None:
      break;
  }
  return " ";
}

bool StartsWithNoCase(const std::string& name, std::string_view prefix) {
  return name.size() >= prefix.size() && text::EqualsNoCase(name.substr(0, prefix.size()), prefix);
}

bool HasFieldStarting(Recordset& records, std::string_view prefix) {
  for (int i = 0; i < records.FieldCount(); ++i) {
    if (StartsWithNoCase(records.Fields(i).Name(), prefix)) return true;
  }
  return false;
}

std::optional<int> WholeNumber(std::string_view text) {
  text = text::Trim(text);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> SplitColons(std::string_view text) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (true) {
    const std::size_t colon = text.find(':', start);
    pieces.push_back(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
    if (colon == std::string_view::npos) return pieces;
    start = colon + 1;
  }
}

// The role list admits the role: empty, or one of its pieces is that number.
bool RoleMayOpen(const std::string& roles, int role) {
  if (text::Trim(roles).empty()) return true;
  for (std::string_view piece : SplitColons(roles)) {
    if (WholeNumber(piece) == role) return true;
  }
  return false;
}

class Checker {
 public:
  Checker(DAL& dal, const CheckOptions& options) : dal_(dal), options_(options) {}

  std::vector<Finding> Run(const kivwz::clsNavSchemes& navs) {
    std::unordered_map<Long, std::vector<const clsWebScheme*>> paragraphs;
    for (const auto& paragraph : navs.oWebs) paragraphs[paragraph->XST1].push_back(paragraph.get());
    for (auto& [node, list] : paragraphs) {
      std::stable_sort(list.begin(), list.end(), [](const clsWebScheme* a, const clsWebScheme* b) {
        return a->seqNo < b->seqNo;
      });
    }
    const kivwz::ChildIndex index(navs.NewEnum());
    std::unordered_map<Long, Sample> rowSample;  // what a query-made child of the node reads
    std::unordered_set<Long> closed;             // nodes the role may not open, and below them
    for (const kivwz::TreeStep& step : kivwz::PreOrder(index)) {
      const clsNavScheme& node = *step.node;
      if (step.parent && closed.count(step.parent->ID())) {
        closed.insert(node.ID());
        continue;
      }
      CheckRoles(node);
      if (options_.role && !RoleMayOpen(node.roleIs, *options_.role)) {
        closed.insert(node.ID());
        continue;
      }
      Sample selected{node.descriptionIs, KeyText(Variant(static_cast<int32_t>(node.ID())), 'F')};
      if (step.parent) {
        const auto made = rowSample.find(step.parent->ID());
        if (made != rowSample.end()) selected = made->second;
      }
      CheckIcon(node);
      CheckNodeQuery(node, selected, rowSample);
      const auto found = paragraphs.find(node.ID());
      if (found == paragraphs.end()) continue;
      for (const clsWebScheme* paragraph : found->second)
        CheckParagraph(node, *paragraph, selected);
    }
    return std::move(findings_);
  }

 private:
  void Add(const clsNavScheme& node, const clsWebScheme* paragraph, bool warning,
           std::string message) {
    Finding finding;
    finding.warning = warning;
    finding.table = paragraph ? "XST2" : "XST1";
    finding.row = paragraph ? paragraph->ID() : node.ID();
    finding.caption = node.descriptionIs;
    if (paragraph) finding.title = paragraph->titleIs;
    finding.message = std::move(message);
    findings_.push_back(std::move(finding));
  }

  void CheckRoles(const clsNavScheme& node) {
    if (text::Trim(node.roleIs).empty()) return;
    for (std::string_view piece : SplitColons(node.roleIs)) {
      if (!WholeNumber(piece)) {
        Add(node, nullptr, false,
            "the role list '" + node.roleIs + "' does not parse: '" + std::string(piece) +
                "' is no role number");
        return;
      }
    }
  }

  void CheckIcon(const clsNavScheme& node) {
    if (node.iconIs.empty()) return;
    if (std::find(kDefaultIcons.begin(), kDefaultIcons.end(), node.iconIs) != kDefaultIcons.end())
      return;
    Add(node, nullptr, true,
        "the icon key '" + node.iconIs + "' is not one of the host's default pictures");
  }

  void CheckNodeQuery(const clsNavScheme& node, const Sample& selected,
                      std::unordered_map<Long, Sample>& rowSample) {
    const std::optional<NodeType> type = scheme::NodeTypeOf(node.typeIs());
    if (type != NodeType::Generating && type != NodeType::Recurring) return;
    std::shared_ptr<Recordset> records;
    if (!Exists(node, nullptr, node.queryIs())) return;
    if (!TrialRun(node, nullptr, "EXEC " + node.queryIs() + Parameter(node.parmIs(), selected),
                  records)) {
      return;
    }
    if (records->FieldCount() < 2) {
      Add(node, nullptr, false,
          "the query " + node.queryIs() + " returns " + std::to_string(records->FieldCount()) +
              " field(s); a " + std::string(scheme::NameOf(*type)) +
              " node needs at least two (the key and the caption)");
      return;
    }
    records->MoveFirst();
    if (records->Eof()) return;  // the children are tried with the node's own sample
    rowSample[node.ID()] = Sample{records->Value(1).ToText(), KeyText(records->Value(0), 'G')};
  }

  void CheckParagraph(const clsNavScheme& node, const clsWebScheme& paragraph,
                      const Sample& selected) {
    const std::optional<ParagraphType> type = scheme::ParagraphTypeOf(paragraph.typeIs);
    if (!type) return;  // the scheme's own analysis reports an unknown type
    if (!Exists(node, &paragraph, paragraph.queryIs)) return;
    if (type == ParagraphType::ExecuteOnly) return;  // it writes: looked up, never run
    std::shared_ptr<Recordset> records;
    if (!TrialRun(node, &paragraph,
                  "EXEC " + paragraph.queryIs + Parameter(paragraph.parmIs, selected), records)) {
      return;
    }
    if (type == ParagraphType::MultiChapter && !Shaped(node, paragraph, records)) return;
    const int fields = records->FieldCount();
    if (fields == 0 || !text::EqualsNoCase(records->Fields(0).Name(), "ID")) {
      Add(node, &paragraph, true,
          "the first field of " + paragraph.queryIs + " is not ID, so its rows link to nothing");
    }
    switch (*type) {
      case ParagraphType::Chart:
        CheckChartColumns(node, paragraph, fields);
        break;
      case ParagraphType::ShowTable:
        CheckTotalColumns(node, paragraph, fields);
        break;
      case ParagraphType::ImageHeader:
        if (!HasFieldStarting(*records, "IMG")) {
          Add(node, &paragraph, false, paragraph.queryIs + " returns no IMG field for the picture");
        }
        break;
      case ParagraphType::Thumbnails:
        if (!HasFieldStarting(*records, "FILE")) {
          Add(node, &paragraph, false,
              paragraph.queryIs + " returns no FILE field naming the pictures");
        }
        break;
      default:
        break;
    }
  }

  // An M paragraph's query returns the SHAPE command in its first field; it must parse and run.
  bool Shaped(const clsNavScheme& node, const clsWebScheme& paragraph,
              std::shared_ptr<Recordset>& records) {
    records->MoveFirst();
    if (records->FieldCount() == 0 || records->Eof()) {
      Add(node, &paragraph, false, paragraph.queryIs + " returns no SHAPE command");
      return false;
    }
    const std::string command = records->Value(0).ToText();
    std::string why;
    if (!CheckShapeCommand(command, why)) {
      Add(node, &paragraph, false,
          "the SHAPE command of " + paragraph.queryIs + " does not parse: " + why);
      return false;
    }
    std::shared_ptr<Recordset> shaped;
    if (!TrialRun(node, &paragraph, command, shaped)) return false;
    records = std::move(shaped);
    return true;
  }

  void CheckChartColumns(const clsNavScheme& node, const clsWebScheme& paragraph, int fields) {
    const std::string_view cols = text::TrimSpaces(paragraph.colsAre);
    if (text::EqualsNoCase(cols, "All")) {
      if (fields < 3) {
        Add(node, &paragraph, false,
            "'All' charts need at least three fields; " + paragraph.queryIs + " returns " +
                std::to_string(fields));
      }
      return;
    }
    const std::vector<std::string_view> pair = SplitColons(cols);
    const std::optional<int> x = WholeNumber(pair[0]);
    const std::optional<int> y = pair.size() > 1 ? WholeNumber(pair[1]) : std::nullopt;
    if (!x || !y || *x < 0 || *y < 0 || *x >= fields || *y >= fields) {
      Add(node, &paragraph, false,
          "the chart's axis pair '" + paragraph.colsAre + "' is not two field positions below " +
              std::to_string(fields));
    }
  }

  void CheckTotalColumns(const clsNavScheme& node, const clsWebScheme& paragraph, int fields) {
    const std::string_view cols = text::TrimSpaces(paragraph.colsAre);
    if (cols.empty() || cols == "." || text::EqualsNoCase(cols, "All")) return;
    for (std::string_view entry : SplitColons(cols)) {
      const std::optional<int> position = WholeNumber(entry);
      if (!position || *position < 0 || *position >= fields) {
        Add(node, &paragraph, false,
            "the total column '" + std::string(entry) + "' is not a field position below " +
                std::to_string(fields));
        return;
      }
    }
  }

  // Looks the query up in the catalogue where the database has one the check can read; the trial
  // run finds the rest. False, after the finding, when it is known to be missing.
  bool Exists(const clsNavScheme& node, const clsWebScheme* paragraph, const std::string& queryIs) {
    std::string why;
    const std::optional<ExecCommand> command = ParseExecCommand("EXEC " + queryIs, why);
    if (!command) {
      Add(node, paragraph, false, "the query '" + queryIs + "' does not parse: " + why);
      return false;
    }
    const std::string name = text::Lower(command->name);
    auto known = exists_.find(name);
    if (known == exists_.end()) known = exists_.emplace(name, LookUp(command->name)).first;
    if (known->second == false) {
      Add(node, paragraph, false, "the query " + command->name + " does not exist");
      return false;
    }
    return true;
  }

  // True or false when the catalogue answers; nothing when it cannot be asked.
  std::optional<bool> LookUp(const std::string& name) {
    std::string literal = "'";
    for (const char c : name) {
      if (c == '\'') literal += '\'';
      literal += c;
    }
    literal += "'";
    std::vector<std::string> queries;
    switch (options_.dialect) {
      case Dialect::Sqlite:
        queries = {
            "SELECT count(*) FROM sqlite_master WHERE type IN ('table', 'view') AND "
            "lower(name) = lower(" +
            literal + ")"};
        if (HasSavedQueries()) {
          queries.push_back("SELECT count(*) FROM XSP WHERE nameIs = " + literal);
        }
        break;
      case Dialect::Postgres:
        queries = {"SELECT count(*) FROM pg_catalog.pg_proc WHERE proname = lower(" + literal +
                   ") AND pg_catalog.pg_function_is_visible(oid)"};
        break;
      case Dialect::Plain:
        return std::nullopt;
    }
    for (const std::string& query : queries) {
      const Variant count = dal_.ReadValue(query);
      const std::optional<double> number = count.ToDouble();
      if (!number) return std::nullopt;
      if (*number > 0) return true;
    }
    return false;
  }

  bool HasSavedQueries() {
    const Variant count =
        dal_.ReadValue("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'XSP'");
    return count.ToDouble().value_or(0) > 0;
  }

  // Runs a command inside a transaction that is rolled back, so a query that writes leaves
  // nothing behind.
  bool TrialRun(const clsNavScheme& node, const clsWebScheme* paragraph, const std::string& command,
                std::shared_ptr<Recordset>& records) {
    bool ok = dal_.TransBegin();
    if (ok) ok = dal_.ReadRecordset(command, records) && records;
    const std::string why = dal_.LastError();
    dal_.TransRollback();
    if (!ok) Add(node, paragraph, false, "'" + command + "' fails: " + why);
    return ok;
  }

  DAL& dal_;
  const CheckOptions& options_;
  std::vector<Finding> findings_;
  std::unordered_map<std::string, std::optional<bool>> exists_;
};

std::string JsonText(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace

std::vector<Finding> CheckSchemes(DAL& dal, const kivwz::clsNavSchemes& navs,
                                  const CheckOptions& options) {
  return Checker(dal, options).Run(navs);
}

std::string FindingLine(const Finding& finding) {
  std::string line =
      finding.table + " row " + std::to_string(finding.row) + ", node '" + finding.caption + "'";
  if (finding.table == "XST2") line += ", paragraph '" + finding.title + "'";
  line += finding.warning ? ": warning: " : ": error: ";
  return line + finding.message;
}

std::string FindingsJson(const std::vector<Finding>& findings) {
  std::string out = "[";
  for (const Finding& f : findings) {
    if (out.size() > 1) out += ",";
    out += "\n  {\"severity\": " + JsonText(f.warning ? "warning" : "error") +
           ", \"table\": " + JsonText(f.table) + ", \"row\": " + std::to_string(f.row) +
           ", \"node\": " + JsonText(f.caption) + ", \"paragraph\": " + JsonText(f.title) +
           ", \"message\": " + JsonText(f.message) + "}";
  }
  return out + (findings.empty() ? "]\n" : "\n]\n");
}

}  // namespace kivdb::schemes
