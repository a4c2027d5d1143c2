// The desktop's own dialogs: how the file dialogs are set up and what an information box shows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "wizard/ui/qt_file_dialogs.h"
#include "wizard/ui/qt_message_boxes.h"

namespace kivwz {
namespace {

// The filter captions as the dialog's list shows them.
QStringList Shown(QFileDialog& dialog) {
  QStringList shown;
  if (auto* list = dialog.findChild<QComboBox*>("fileTypeCombo")) {
    for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
  }
  return shown;
}

TEST(FileDialogs, SaveDialogOffersTheNameTheTextFilterAndTheTxtSuffix) {
  auto dialog = QtFileDialogs::MakeSaveDialog(nullptr, "XST2.txt", "/tmp");
  EXPECT_EQ(dialog->windowTitle(), "Save File As...");
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(dialog->nameFilters(),
            (QStringList{"All Files (*.*) (*)", "Text File (.txt) (*.txt)"}));
  // Shown as captioned, the second chosen first.
  EXPECT_EQ(Shown(*dialog), (QStringList{"All Files (*.*)", "Text File (.txt)"}));
  EXPECT_EQ(dialog->selectedNameFilter(), "Text File (.txt)");
  EXPECT_EQ(dialog->defaultSuffix(), "txt");
  EXPECT_EQ(dialog->directory().absolutePath(), "/tmp");
  EXPECT_EQ(dialog->viewMode(), QFileDialog::Detail);
  EXPECT_TRUE(dialog->filter() & QDir::Hidden);
  EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_TRUE(dialog->testOption(QFileDialog::HideNameFilterDetails));
  EXPECT_EQ(dialog->selectedFiles().value(0), "/tmp/XST2.txt");
}

TEST(FileDialogs, OpenDialogListsTextFilesFirstAndTakesAnyName) {
  auto dialog = QtFileDialogs::MakeOpenDialog(nullptr, "/tmp");
  EXPECT_EQ(dialog->windowTitle(), "Open A File");
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
  EXPECT_EQ(dialog->nameFilters(),
            (QStringList{"Text Files (*.txt) (*.txt)", "All File (*.*) (*)"}));
  EXPECT_EQ(Shown(*dialog), (QStringList{"Text Files (*.txt)", "All File (*.*)"}));
  EXPECT_EQ(dialog->selectedNameFilter(), "Text Files (*.txt)");
  EXPECT_EQ(dialog->defaultSuffix(), "");
  EXPECT_EQ(dialog->viewMode(), QFileDialog::Detail);
  EXPECT_TRUE(dialog->filter() & QDir::Hidden);
}

TEST(FileDialogs, CancelReturnsNothing) {
  QtFileDialogs dialogs(nullptr);
  QTimer::singleShot(0, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) QTest::keyClick(modal, Qt::Key_Escape);
  });
  EXPECT_EQ(dialogs.GetSaveAsName("XST1.txt", "/tmp"), "");
}

TEST(MessageBoxes, InformationHasOneOkButtonAndTheProgramsTitle) {
  QtMessageBoxes boxes(nullptr);
  QString title;
  QString text;
  int buttons = 0;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    title = box->windowTitle();
    text = box->text();
    buttons = static_cast<int>(box->buttons().size());
    QTest::keyClick(box, Qt::Key_Return);
  });
  boxes.Information("Unable to save file..");
  EXPECT_EQ(title, "KivWZ");
  EXPECT_EQ(text, "Unable to save file..");
  EXPECT_EQ(buttons, 1);
}

TEST(MessageBoxes, YesNoQuestionsAreTitledUpdateConfirmationAndEnterGivesThePreselectedAnswer) {
  QtMessageBoxes boxes(nullptr);
  struct Case {
    Answer preselected;
    Qt::Key key;  // pressed in the box
    bool yes;
  } cases[] = {
      {Answer::No, Qt::Key_Return, false},
      {Answer::Yes, Qt::Key_Return, true},
      {Answer::No, Qt::Key_Y, true},
      {Answer::Yes, Qt::Key_N, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, static_cast<char>(c.key)) +
                 (c.preselected == Answer::Yes ? " yes" : " no"));
    QString title;
    QString text;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      title = box->windowTitle();
      text = box->text();
      QTest::keyClick(box, c.key);
    });
    EXPECT_EQ(boxes.AskYesNo("Discard the changes?", c.preselected), c.yes);
    EXPECT_EQ(title, "Update Confirmation");
    EXPECT_EQ(text, "Discard the changes?");
  }
}

}  // namespace
}  // namespace kivwz
