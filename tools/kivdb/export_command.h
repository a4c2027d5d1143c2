#pragma once
// `kivdb export`: runs the report control headless over a whole database and leaves a folder that
// works from a plain browser. Every node of the navigation tree is opened by a click, as a user
// would open it, and its page kept as DIR/page-N.htm with its pictures (DIR/page-N-pic1, ...);
// form links become plain text. DIR/index.html shows the tree as nested lists that fold, each node
// linking to its page, which opens in a frame beside the tree; the frame starts on the front page.
//
// DIR is the control's ApplicationFolder: the files the pages refer to (circle.gif, chart.gif,
// cbg.gif, plus.gif, thumbnails) belong there, and the control's own oReport.htm, fp.htm and pic1,
// pic2, ... there are overwritten. Messages of the control, warnings and progress go to standard
// error; standard output gets one line, the full path of index.html. Exit status: 0 after an
// export (also one cut short by --max-nodes, which says so), 1 when the schemes cannot be read or
// a file cannot be written, 2 for a usage error. With --tables, each page's tables go beside it
// (page-N.xlsx, or page-N-ID.csv per table) and the index links them after the page's entry.

#include <ostream>
#include <string>

namespace kivdb::tool {

struct ExportOptions {
  std::string connect;  // DAL connection string
  std::string out;      // the site folder; created when missing
  std::string role;     // UserRole as given; empty leaves the default 0
  std::string heading;  // %StoreName% of the pages, and the index's title
  std::string dateFormat;
  long maxNodes = 10000;  // nodes opened at most, the root included
  int queryTimeout = 0;   // QueryTimeout, seconds; 0: none
  long maxRows = 0;       // MaxRows; 0: none
  std::string tables;     // "csv" or "xlsx": each page's tables beside it; "": none
};

int RunExport(const ExportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kivdb::tool
