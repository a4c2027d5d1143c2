#include "tests/hostile/hostile_site.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "tests/control/core/control_harness.h"
#include "tests/control/data/postgres_edition.h"

namespace kivdb::testing {
namespace {

namespace fs = std::filesystem;
using fixture::kNull;
using testing_support::Engine;

// About 1 MB of markup that would run the sentinel once per copy.
std::string Megabyte() {
  const std::string piece = "<img src=x onerror=kivdbhit('big')>";
  std::string text;
  while (text.size() < (1u << 20)) text += piece;
  return text;
}

// The text as an SQL expression of `engine`: SQLite takes the exact bytes from a blob literal (so
// NUL bytes and invalid UTF-8 go in unchanged); PostgreSQL takes a quoted literal, and builds the
// long text on the server, which keeps the statement short.
std::string SqlText(const std::string& text, Engine engine) {
  if (IsPostgresEngine(engine)) {
    if (text.size() > 4096) {
      const std::string piece = text.substr(0, text.find('>') + 1);
      return "repeat(" + fixture::Literal(piece) + ", " +
             std::to_string(text.size() / piece.size()) + ")";
    }
    return fixture::Literal(text);
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "CAST(X'";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
  }
  return out + "' AS TEXT)";
}

// The link field of record i: the value as the text of an address that should never be followed.
std::string LinkOf(size_t i, const std::string& value) {
  static const std::vector<std::string> addresses = {
      "https://example.org/plain?a=1&b=2",
      "javascript:kivdbhit('href')",
      " JaVaScRiPt:kivdbhit('case')",
      "java\tscript:kivdbhit('tab')",
      "\x01javascript:kivdbhit('control')",
      "data:text/html,<script>kivdbhit('data')</script>",
      "vbscript:kivdbhit('vb')",
      "https://example.org/'><script>kivdbhit('quote')</script>",
      "&#106;avascript:kivdbhit('entity')",
      "' onmouseover='kivdbhit(1)",
  };
  const std::string display = value.size() > 4096 ? value : value.substr(0, 200);
  return display + "#" + addresses[i % addresses.size()] + "#";
}

}  // namespace

const std::vector<HostileText>& HostileTexts() {
  static constexpr char kNul[] = "nul\0<script>kivdbhit('nul')</script>";
  static const std::vector<HostileText> texts = {
      {"plain", "plain value", true},
      {"script element", "<script>kivdbhit('script')</script>", true},
      {"double quote breaks out", "\"><img src=x onerror=kivdbhit('dq')>", true},
      {"single quote breaks out", "'><img src=x onerror=kivdbhit('sq')>", true},
      {"backquote and typographic quotes",
       "`><svg onload=kivdbhit('bq')>` \xE2\x80\x98single\xE2\x80\x99 \xE2\x80\x9C"
       "double\xE2\x80\x9D \xC2\xB4"
       "acute\xC2\xB4",
       true},
      {"javascript address", "javascript:kivdbhit('js')", true},
      {"data address", "data:text/html;base64,PHNjcmlwdD5raXZkYmhpdCgnZGF0YScpPC9zY3JpcHQ+", true},
      {"table closed early", "</td></tr></table></TABLE><b id=evil>out</b><table><tr><td>", true},
      {"comment, plaintext, style and frame",
       "<!-- <plaintext> --><style>*{display:none}</style>"
       "<iframe src=javascript:kivdbhit('frame')></iframe>",
       true},
      {"NUL byte", std::string(kNul, sizeof kNul - 1), false},
      {"ISO-2022-JP escapes that eat the quotes after them",
       "\x1B$B<script>kivdbhit('jis')</script>'\"\x1B(B\x1B$@'", true},
      {"invalid UTF-8", "\xC3<script>kivdbhit('utf')</script>\xFF\xFE\xE2\x82", false},
      {"1 MB of markup", Megabyte(), true},
      {"SQL to drop a table", "'; DROP TABLE canary; --", true},
      {"SQL to match every row", "' OR '1'='1", true},
  };
  return texts;
}

const std::vector<std::string>& InjectedCaptions() {
  static const std::vector<std::string> captions = {
      "plain name",       "'; DROP TABLE canary; --",       "' OR '1'='1",
      "x' OR 'a'='a' --", "O'Brien \"quoted\" `back` \\ ;", "'); DELETE FROM Names; --",
  };
  return captions;
}

const std::vector<std::string>& InjectedKeys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> padded;
    for (std::string key :
         {"plain", "'; DROP TABLE canary; --", "' OR '1'='1", "x' OR ''='", "'') OR 1=1 --"}) {
      key.resize(kKeyLength, '_');
      padded.push_back(key);
    }
    return padded;
  }();
  return keys;
}

fixture::SchemeFixture HostileFixture(Engine engine) {
  fixture::SchemeFixture f;
  f.Nav({1, "Data Browser", "F", 0})
      .Nav({2, "Values", "G", 1, "spG_Values", "None"})
      .Nav({3, "Value", "N", 2})
      .Nav({4, "By name", "G", 1, "spG_Names", "None"})
      .Nav({5, "Name", "N", 4})
      .Nav({6, "By code", "G", 1, "spG_Codes", "None"})
      .Nav({7, "Code", "N", 6})
      .Nav({8, "<script>kivdbhit('xst1')</script>\"><b id=evil>", "N", 1});
  f.Web({10, 3, 1, "Card:", "spW_Card", "LKey", "H", "3", kNull})
      .Web({11, 3, 2, "Cells", "spW_Cells", "LKey", "S", kNull, "."})
      .Web({12, 3, 3, "Chart of :", "spW_Chart", "LKey", "C", kNull, "1:2"})
      .Web({13, 3, 4, "Pictures", "spW_Thumbs", "LKey", "T", kNull, kNull})
      .Web({20, 5, 1, "Named", "spW_ByName", "Text", "S", kNull, "."})
      .Web({30, 7, 1, "Coded", "spW_ByCode", "CKey" + std::to_string(kKeyLength), "S", kNull, "."})
      .Web({40, 8, 1, "Canary", "spW_Canary", "None", "S", kNull, "."});
  f.Style(1, "<html><head><title>Front</title></head><body><h1>Welcome</h1></body></html>")
      .Style(2, "<HTML><HEAD><TITLE>%MainHeading%</TITLE></HEAD><BODY><DIV>");

  f.Sql("CREATE TABLE canary (ID INTEGER PRIMARY KEY, Note TEXT, Num INTEGER)")
      .Sql("INSERT INTO canary VALUES (1, 'alive', 9000)")
      .Sql(
          "CREATE TABLE Hostile (ID INTEGER PRIMARY KEY, Caption TEXT, Body TEXT, Link MEMO, "
          "Path TEXT, Num INTEGER)")
      .Sql("CREATE TABLE Names (ID INTEGER PRIMARY KEY, Name TEXT, Num INTEGER)")
      .Sql("CREATE TABLE Codes (Code TEXT PRIMARY KEY, Caption TEXT, Num INTEGER)");
  const std::vector<HostileText>& texts = HostileTexts();
  for (size_t i = 0; i < texts.size(); ++i) {
    if (IsPostgresEngine(engine) && !texts[i].portable) continue;
    const std::string value = SqlText(texts[i].text, engine);
    f.Sql("INSERT INTO Hostile VALUES (" + std::to_string(i + 1) + ", " + value + ", " + value +
          ", " + SqlText(LinkOf(i, texts[i].text), engine) + ", " + value + ", " +
          std::to_string(kValueBase + static_cast<long>(i)) + ")");
  }
  const std::vector<std::string>& captions = InjectedCaptions();
  for (size_t i = 0; i < captions.size(); ++i) {
    f.Sql("INSERT INTO Names VALUES (" + std::to_string(i + 1) + ", " +
          SqlText(captions[i], engine) + ", " + std::to_string(kCaptionBase + long(i)) + ")");
  }
  const std::vector<std::string>& keys = InjectedKeys();
  for (size_t i = 0; i < keys.size(); ++i) {
    f.Sql("INSERT INTO Codes VALUES (" + SqlText(keys[i], engine) + ", 'code " + std::to_string(i) +
          "', " + std::to_string(kKeyBase + long(i)) + ")");
  }

  f.Query("spG_Values", "SELECT ID, Caption FROM Hostile ORDER BY ID")
      .Query("spW_Card",
             "SELECT ID, Caption AS \"<script>kivdbhit('field')</script>\", "
             "Body AS \"\"\"><img src=x onerror=kivdbhit('f2')>\", Link FROM Hostile "
             "WHERE ID = ?1")
      .Query("spW_Cells",
             "SELECT ID, Caption AS \"'><b id=evil>f3</b>\", Body, Num FROM Hostile WHERE ID = ?1")
      .Query("spW_Chart", "SELECT ID, Caption AS Label, Num FROM Hostile WHERE ID = ?1")
      .Query("spW_Thumbs", "SELECT ID, Path AS FILE1, Caption FROM Hostile WHERE ID = ?1")
      .Query("spG_Names", "SELECT ID, Name FROM Names ORDER BY ID")
      .Query("spW_ByName", "SELECT ID, Name, Num FROM Names WHERE Name = ?1")
      .Query("spG_Codes", "SELECT Code, Caption FROM Codes ORDER BY Code")
      .Query("spW_ByCode", "SELECT Code AS ID, Caption, Num FROM Codes WHERE Code = ?1")
      .Query("spW_Canary", "SELECT ID, Note, Num FROM canary");
  return f;
}

std::unique_ptr<HostileExport> ExportHostile(Engine engine) {
  auto out = std::make_unique<HostileExport>();
  out->folder = FreshFolder();
  out->site = out->folder / "site";
  const fixture::SchemeFixture shop = HostileFixture(engine);
  if (engine == Engine::Sqlite) {
    out->connect = shop.WriteSqlite((out->folder / "hostile.db").string());
  } else {
    out->database = std::make_unique<testing_support::TestDatabase>(engine);
    if (!out->database->Ready()) throw std::runtime_error(out->database->Problem());
    std::vector<std::pair<std::string, std::string>> queries;
    for (const fixture::SavedQuery& q : shop.Queries()) queries.emplace_back(q.name, q.sql);
    const std::string failure = testing_support::LoadPostgresEdition(
        out->database->ConnectionString(), shop.Statements(), queries);
    if (!failure.empty()) throw std::runtime_error("cannot load the hostile shop: " + failure);
    out->connect = out->database->ConnectionString();
  }
  out->run =
      RunProgram(KIVDB_PROGRAM, {"export", "--connect", out->connect, "--out", out->site.string()},
                 out->folder);
  return out;
}

namespace {

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Chromium() {
  const char* chosen = std::getenv("KIVDB_CHROMIUM");
  return chosen && *chosen ? chosen : "/usr/bin/chromium";
}

}  // namespace

std::map<fs::path, Seen> CheckInChromium(const std::vector<fs::path>& pages) {
  static std::atomic<int> runs{0};
  const int run = ++runs;
  std::map<fs::path, Seen> seen;
  if (pages.empty()) return seen;
  const fs::path folder = pages.front().parent_path();
  // Each page is loaded as a copy in a frame of one runner page; the runner's load event comes
  // after every frame's, so its handler finds every frame's check written.
  const std::string hook =
      "<script id=kivdb-hook>" + ReadFile(KIVDB_HOSTILE_SOURCE "/sentinel_hook.js") + "</script>";
  const std::string check = "<script id=kivdb-check-script>" +
                            ReadFile(KIVDB_HOSTILE_SOURCE "/sentinel_check.js") + "</script>";
  std::string runner = "<html><head><title>runner</title></head><body><pre id=kivdb-check></pre>";
  std::vector<fs::path> copies;
  for (const fs::path& page : pages) {
    if (page.parent_path() != folder) {
      ADD_FAILURE() << page << " is not in " << folder;
      continue;
    }
    std::string html = ReadFile(page);
    size_t head = std::string::npos;
    for (const char* tag : {"<head>", "<HEAD>"}) head = std::min(head, html.find(tag));
    if (head == std::string::npos) {
      ADD_FAILURE() << page << " has no head";
      continue;
    }
    html.insert(head + 6, hook);
    html += check;
    const std::string name = "check-" + std::to_string(run) + "-" + page.filename().string();
    std::ofstream(folder / name, std::ios::binary) << html;
    copies.push_back(folder / name);
    runner +=
        "<iframe src=\"" + name + "\" data-page=\"" + page.filename().string() + "\"></iframe>";
  }
  runner +=
      "<script>window.addEventListener('load', function () {"
      "  var out = [];"
      "  Array.prototype.forEach.call(document.querySelectorAll('iframe'), function (f) {"
      "    out.push('page=' + encodeURIComponent(f.getAttribute('data-page')));"
      "    var d = f.contentDocument;"
      "    var pre = d && d.getElementById('kivdb-check');"
      "    out.push(pre ? pre.textContent : 'missing=1');"
      "  });"
      "  document.getElementById('kivdb-check').textContent = '\\n' + out.join('\\n') + '\\n';"
      "});</script></body></html>";
  const fs::path runnerFile = folder / ("check-runner-" + std::to_string(run) + ".html");
  std::ofstream(runnerFile, std::ios::binary) << runner;

  const fs::path work = folder.parent_path();
  const fs::path profile = work / ("chromium-profile-" + std::to_string(run));
  const fs::path dump = work / ("dom-" + std::to_string(run) + ".html");
  const std::string command =
      "timeout 600 " + ShellQuote(Chromium()) +
      " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
      " --disable-background-networking --disable-component-update --disable-sync"
      " --allow-file-access-from-files --user-data-dir=" +
      ShellQuote(profile.string()) + " --dump-dom " + ShellQuote("file://" + runnerFile.string()) +
      " > " + ShellQuote(dump.string()) + " 2> " +
      ShellQuote((work / ("chromium-" + std::to_string(run) + ".log")).string());
  const int status = std::system(command.c_str());
  std::error_code error;
  fs::remove_all(profile, error);
  for (const fs::path& copy : copies) fs::remove(copy, error);
  fs::remove(runnerFile, error);

  const std::string dom = ReadFile(dump);
  const std::string open = "<pre id=\"kivdb-check\">";
  const size_t begin = dom.find(open);
  const size_t end = dom.find("</pre>", begin);
  if (begin == std::string::npos || end == std::string::npos) {
    ADD_FAILURE() << "Chromium (status " << status << ") wrote no check; its log is beside "
                  << dump;
    return seen;
  }
  const std::string text = dom.substr(begin + open.size(), end - begin - open.size());
  Seen* current = nullptr;
  size_t start = 0;
  while (start < text.size()) {
    size_t stop = text.find('\n', start);
    if (stop == std::string::npos) stop = text.size();
    const std::string line = text.substr(start, stop - start);
    start = stop + 1;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = line.substr(0, equals);
    const std::string value = PercentDecoded(line.substr(equals + 1));
    if (name == "page") {
      current = &seen[folder / value];
    } else if (current) {
      (*current)[name] = value;
    }
  }
  for (const fs::path& page : pages) {
    if (seen[page].empty() || seen[page].count("missing")) {
      ADD_FAILURE() << "Chromium wrote no check for " << page;
    }
  }
  return seen;
}

}  // namespace kivdb::testing
