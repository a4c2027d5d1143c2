#pragma once
// RulesPanel: the frame below the grids that explains the rules of the navigational hierarchy:
// the legend of the tree's icons, the three rules, a small coloured diagram and the keys.

#include <QGroupBox>

namespace kivwz {

class RulesPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit RulesPanel(QWidget* parent = nullptr);
};

}  // namespace kivwz
