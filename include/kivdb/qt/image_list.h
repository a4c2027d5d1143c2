#pragma once
// ImageList: the host's pictures for tree nodes, a key (as the navigation scheme names it) mapped
// to an icon. WithDefaults() holds a picture for "group", "Net" and every key the demonstration
// schemes use, drawn by code, so a tree shows sensible pictures before a host adds its own.

#include <QIcon>
#include <QString>
#include <QStringList>
#include <map>
#include <string>

#include <kivdb/qt/export.h>

namespace kivdb::qt {

class KIVDB_QT_EXPORT ImageList {
 public:
  // An empty list.
  ImageList() = default;
  // The default pictures.
  static ImageList WithDefaults();

  // Adds or replaces the picture of `key`; keys are compared exactly, as the scheme writes them.
  void Add(const std::string& key, const QIcon& icon);
  bool Contains(const std::string& key) const;
  // The picture of `key`, or a null icon when the list has none.
  QIcon Icon(const std::string& key) const;
  QStringList Keys() const;

 private:
  std::map<std::string, QIcon> icons_;
};

}  // namespace kivdb::qt
