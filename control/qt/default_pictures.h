#pragma once
// The pictures ImageList::WithDefaults ships: small icons drawn by code for "group", "Net" and the
// keys of the demonstration schemes.

#include <QIcon>
#include <string>
#include <vector>

namespace kivdb::qt {

// The keys that have a default picture.
const std::vector<std::string>& DefaultPictureKeys();
// The default picture of `key`, or a null icon when there is none.
QIcon DefaultPicture(const std::string& key);

}  // namespace kivdb::qt
