#pragma once
// HostPrompts: the questions KivDBDemo's own commands ask the user (which file to open or export
// to, which connection string, which role). The main window asks through these functions, so
// tests answer them directly instead of driving modal dialogs; Defaults() asks with Qt's dialogs.

#include <QString>
#include <functional>
#include <optional>

#include "demo/app/page_options.h"

class QWidget;

namespace kivdb::demo {

struct HostPrompts {
  // An SQLite file to open, or nothing when cancelled.
  std::function<std::optional<QString>(QWidget* parent)> openDatabase;
  // A connection string (starting from `current`), or nothing.
  std::function<std::optional<QString>(QWidget* parent, const QString& current)> connectionString;
  // Where to write the PDF, or nothing.
  std::function<std::optional<QString>(QWidget* parent, const QString& suggested)> pdfPath;
  // The user's role number, or nothing.
  std::function<std::optional<int>(QWidget* parent, int current)> role;
  // The page options (starting from `current`), or nothing.
  std::function<std::optional<PageOptions>(QWidget* parent, const PageOptions& current)>
      pageOptions;

  static HostPrompts Defaults();
};

}  // namespace kivdb::demo
