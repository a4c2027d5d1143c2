#pragma once
// Canvas: a small RGB drawing surface for the demo's generated pictures. Shapes are painted with
// 4 x 4 samples per pixel, so edges come out smooth; ToIndexed turns the result into a palette
// picture for the GIF writer.
//
// Coordinates are in units of the picture's width and height: (0, 0) is the top left corner and
// (1, 1) the bottom right, so one drawing serves every size.

#include <algorithm>
#include <cmath>
#include <vector>

#include "demo/gif_writer.h"

namespace kivdb::demo {

// A box in unit coordinates that holds a shape; pixels outside it are not tested.
struct Bounds {
  double left, top, right, bottom;
};

class Canvas {
 public:
  Canvas(int width, int height, Rgb background);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Fills the whole canvas with a gradient from `top` to `bottom`.
  void VerticalGradient(Rgb top, Rgb bottom);

  // Paints `color` over every sample (u, v) inside `bounds` for which `inside(u, v)` holds,
  // blended by the share of samples covered and by `opacity`.
  template <class Inside>
  void Fill(const Bounds& bounds, Inside inside, Rgb color, double opacity = 1.0) {
    constexpr int kSamples = 4;
    const int x0 = std::max(0, static_cast<int>(std::floor(bounds.left * width_)));
    const int y0 = std::max(0, static_cast<int>(std::floor(bounds.top * height_)));
    const int x1 = std::min(width_, static_cast<int>(std::ceil(bounds.right * width_)));
    const int y1 = std::min(height_, static_cast<int>(std::ceil(bounds.bottom * height_)));
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        int hits = 0;
        for (int sy = 0; sy < kSamples; ++sy) {
          for (int sx = 0; sx < kSamples; ++sx) {
            const double u = (x + (sx + 0.5) / kSamples) / width_;
            const double v = (y + (sy + 0.5) / kSamples) / height_;
            if (inside(u, v)) ++hits;
          }
        }
        if (hits > 0) Blend(x, y, color, opacity * hits / (kSamples * kSamples));
      }
    }
  }

  // The colour at a pixel, for tests.
  Rgb At(int x, int y) const;

  // A palette picture of the canvas's own colours: its 256 most frequent ones (shades closer than
  // 8 levels a channel count as one), every other colour drawn as the nearest of them.
  IndexedImage ToIndexed() const;

 private:
  void Blend(int x, int y, Rgb color, double alpha);

  int width_;
  int height_;
  std::vector<float> rgb_;  // three channels per pixel, 0 to 255
};

// Shape tests in unit coordinates, for Canvas::Fill.
struct Ellipse {
  double cx, cy, rx, ry;
  double angle = 0;  // radians, turning the ellipse about its centre
  bool operator()(double u, double v) const;
  Bounds Box() const;
};

struct RoundRect {
  double left, top, right, bottom, radius;
  bool operator()(double u, double v) const;
  Bounds Box() const { return {left, top, right, bottom}; }
};

// A convex or concave polygon, even-odd rule.
struct Polygon {
  std::vector<double> xs, ys;
  bool operator()(double u, double v) const;
  Bounds Box() const;
};

// A colour between `a` (t = 0) and `b` (t = 1).
Rgb Mix(Rgb a, Rgb b, double t);

}  // namespace kivdb::demo
