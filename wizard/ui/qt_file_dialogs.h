#pragma once
// QtFileDialogs: the wizard's open and save dialogs on QFileDialog, in the detailed view, hidden
// files shown, asking before an existing file is replaced.

#include <QFileDialog>
#include <QPointer>
#include <memory>

#include "wizard/model/wizard_commands.h"

namespace kivwz {

class QtFileDialogs : public FileDialogs {
 public:
  explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}

  std::string GetOpenName(const std::string& startFolder) override;
  std::string GetSaveAsName(const std::string& defaultName,
                            const std::string& startFolder) override;

  // The dialogs as they are shown, for the two calls above and for tests.
  static std::unique_ptr<QFileDialog> MakeOpenDialog(QWidget* parent, const QString& startFolder);
  static std::unique_ptr<QFileDialog> MakeSaveDialog(QWidget* parent, const QString& defaultName,
                                                     const QString& startFolder);

 private:
  QPointer<QWidget> parent_;
};

}  // namespace kivwz
