#pragma once
// The five 16 x 16 pictures of the navigation tree and of the rules legend, drawn in code: the
// root, then one per node type in that type's colour.

#include <QPixmap>
#include <string_view>

namespace kivwz {

// The picture for an image key of views.h; a null pixmap for any other key.
QPixmap TreeIcon(std::string_view imageKey);

}  // namespace kivwz
