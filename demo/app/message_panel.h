#pragma once
// MessagePanel: the dock that collects the control's KivDBMessage texts without stopping the user
// (one click with Talking on can raise many of them), newest last, with a Clear button.

#include <QDockWidget>

class QListWidget;

namespace kivdb::demo {

class MessagePanel : public QDockWidget {
  Q_OBJECT

 public:
  explicit MessagePanel(QWidget* parent);

  // Appends a message and shows the panel if it was hidden.
  void Add(const QString& text);
  int Count() const;
  QString Message(int row) const;
  void Clear();

 private:
  QListWidget* list_;
};

}  // namespace kivdb::demo
