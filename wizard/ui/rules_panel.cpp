#include "wizard/ui/rules_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "wizard/model/views.h"
#include "wizard/ui/tree_icons.h"

namespace kivwz {
namespace {

QWidget* LegendEntry(std::string_view imageKey, const QString& text, QWidget* parent) {
  auto* entry = new QWidget(parent);
  auto* layout = new QHBoxLayout(entry);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* icon = new QLabel(entry);
  icon->setPixmap(TreeIcon(imageKey));
  layout->addWidget(icon);
  layout->addWidget(new QLabel(text, entry), 1);
  return entry;
}

QLabel* WrappedLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

// Coloured type letters: a fixed node above any number of children, a generating node above
// exactly one.
QString Diagram() {
  const QString f = QStringLiteral("<b><font color='#ff0000'>F</font></b>");
  const QString g = QStringLiteral("<b><font color='#0000ff'>G</font></b>");
  const QString r = QStringLiteral("<b><font color='#008000'>R</font></b>");
  const QString n = QStringLiteral("<b><font color='#800000'>N</font></b>");
  return QStringLiteral(
             "<tt>%1 - - %1 / %2 / %3 / %4 &nbsp;&nbsp;&nbsp; %2 - 1 - %2 / %3 / %4"
             "</tt>")
      .arg(f, g, r, n);
}

}  // namespace

RulesPanel::RulesPanel(QWidget* parent)
    : QGroupBox(tr("Rules for Navigational Hierarchy"), parent) {
  setObjectName(QStringLiteral("frRule"));
  setFont(QFont(QStringLiteral("Arial"), 9));
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(tr("Rules Explained:"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);

  auto* legend = new QGridLayout;
  legend->addWidget(heading, 0, 0);
  legend->addWidget(LegendEntry(kImageRoot, tr("Root Node"), this), 0, 1);
  legend->addWidget(LegendEntry(kImageFixed, tr("Fixed Node (Red)"), this), 1, 0);
  legend->addWidget(LegendEntry(kImageGenerating, tr("Generating Node (Blue)"), this), 1, 1);
  legend->addWidget(LegendEntry(kImageRecurring, tr("Recurring Node (Green)"), this), 2, 0);
  legend->addWidget(LegendEntry(kImageNonGenerating, tr("Non-Generating (Brown)"), this), 2, 1);
  layout->addLayout(legend);

  layout->addWidget(WrappedLabel(
      tr("(F)-Fixed Node , can have (N, any number) of (F), (G), (R) and/or (N) as Child Nodes."),
      this));
  layout->addWidget(WrappedLabel(tr("(G), Generating Node MUST have only ONE child which is of "
                                    "type (G), (R) or (N). Only One Child Node must Exist!"),
                                 this));
  layout->addWidget(WrappedLabel(
      tr("(R), Recurring Node and (N)-Non-Generating Node cannot have any child nodes."), this));
  auto* diagram = new QLabel(Diagram(), this);
  diagram->setTextFormat(Qt::RichText);
  layout->addWidget(diagram);
  layout->addWidget(WrappedLabel(tr("When in Treeview: (Ins) Adds a Child Node,   (F2) Edits a "
                                    "Node,  (Del) Deletes a Node."),
                                 this));
}

}  // namespace kivwz
