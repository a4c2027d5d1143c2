#include "demo/app/host_prompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>

#include "demo/app/page_options_dialog.h"

namespace kivdb::demo {
namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("HostPrompts", text);
}

std::optional<QString> Chosen(const QString& text) {
  if (text.isEmpty()) return std::nullopt;
  return text;
}

}  // namespace

HostPrompts HostPrompts::Defaults() {
  HostPrompts prompts;
  prompts.openDatabase = [](QWidget* parent) {
    return Chosen(QFileDialog::getOpenFileName(
        parent, Tr("Open Database"), QString(),
        Tr("SQLite databases (*.db *.sqlite *.sqlite3);;All files (*)")));
  };
  prompts.connectionString = [](QWidget* parent, const QString& current) {
    bool ok = false;
    const QString text = QInputDialog::getText(
        parent, Tr("Connect"),
        Tr("Connection string (\"Provider=SQLite;Data Source=FILE\", or any ODBC string such "
           "as \"Driver={PostgreSQL Unicode};Server=...;Database=...\"):"),
        QLineEdit::Normal, current, &ok);
    return ok ? Chosen(text.trimmed()) : std::nullopt;
  };
  prompts.pdfPath = [](QWidget* parent, const QString& suggested) {
    return Chosen(
        QFileDialog::getSaveFileName(parent, Tr("Export PDF"), suggested, Tr("PDF files (*.pdf)")));
  };
  prompts.role = [](QWidget* parent, int current) -> std::optional<int> {
    bool ok = false;
    const int role = QInputDialog::getInt(parent, Tr("Role"), Tr("User role number:"), current,
                                          -32768, 32767, 1, &ok);
    if (!ok) return std::nullopt;
    return role;
  };
  prompts.pageOptions = &PageOptionsDialog::Ask;
  return prompts;
}

}  // namespace kivdb::demo
