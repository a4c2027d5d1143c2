#pragma once
// SchemeTreeView: the navigation tree on a QTreeWidget. Draws what clsNavSchemes hands it through
// the TreeView interface and hands node clicks (a keyboard move counts as one), released keys and
// released mouse buttons to its ViewEvents, the wizard's commands.

#include <QTreeWidget>
#include <string>
#include <unordered_map>

#include "wizard/model/views.h"

namespace kivwz {

class SchemeTreeView : public QTreeWidget, public TreeView {
  Q_OBJECT

 public:
  explicit SchemeTreeView(QWidget* parent = nullptr);

  void Clear() override;
  bool AddNode(const std::string& parentKey, const std::string& key, const std::string& text,
               std::string_view imageKey) override;
  void SetForeColor(const std::string& key, Color color) override;
  void SetExpanded(const std::string& key, bool expanded) override;
  bool IsExpanded(const std::string& key) const override;
  bool Select(const std::string& key) override;
  void EnsureVisible(const std::string& key) override;
  std::string SelectedKey() const override;
  int ChildCount(const std::string& key) const override;
  std::string ParentKey(const std::string& key) const override;

  // nullptr for an unknown key.
  QTreeWidgetItem* ItemOf(const std::string& key) const;
  static std::string KeyOf(const QTreeWidgetItem* item);

  // Where the user's clicks, keys and buttons go; nullptr drops them.
  void SetEvents(ViewEvents* events) { events_ = events; }

 protected:
  // A move with the keys (arrows, Home, End, pages) is a click on the node moved to.
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::unordered_map<std::string, QTreeWidgetItem*> items_;
  QIcon icons_[5];
  ViewEvents* events_ = nullptr;
};

}  // namespace kivwz
