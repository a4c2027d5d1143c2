#include "wizard/ui/qt_file_dialogs.h"

namespace kivwz {
namespace {

// Each filter names its caption and, in the last parentheses, its real pattern: the captions
// are shown as they are (the details stay hidden), while "*.*" in Qt would miss names without a
// dot and ".txt" would name no file at all.
const QStringList kSaveFilters = {QStringLiteral("All Files (*.*) (*)"),
                                  QStringLiteral("Text File (.txt) (*.txt)")};
const QStringList kOpenFilters = {QStringLiteral("Text Files (*.txt) (*.txt)"),
                                  QStringLiteral("All File (*.*) (*)")};

std::unique_ptr<QFileDialog> MakeDialog(QWidget* parent, const QString& title,
                                        const QString& startFolder, const QStringList& filters) {
  auto dialog = std::make_unique<QFileDialog>(parent, title, startFolder);
  // The widget-based dialog: the same on every desktop, and tests can drive it.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setOption(QFileDialog::HideNameFilterDetails);
  dialog->setViewMode(QFileDialog::Detail);
  dialog->setFilter(dialog->filter() | QDir::Hidden);
  dialog->setNameFilters(filters);
  return dialog;
}

std::string Chosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? std::string() : files.first().toStdString();
}

}  // namespace

std::unique_ptr<QFileDialog> QtFileDialogs::MakeOpenDialog(QWidget* parent,
                                                           const QString& startFolder) {
  auto dialog = MakeDialog(parent, QObject::tr("Open A File"), startFolder, kOpenFilters);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  // A name that does not exist is not refused here; loading it then changes nothing.
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->selectNameFilter(kOpenFilters[0]);
  return dialog;
}

std::unique_ptr<QFileDialog> QtFileDialogs::MakeSaveDialog(QWidget* parent,
                                                           const QString& defaultName,
                                                           const QString& startFolder) {
  auto dialog = MakeDialog(parent, QObject::tr("Save File As..."), startFolder, kSaveFilters);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setDefaultSuffix(QStringLiteral("txt"));
  dialog->selectNameFilter(kSaveFilters[1]);
  dialog->selectFile(defaultName);
  return dialog;
}

std::string QtFileDialogs::GetOpenName(const std::string& startFolder) {
  auto dialog = MakeOpenDialog(parent_, QString::fromStdString(startFolder));
  return Chosen(*dialog);
}

std::string QtFileDialogs::GetSaveAsName(const std::string& defaultName,
                                         const std::string& startFolder) {
  auto dialog = MakeSaveDialog(parent_, QString::fromStdString(defaultName),
                               QString::fromStdString(startFolder));
  return Chosen(*dialog);
}

}  // namespace kivwz
