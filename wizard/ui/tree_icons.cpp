#include "wizard/ui/tree_icons.h"

#include <QFont>
#include <QPainter>

#include "wizard/model/views.h"

namespace kivwz {
namespace {

constexpr int kSize = 16;

// A rounded tile in the type's colour with the type letter on it.
QPixmap LetterTile(QColor color, QChar letter) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(color.darker(140));
  painter.setBrush(color);
  painter.drawRoundedRect(QRectF(0.5, 0.5, kSize - 1, kSize - 1), 3, 3);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(11);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QString(letter));
  return pixmap;
}

// A small database drum: the root stands for the whole browser.
QPixmap RootPicture() {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor body(0xd8, 0xa0, 0x20);
  painter.setPen(QColor(0x70, 0x50, 0x10));
  painter.setBrush(body);
  painter.drawRect(QRectF(2.5, 3.5, 11, 9));
  painter.drawEllipse(QRectF(2.5, 10, 11, 5));
  painter.setPen(Qt::NoPen);
  painter.drawRect(QRectF(3, 4, 10, 9));
  painter.setPen(QColor(0x70, 0x50, 0x10));
  painter.setBrush(body.lighter(130));
  painter.drawEllipse(QRectF(2.5, 1, 11, 5));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(2.5, 5.5, 11, 5), 180 * 16, 180 * 16);
  return pixmap;
}

}  // namespace

QPixmap TreeIcon(std::string_view imageKey) {
  if (imageKey == kImageRoot) return RootPicture();
  if (imageKey == kImageFixed) return LetterTile(QColor(255, 0, 0), QLatin1Char('F'));
  if (imageKey == kImageGenerating) return LetterTile(QColor(0, 0, 255), QLatin1Char('G'));
  if (imageKey == kImageRecurring) return LetterTile(QColor(0, 128, 0), QLatin1Char('R'));
  if (imageKey == kImageNonGenerating) return LetterTile(QColor(128, 0, 0), QLatin1Char('N'));
  return {};
}

}  // namespace kivwz
