#include "demo/app/window_geometry.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>
#include <algorithm>
#include <system_error>

#include <kivdb/error.h>
#include <kivdb/ini_property_bag.h>

namespace kivdb::demo {
namespace {

constexpr const char* kSection = "KivDBDemo";
constexpr const char* kGeometry = "WindowGeometry";
constexpr const char* kSplitter = "SplitterState";
// Room for the title bar and borders the window manager adds around the window.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;

QByteArray Kept(IniPropertyBag& bag, const char* name) {
  return QByteArray::fromBase64(
      QByteArray::fromStdString(bag.ReadProperty(name, Variant(std::string())).ToText()));
}

}  // namespace

QSize FittingSize(QSize preferred, const QRect& available) {
  if (available.isEmpty()) return preferred;
  return {std::min(preferred.width(), available.width() - kFrameWidth),
          std::min(preferred.height(), available.height() - kFrameHeight)};
}

void RestoreWindow(QMainWindow& window, QSplitter& splitter, const std::filesystem::path& file,
                   QSize preferred) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect();
  window.resize(FittingSize(preferred, available));
  std::error_code missing;
  if (!std::filesystem::exists(file, missing)) return;
  try {
    IniPropertyBag bag(file.string(), kSection);
    const QByteArray geometry = Kept(bag, kGeometry);
    const QByteArray positions = Kept(bag, kSplitter);
    // restoreGeometry moves a window kept on a screen that has gone onto one that is there.
    if (!geometry.isEmpty()) window.restoreGeometry(geometry);
    if (!positions.isEmpty()) splitter.restoreState(positions);
  } catch (const Error&) {
    // The settings' own reader reports a file it cannot read; the window keeps its fitting size.
  }
}

void KeepWindow(const QMainWindow& window, const QSplitter& splitter,
                const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  IniPropertyBag bag(file.string(), kSection);
  bag.WriteProperty(kGeometry, Variant(window.saveGeometry().toBase64().toStdString()),
                    Variant(std::string()));
  bag.WriteProperty(kSplitter, Variant(splitter.saveState().toBase64().toStdString()),
                    Variant(std::string()));
  bag.Save();
}

}  // namespace kivdb::demo
