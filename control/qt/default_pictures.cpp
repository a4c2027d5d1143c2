#include "control/qt/default_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <map>

namespace kivdb::qt {
namespace {

// Each picture is drawn on a 16 by 16 grid; the painter is scaled for larger sizes.
using Draw = std::function<void(QPainter&)>;

const QColor kInk(0x33, 0x3d, 0x4a);

void Folder(QPainter& p, QColor fill) {
  p.setPen(QPen(fill.darker(150), 1));
  p.setBrush(fill.darker(110));
  p.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1);
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(1.5, 5.5, 13, 8.5), 1, 1);
}

void Person(QPainter& p, QPointF at, QColor fill) {
  p.setPen(QPen(fill.darker(160), 0.8));
  p.setBrush(fill);
  p.drawEllipse(QRectF(at.x() - 2.2, at.y(), 4.4, 4.4));
  p.drawRoundedRect(QRectF(at.x() - 3.5, at.y() + 5, 7, 5.5), 2.5, 2.5);
}

const std::map<std::string, Draw>& Drawings() {
  static const std::map<std::string, Draw> drawings = {
      {"group", [](QPainter& p) { Folder(p, QColor(0xf2, 0xc2, 0x4b)); }},
      {"folder", [](QPainter& p) { Folder(p, QColor(0x8c, 0xb8, 0xe8)); }},
      {"Net",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0x1f, 0x6f, 0xb2), 1.2));
         p.setBrush(QColor(0xd6, 0xe9, 0xfa));
         p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QRectF(5, 1.5, 6, 13));
         p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
       }},
      {"globe",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0x1d, 0x7a, 0x5a), 1));
         p.setBrush(QColor(0x9f, 0xd8, 0xf2));
         p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
         p.setBrush(QColor(0x4c, 0xaf, 0x50));
         p.setPen(Qt::NoPen);
         p.drawEllipse(QRectF(4, 4, 5, 4));
         p.drawEllipse(QRectF(8, 9, 4, 3));
       }},
      {"map",
       [](QPainter& p) {
         p.setPen(QPen(kInk, 0.8));
         p.setBrush(QColor(0xe8, 0xdc, 0xb5));
         QPolygonF sheet({{1.5, 3},
                          {5.5, 1.5},
                          {10.5, 3},
                          {14.5, 1.5},
                          {14.5, 13},
                          {10.5, 14.5},
                          {5.5, 13},
                          {1.5, 14.5}});
         p.drawPolygon(sheet);
         p.setBrush(QColor(0xd3, 0x3f, 0x3f));
         p.drawEllipse(QRectF(7, 5, 4, 4));
       }},
      {"shop",
       [](QPainter& p) {
         p.setPen(QPen(kInk, 0.8));
         p.setBrush(QColor(0xf5, 0xf0, 0xe6));
         p.drawRect(QRectF(2.5, 7, 11, 7.5));
         p.setBrush(QColor(0xd9, 0x53, 0x4f));
         p.drawRect(QRectF(1.5, 3.5, 13, 3.5));
         p.setBrush(QColor(0x6b, 0x8e, 0xc9));
         p.drawRect(QRectF(6.5, 9.5, 3, 5));
       }},
      {"order",
       [](QPainter& p) {
         p.setPen(QPen(kInk, 0.8));
         p.setBrush(Qt::white);
         p.drawRect(QRectF(3, 1.5, 10, 13));
         for (double y : {4.5, 7.0, 9.5, 12.0}) p.drawLine(QPointF(5, y), QPointF(11, y));
       }},
      {"book",
       [](QPainter& p) {
         p.setPen(QPen(kInk, 0.8));
         p.setBrush(QColor(0x7e, 0x57, 0xc2));
         p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1, 1);
         p.setBrush(Qt::white);
         p.drawRect(QRectF(5, 4, 6, 2.5));
       }},
      {"people",
       [](QPainter& p) {
         Person(p, {5, 3}, QColor(0x90, 0xa4, 0xae));
         Person(p, {10.5, 4.5}, QColor(0x42, 0x8b, 0xca));
       }},
      {"person",
       [](QPainter& p) {
         Person(p, {8, 2.5}, QColor(0x42, 0x8b, 0xca));
       }},
      {"box",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0x8d, 0x5b, 0x2b), 0.8));
         p.setBrush(QColor(0xd7, 0xa8, 0x6e));
         p.drawRect(QRectF(2, 5, 12, 9.5));
         p.setBrush(QColor(0xc0, 0x8e, 0x55));
         p.drawRect(QRectF(1.5, 2.5, 13, 3));
       }},
      {"tag",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0xb2, 0x6a, 0x00), 0.8));
         p.setBrush(QColor(0xff, 0xb7, 0x4d));
         p.drawPolygon(QPolygonF({{1.5, 8}, {7, 2.5}, {14.5, 2.5}, {14.5, 13.5}, {7, 13.5}}));
         p.setBrush(Qt::white);
         p.drawEllipse(QRectF(10, 6.5, 2.5, 2.5));
       }},
      {"lock",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.5));
         p.setBrush(Qt::NoBrush);
         p.drawArc(QRectF(4.5, 1.5, 7, 8), 0, 180 * 16);
         p.drawLine(QPointF(4.5, 5.5), QPointF(4.5, 7.5));
         p.drawLine(QPointF(11.5, 5.5), QPointF(11.5, 7.5));
         p.setPen(QPen(QColor(0x8a, 0x6d, 0x00), 0.8));
         p.setBrush(QColor(0xf2, 0xc2, 0x4b));
         p.drawRoundedRect(QRectF(2.5, 7, 11, 7.5), 1, 1);
       }},
      {"money",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0x2e, 0x7d, 0x32), 0.8));
         p.setBrush(QColor(0xa5, 0xd6, 0xa7));
         p.drawRect(QRectF(1, 4, 14, 8));
         p.setBrush(QColor(0x66, 0xbb, 0x6a));
         p.drawEllipse(QRectF(6, 5.5, 4, 5));
       }},
      {"truck",
       [](QPainter& p) {
         p.setPen(QPen(kInk, 0.8));
         p.setBrush(QColor(0x42, 0x8b, 0xca));
         p.drawRect(QRectF(1, 4, 9, 7));
         p.setBrush(QColor(0x90, 0xca, 0xf9));
         p.drawPolygon(QPolygonF({{10, 6}, {13, 6}, {15, 8.5}, {15, 11}, {10, 11}}));
         p.setBrush(kInk);
         p.drawEllipse(QRectF(2.5, 10.5, 3.5, 3.5));
         p.drawEllipse(QRectF(10.5, 10.5, 3.5, 3.5));
       }},
      {"chart",
       [](QPainter& p) {
         p.setPen(QPen(kInk, 0.8));
         p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
         const QColor colours[] = {QColor(0x2a, 0x9d, 0x8f), QColor(0xe9, 0xc4, 0x6a),
                                   QColor(0xe7, 0x6f, 0x51)};
         const double heights[] = {6, 11, 8};
         for (int i = 0; i < 3; ++i) {
           p.setBrush(colours[i]);
           p.drawRect(QRectF(2.5 + i * 4, 14 - heights[i], 3, heights[i]));
         }
       }},
      {"leaf",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0x2e, 0x7d, 0x32), 0.8));
         p.setBrush(QColor(0x81, 0xc7, 0x84));
         QPainterPath leaf;
         leaf.moveTo(2, 14);
         leaf.cubicTo(2, 5, 7, 2, 14, 2);
         leaf.cubicTo(14, 9, 10, 14, 2, 14);
         p.drawPath(leaf);
         p.drawLine(QPointF(2, 14), QPointF(11, 5));
       }},
  };
  return drawings;
}

QPixmap Render(const Draw& draw, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  draw(painter);
  return pixmap;
}

}  // namespace

const std::vector<std::string>& DefaultPictureKeys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> out;
    for (const auto& [key, draw] : Drawings()) out.push_back(key);
    return out;
  }();
  return keys;
}

QIcon DefaultPicture(const std::string& key) {
  const auto found = Drawings().find(key);
  if (found == Drawings().end()) return {};
  QIcon icon;
  for (int size : {16, 24, 32}) icon.addPixmap(Render(found->second, size));
  return icon;
}

}  // namespace kivdb::qt
