#pragma once
// How the schemes look in their views: the grids' column formats, the tree's images and the text
// colours by node type.

#include <optional>
#include <string_view>

#include "wizard/model/views.h"

namespace kivwz {

// The XST1 grid: ID, Description, Type, Parent, Query, Parameter, Icon, Role.
inline constexpr std::string_view kNavGridFormat =
    ">ID |<Description                                                  |^Type|^Parent    |<Query  "
    "                        |<Parameter     |<Icon              |<Role         ";
inline constexpr int kNavGridTypeColumn = 2;
// The column that takes the width the others leave: Description.
inline constexpr int kNavGridStretchColumn = 1;

// The XST2 grid: ID, XST1, Seq, Paragraph Title, Query, Parameter, Type, Form#, Columns.
inline constexpr std::string_view kWebGridFormat =
    "^ID |^XST1|^Seq|<Paragraph Title                                       |<Query                "
    "             |<Parameter  |^Type|^Form#|<Columns                       ";
// The column that takes the width the others leave: Paragraph Title.
inline constexpr int kWebGridStretchColumn = 3;

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kDarkGreen{0, 64, 0};
inline constexpr Color kGreen{0, 128, 0};
inline constexpr Color kMaroon{128, 0, 0};

// The image of a node of that type; empty for a type other than F, G, R and N.
std::string_view TreeImageOf(std::string_view typeIs);
// Tree text colour of a node below the root; black for any other type.
Color TreeColorOf(std::string_view typeIs);
// Grid row colour; none for any other type, whose row keeps the colour of the row before it.
std::optional<Color> GridColorOf(std::string_view typeIs);

}  // namespace kivwz
