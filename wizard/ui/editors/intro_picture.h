#pragma once
// The introduction window's picture, drawn in code: a navigation tree whose selected node opens
// a report page with a header, a table and a bar chart — the two schemes the wizard designs.

#include <QPixmap>
#include <QSize>

namespace kivwz {

QPixmap DrawIntroPicture(QSize size);

}  // namespace kivwz
