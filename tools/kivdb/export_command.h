#pragma once
// `kivdb export`: runs the report control headless over a whole database and leaves a folder that
// works from a plain browser. Every node of the navigation tree is opened by a click, as a user
// would open it, and its page kept as DIR/page-N.htm with its pictures (DIR/page-N-pic1, ...);
// form links become plain text. DIR/index.html shows the tree as nested lists that fold, each node
// linking to its page, which opens in a frame beside the tree; the frame starts on the front page.
//
// DIR is the control's ApplicationFolder: the files the pages refer to (circle.gif, chart.gif,
// cbg.gif, plus.gif, thumbnails) belong there. The site is built in a new folder beside DIR, with
// what the user put in DIR carried over, and put in DIR's place only when the walk is done: an
// export that fails or is killed leaves the earlier site as it was. A second export into DIR
// while one runs is refused. Messages of the control, warnings and progress go to standard error;
// standard output gets one line, the full path of index.html.
//
// A page that had a failed read is a failed page. The export stops at the first one and exits 1,
// leaving DIR as it was; with --keep-going it exports the rest, marks each failed page in the
// index with its reason, counts them in the summary line and still exits 1. Exit status: 0 after
// an export (also one cut short by --max-nodes, which says so), 1 when the schemes cannot be read,
// a page failed, a file cannot be written or another export holds DIR, 2 for a usage error.
// With --tables, each page's tables go beside it (page-N.xlsx, or page-N-ID.csv per table) and
// the index links them after the page's entry.

#include <ostream>
#include <string>

namespace kivdb::tool {

struct ExportOptions {
  std::string connect;  // DAL connection string
  std::string out;      // the site folder; created when missing
  std::string role;     // UserRole as given; empty leaves the default 0
  std::string heading;  // %StoreName% of the pages, and the index's title
  std::string dateFormat;
  long maxNodes = 10000;   // nodes opened at most, the root included
  int queryTimeout = 0;    // QueryTimeout, seconds; 0: none
  long maxRows = 0;        // MaxRows; 0: none
  bool keepGoing = false;  // export past failed pages (still exit 1)
  std::string tables;      // "csv" or "xlsx": each page's tables beside it; "": none
};

int RunExport(const ExportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kivdb::tool
