#include "wizard/ui/editors/intro_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kivwz {
namespace {

const QColor kInk{40, 52, 84};
const QColor kFixed{24, 96, 168};
const QColor kGenerating{196, 92, 20};
const QColor kNonGenerating{46, 128, 60};

void DrawNode(QPainter& painter, QPointF at, const QColor& colour, double size) {
  painter.setPen(QPen(colour.darker(140), 1.2));
  painter.setBrush(colour);
  painter.drawRoundedRect(QRectF(at.x(), at.y() - size / 2, size, size), 2, 2);
}

}  // namespace

QPixmap DrawIntroPicture(QSize size) {
  QPixmap picture(size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const double w = size.width();
  const double h = size.height();

  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0, QColor(232, 238, 250));
  sky.setColorAt(1, QColor(204, 216, 240));
  painter.setPen(Qt::NoPen);
  painter.setBrush(sky);
  painter.drawRoundedRect(QRectF(0, 0, w, h), 10, 10);

  // The navigation tree on the left half: a root, fixed and generating branches, leaves.
  const double unit = h / 12.0;
  const double node = unit * 0.7;
  const double x0 = w * 0.06;
  struct Row {
    int depth;
    QColor colour;
  };
  const Row rows[] = {{0, kInk},           {1, kFixed},      {2, kGenerating}, {3, kNonGenerating},
                      {3, kNonGenerating}, {2, kGenerating}, {1, kFixed},      {2, kNonGenerating}};
  painter.setPen(QPen(kInk, 1.2, Qt::DotLine));
  for (int i = 1; i < 8; ++i) {
    const double y = unit * (1.5 + i * 1.25);
    const double x = x0 + rows[i].depth * unit;
    int parent = i - 1;
    while (rows[parent].depth >= rows[i].depth) --parent;
    const double parentY = unit * (1.5 + parent * 1.25);
    const double parentX = x0 + rows[parent].depth * unit + node / 2;
    painter.drawLine(QPointF(parentX, parentY + node / 2), QPointF(parentX, y));
    painter.drawLine(QPointF(parentX, y), QPointF(x, y));
  }
  for (int i = 0; i < 8; ++i) {
    const double y = unit * (1.5 + i * 1.25);
    const double x = x0 + rows[i].depth * unit;
    DrawNode(painter, QPointF(x, y), rows[i].colour, node);
    painter.setPen(QPen(kInk.lighter(150), unit * 0.22, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(x + node * 1.5, y),
                     QPointF(x + node * 1.5 + unit * (2.6 - 0.3 * rows[i].depth), y));
  }

  // The arrow from the clicked node to its report page.
  const QPointF from(w * 0.40, unit * (1.5 + 2 * 1.25));
  const QPointF to(w * 0.52, h * 0.32);
  QPainterPath arrow(from);
  arrow.cubicTo(from + QPointF(w * 0.06, 0), to - QPointF(w * 0.06, 0), to);
  painter.setPen(QPen(kGenerating, 2.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(arrow);
  painter.setBrush(kGenerating);
  painter.drawPolygon(QPolygonF({to, to + QPointF(-8, -5), to + QPointF(-8, 5)}));

  // The report page on the right: a title bar, a header paragraph, a table and a bar chart.
  const QRectF page(w * 0.53, h * 0.08, w * 0.42, h * 0.84);
  painter.setPen(QPen(kInk, 1.4));
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(page, 6, 6);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kFixed);
  painter.drawRect(QRectF(page.left() + 1, page.top() + 1, page.width() - 2, unit * 0.8));
  painter.setBrush(QColor(120, 130, 150));
  const double left = page.left() + page.width() * 0.08;
  const double inner = page.width() * 0.84;
  for (int i = 0; i < 3; ++i) {
    painter.drawRect(
        QRectF(left, page.top() + unit * (1.4 + i * 0.55), inner * (0.9 - i * 0.2), unit * 0.22));
  }
  painter.setPen(QPen(QColor(150, 160, 185), 1));
  painter.setBrush(Qt::NoBrush);
  const double tableTop = page.top() + unit * 3.3;
  for (int r = 0; r <= 4; ++r) {
    painter.drawLine(QPointF(left, tableTop + r * unit * 0.5),
                     QPointF(left + inner, tableTop + r * unit * 0.5));
  }
  for (int c = 0; c <= 3; ++c) {
    painter.drawLine(QPointF(left + c * inner / 3, tableTop),
                     QPointF(left + c * inner / 3, tableTop + 2 * unit));
  }
  const double base = page.bottom() - unit * 0.8;
  const double heights[] = {0.35, 0.6, 0.45, 0.8, 0.55, 0.7};
  const double bar = inner / 6;
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < 6; ++i) {
    painter.setBrush(i % 2 ? kGenerating : kNonGenerating);
    const double barHeight = heights[i] * unit * 3.2;
    painter.drawRect(QRectF(left + i * bar + bar * 0.15, base - barHeight, bar * 0.7, barHeight));
  }
  painter.setPen(QPen(kInk, 1.2));
  painter.drawLine(QPointF(left, base), QPointF(left + inner, base));
  return picture;
}

}  // namespace kivwz
