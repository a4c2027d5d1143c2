#include <kivdb/qt/image_list.h>

#include "control/qt/default_pictures.h"

namespace kivdb::qt {

ImageList ImageList::WithDefaults() {
  ImageList list;
  for (const std::string& key : DefaultPictureKeys()) list.Add(key, DefaultPicture(key));
  return list;
}

void ImageList::Add(const std::string& key, const QIcon& icon) {
  icons_[key] = icon;
}

bool ImageList::Contains(const std::string& key) const {
  return icons_.count(key) != 0;
}

QIcon ImageList::Icon(const std::string& key) const {
  const auto found = icons_.find(key);
  return found == icons_.end() ? QIcon() : found->second;
}

QStringList ImageList::Keys() const {
  QStringList keys;
  for (const auto& [key, icon] : icons_) keys << QString::fromStdString(key);
  return keys;
}

}  // namespace kivdb::qt
