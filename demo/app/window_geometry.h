#pragma once
// Window geometry kept between runs: the main window's size and place and its splitter's
// positions, in the [KivDBDemo] section of the settings file. A first start, or a kept size that
// no longer fits the screen, opens at a size that fits the screen the window is on.

#include <QRect>
#include <QSize>
#include <filesystem>

class QMainWindow;
class QSplitter;

namespace kivdb::demo {

// `preferred` shrunk to fit `available` (a screen's free area) with room for the window's frame.
QSize FittingSize(QSize preferred, const QRect& available);

// Puts `window` and `splitter` where they were kept in `file`, or sizes `window` to fit its
// screen. A file that cannot be read leaves the fitting size.
void RestoreWindow(QMainWindow& window, QSplitter& splitter, const std::filesystem::path& file,
                   QSize preferred);
// Keeps the window's geometry and the splitter's positions in `file`; throws kivdb::Error when
// the file cannot be written.
void KeepWindow(const QMainWindow& window, const QSplitter& splitter,
                const std::filesystem::path& file);

}  // namespace kivdb::demo
