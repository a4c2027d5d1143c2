#include "wizard/model/nav_scheme.h"

#include <utility>

#include "wizard/model/type_codes.h"

namespace kivwz {

bool clsNavScheme::HoldsNoQuery() const {
  return IsNodeType(typeIs_, NodeType::Fixed) || IsNodeType(typeIs_, NodeType::NonGenerating);
}

void clsNavScheme::typeIs(std::string value) {
  typeIs_ = std::move(value);
  if (HoldsNoQuery()) {
    queryIs_.clear();
    parmIs_.clear();
  }
}

void clsNavScheme::queryIs(std::string value) {
  if (HoldsNoQuery()) {
    queryIs_.clear();
  } else {
    queryIs_ = std::move(value);
  }
}

void clsNavScheme::parmIs(std::string value) {
  if (HoldsNoQuery()) {
    parmIs_.clear();
  } else {
    parmIs_ = std::move(value);
  }
}

}  // namespace kivwz
