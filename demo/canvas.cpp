#include "demo/canvas.h"

namespace kivdb::demo {
namespace {

// Colours are counted in buckets of 5 bits a channel: near-equal shades share a bucket.
constexpr int kBucketBits = 5;
constexpr int kBuckets = 1 << (3 * kBucketBits);

int Bucket(const float* p) {
  auto channel = [](float v) {
    return std::clamp(static_cast<int>(v) >> (8 - kBucketBits), 0, 31);
  };
  return (channel(p[0]) << (2 * kBucketBits)) | (channel(p[1]) << kBucketBits) | channel(p[2]);
}

int Distance(const Rgb& a, const Rgb& b) {
  const int dr = a.r - b.r;
  const int dg = a.g - b.g;
  const int db = a.b - b.b;
  return 2 * dr * dr + 4 * dg * dg + 3 * db * db;  // green counts most, as the eye sees it
}

}  // namespace

Canvas::Canvas(int width, int height, Rgb background)
    : width_(width), height_(height), rgb_(static_cast<size_t>(width) * height * 3) {
  for (size_t i = 0; i < rgb_.size(); i += 3) {
    rgb_[i] = background.r;
    rgb_[i + 1] = background.g;
    rgb_[i + 2] = background.b;
  }
}

void Canvas::VerticalGradient(Rgb top, Rgb bottom) {
  for (int y = 0; y < height_; ++y) {
    const Rgb c = Mix(top, bottom, height_ > 1 ? static_cast<double>(y) / (height_ - 1) : 0);
    for (int x = 0; x < width_; ++x) Blend(x, y, c, 1.0);
  }
}

void Canvas::Blend(int x, int y, Rgb color, double alpha) {
  float* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
  const auto a = static_cast<float>(alpha);
  p[0] += (color.r - p[0]) * a;
  p[1] += (color.g - p[1]) * a;
  p[2] += (color.b - p[2]) * a;
}

Rgb Canvas::At(int x, int y) const {
  const float* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
  return {static_cast<uint8_t>(std::lround(p[0])), static_cast<uint8_t>(std::lround(p[1])),
          static_cast<uint8_t>(std::lround(p[2]))};
}

IndexedImage Canvas::ToIndexed() const {
  // The 256 most frequent colours become the palette (each the mean of its bucket), and every
  // pixel takes the nearest of them: drawings have few colours, so nothing needs dithering.
  struct Tally {
    double r = 0, g = 0, b = 0;
    long count = 0;
  };
  std::vector<Tally> tallies(kBuckets);
  const size_t pixels = static_cast<size_t>(width_) * height_;
  for (size_t i = 0; i < pixels; ++i) {
    const float* p = &rgb_[i * 3];
    Tally& t = tallies[static_cast<size_t>(Bucket(p))];
    t.r += p[0];
    t.g += p[1];
    t.b += p[2];
    ++t.count;
  }
  std::vector<int> used;
  for (int bucket = 0; bucket < kBuckets; ++bucket) {
    if (tallies[static_cast<size_t>(bucket)].count > 0) used.push_back(bucket);
  }
  const size_t kept = std::min<size_t>(used.size(), 256);
  std::partial_sort(used.begin(), used.begin() + static_cast<std::ptrdiff_t>(kept), used.end(),
                    [&](int a, int b) {
                      const long ca = tallies[static_cast<size_t>(a)].count;
                      const long cb = tallies[static_cast<size_t>(b)].count;
                      return ca != cb ? ca > cb : a < b;
                    });

  IndexedImage image;
  image.width = width_;
  image.height = height_;
  std::vector<int> indexOf(kBuckets, -1);
  for (size_t i = 0; i < kept; ++i) {
    const Tally& t = tallies[static_cast<size_t>(used[i])];
    image.palette.push_back({static_cast<uint8_t>(std::lround(t.r / t.count)),
                             static_cast<uint8_t>(std::lround(t.g / t.count)),
                             static_cast<uint8_t>(std::lround(t.b / t.count))});
    indexOf[static_cast<size_t>(used[i])] = static_cast<int>(i);
  }
  // A bucket left out takes the palette colour nearest to its own mean, found once per bucket.
  for (size_t i = kept; i < used.size(); ++i) {
    const Tally& t = tallies[static_cast<size_t>(used[i])];
    const Rgb mean{static_cast<uint8_t>(std::lround(t.r / t.count)),
                   static_cast<uint8_t>(std::lround(t.g / t.count)),
                   static_cast<uint8_t>(std::lround(t.b / t.count))};
    int best = 0;
    for (int j = 1; j < static_cast<int>(kept); ++j) {
      if (Distance(mean, image.palette[static_cast<size_t>(j)]) <
          Distance(mean, image.palette[static_cast<size_t>(best)])) {
        best = j;
      }
    }
    indexOf[static_cast<size_t>(used[i])] = best;
  }
  image.pixels.resize(pixels);
  for (size_t i = 0; i < pixels; ++i) {
    image.pixels[i] = static_cast<uint8_t>(indexOf[static_cast<size_t>(Bucket(&rgb_[i * 3]))]);
  }
  return image;
}

bool Ellipse::operator()(double u, double v) const {
  const double dx = u - cx;
  const double dy = v - cy;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const double x = (dx * c + dy * s) / rx;
  const double y = (-dx * s + dy * c) / ry;
  return x * x + y * y <= 1.0;
}

Bounds Ellipse::Box() const {
  const double r = std::max(rx, ry);
  return {cx - r, cy - r, cx + r, cy + r};
}

bool RoundRect::operator()(double u, double v) const {
  if (u < left || u > right || v < top || v > bottom) return false;
  const double x = std::clamp(u, left + radius, right - radius);
  const double y = std::clamp(v, top + radius, bottom - radius);
  return (u - x) * (u - x) + (v - y) * (v - y) <= radius * radius;
}

bool Polygon::operator()(double u, double v) const {
  bool in = false;
  for (size_t i = 0, j = xs.size() - 1; i < xs.size(); j = i++) {
    if ((ys[i] > v) != (ys[j] > v) && u < (xs[j] - xs[i]) * (v - ys[i]) / (ys[j] - ys[i]) + xs[i]) {
      in = !in;
    }
  }
  return in;
}

Bounds Polygon::Box() const {
  const auto [minX, maxX] = std::minmax_element(xs.begin(), xs.end());
  const auto [minY, maxY] = std::minmax_element(ys.begin(), ys.end());
  return {*minX, *minY, *maxX, *maxY};
}

Rgb Mix(Rgb a, Rgb b, double t) {
  auto mix = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (y - x) * std::clamp(t, 0.0, 1.0)));
  };
  return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

}  // namespace kivdb::demo
