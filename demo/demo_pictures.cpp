#include "demo/demo_pictures.h"

#include <array>
#include <cmath>
#include <functional>

#include "demo/canvas.h"
#include "demo/gif_writer.h"

namespace kivdb::demo {
namespace {

// The colours of the page template, so the pictures sit well on its pages.
constexpr Rgb kNavy{31, 58, 95};
constexpr Rgb kTeal{42, 157, 143};
constexpr Rgb kTealLight{138, 212, 200};
constexpr Rgb kTealDark{28, 110, 100};
constexpr Rgb kSand{233, 196, 106};
constexpr Rgb kCoral{231, 111, 81};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrey{120, 130, 140};

// A small picture whose every pixel takes the palette index `colorAt` gives for its centre;
// index 0 is transparent.
IndexedImage Paint(int width, int height, std::vector<Rgb> palette,
                   const std::function<int(double, double)>& colorAt) {
  IndexedImage image;
  image.width = width;
  image.height = height;
  image.palette = std::move(palette);
  image.transparent = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.pixels.push_back(static_cast<uint8_t>(colorAt((x + 0.5) / width, (y + 0.5) / height)));
    }
  }
  return image;
}

IndexedImage Bullet() {
  const Ellipse outer{0.5, 0.5, 0.46, 0.46};
  const Ellipse inner{0.5, 0.5, 0.34, 0.34};
  const Ellipse shine{0.4, 0.38, 0.12, 0.12};
  return Paint(14, 14, {kWhite, kTealDark, kTeal, kTealLight}, [&](double u, double v) {
    if (shine(u, v)) return 3;
    if (inner(u, v)) return 2;
    return outer(u, v) ? 1 : 0;
  });
}

IndexedImage ChartIcon() {
  struct Bar {
    double left, top;
    int color;
  };
  const std::array<Bar, 3> bars{{{0.12, 0.5, 2}, {0.4, 0.18, 3}, {0.68, 0.36, 4}}};
  return Paint(20, 20, {kWhite, kNavy, kTeal, kCoral, kSand}, [&](double u, double v) {
    if (v > 0.9) return 1;  // the axis
    for (const Bar& bar : bars) {
      if (u >= bar.left && u <= bar.left + 0.22 && v >= bar.top) return bar.color;
    }
    return 0;
  });
}

// Stretched over the whole bar: light in the middle and darker at the sides, so a bar looks round.
IndexedImage BarFill() {
  IndexedImage image;
  image.width = 32;
  image.height = 2;
  image.palette.push_back(kTealDark);
  for (int x = 0; x < image.width; ++x) {
    const double t = std::abs((x + 0.5) / image.width - 0.4) / 0.6;
    image.palette.push_back(Mix(kTealLight, kTealDark, t));
  }
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) image.pixels.push_back(static_cast<uint8_t>(x + 1));
  }
  return image;
}

IndexedImage PlusBox() {
  constexpr int kSize = 11;
  IndexedImage image;
  image.width = kSize;
  image.height = kSize;
  image.palette = {kWhite, kGrey, kNavy, Rgb{236, 242, 248}};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      int c = 3;
      if (x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1) c = 1;
      if ((y == kSize / 2 && x >= 2 && x <= kSize - 3) ||
          (x == kSize / 2 && y >= 2 && y <= kSize - 3)) {
        c = 2;
      }
      image.pixels.push_back(static_cast<uint8_t>(c));
    }
  }
  image.transparent = -1;
  return image;
}

// Product colours, taken in turn by product number.
constexpr std::array<Rgb, 8> kProductColors{{{214, 69, 65},
                                             {42, 157, 143},
                                             {233, 170, 60},
                                             {66, 103, 178},
                                             {142, 88, 176},
                                             {96, 160, 70},
                                             {230, 120, 160},
                                             {70, 70, 80}}};

void Mug(Canvas& c, Rgb color) {
  const Ellipse handleOuter{0.68, 0.55, 0.15, 0.15};
  const Ellipse handleInner{0.68, 0.55, 0.085, 0.085};
  c.Fill(
      handleOuter.Box(),
      [&](double u, double v) { return handleOuter(u, v) && !handleInner(u, v); },
      Mix(color, kNavy, 0.3));
  const RoundRect body{0.26, 0.3, 0.7, 0.8, 0.06};
  c.Fill(body.Box(), body, color);
  const RoundRect shine{0.32, 0.36, 0.38, 0.72, 0.03};
  c.Fill(shine.Box(), shine, kWhite, 0.45);
  const Ellipse rim{0.48, 0.3, 0.22, 0.05};
  c.Fill(rim.Box(), rim, Mix(color, kNavy, 0.45));
}

void PottedPlant(Canvas& c, Rgb color) {
  const Rgb leaf{70, 140, 70};
  for (int i = 0; i < 5; ++i) {
    const double angle = -0.9 + i * 0.45;
    const Ellipse e{0.5 + 0.16 * std::sin(angle), 0.36 - 0.1 * std::cos(angle), 0.07, 0.17, angle};
    c.Fill(e.Box(), e, Mix(leaf, kNavy, 0.1 * (i % 2)));
  }
  const Ellipse flower{0.5, 0.2, 0.07, 0.07};
  c.Fill(flower.Box(), flower, color);
  const Polygon pot{{0.3, 0.7, 0.63, 0.37}, {0.52, 0.52, 0.84, 0.84}};
  c.Fill(pot.Box(), pot, Mix(color, Rgb{190, 100, 60}, 0.6));
  const RoundRect band{0.28, 0.5, 0.72, 0.58, 0.02};
  c.Fill(band.Box(), band, Mix(color, kNavy, 0.25));
}

void Lamp(Canvas& c, Rgb color) {
  const Ellipse glow{0.5, 0.5, 0.3, 0.3};
  c.Fill(glow.Box(), glow, Rgb{255, 240, 170}, 0.55);
  const RoundRect stem{0.48, 0.4, 0.52, 0.8, 0.01};
  c.Fill(stem.Box(), stem, kGrey);
  const Ellipse base{0.5, 0.8, 0.16, 0.045};
  c.Fill(base.Box(), base, Mix(kGrey, kNavy, 0.4));
  const Polygon shade{{0.38, 0.62, 0.74, 0.26}, {0.16, 0.16, 0.44, 0.44}};
  c.Fill(shade.Box(), shade, color);
  const Polygon light{{0.4, 0.46, 0.36, 0.3}, {0.18, 0.18, 0.42, 0.42}};
  c.Fill(light.Box(), light, kWhite, 0.3);
}

void Cushion(Canvas& c, Rgb color) {
  const RoundRect pad{0.2, 0.24, 0.8, 0.8, 0.1};
  c.Fill(pad.Box(), pad, color);
  const Rgb stripe = Mix(color, kWhite, 0.55);
  c.Fill(
      pad.Box(), [&](double u, double v) { return pad(u, v) && std::fmod(u + v, 0.16) < 0.05; },
      stripe, 0.8);
  const Ellipse button{0.5, 0.52, 0.04, 0.04};
  c.Fill(button.Box(), button, Mix(color, kNavy, 0.5));
}

void Notebook(Canvas& c, Rgb color) {
  const RoundRect cover{0.28, 0.18, 0.76, 0.84, 0.025};
  c.Fill(cover.Box(), cover, color);
  const RoundRect label{0.4, 0.3, 0.68, 0.42, 0.01};
  c.Fill(label.Box(), label, kWhite);
  for (int i = 0; i < 7; ++i) {
    const Ellipse ring{0.28, 0.25 + i * 0.09, 0.035, 0.022};
    c.Fill(ring.Box(), ring, kGrey);
  }
}

void Parcel(Canvas& c, Rgb color) {
  const RoundRect box{0.24, 0.3, 0.76, 0.8, 0.02};
  c.Fill(box.Box(), box, Mix(color, kSand, 0.6));
  const RoundRect tape{0.46, 0.3, 0.54, 0.8, 0.0};
  c.Fill(tape.Box(), tape, Mix(color, kNavy, 0.2));
}

}  // namespace

std::vector<PictureFile> PagePictures() {
  return {{"circle.gif", EncodeGif(Bullet())},
          {"chart.gif", EncodeGif(ChartIcon())},
          {"cbg.gif", EncodeGif(BarFill())},
          {"plus.gif", EncodeGif(PlusBox())}};
}

std::vector<uint8_t> ProductPicture(int category, int productId, int size) {
  const Rgb color =
      kProductColors[static_cast<size_t>(std::abs(productId)) % kProductColors.size()];
  Canvas canvas(size, size, kWhite);
  canvas.VerticalGradient(Mix(color, kWhite, 0.85), Mix(kSand, kWhite, 0.7));
  const Ellipse shadow{0.5, 0.84, 0.3, 0.05};
  canvas.Fill(shadow.Box(), shadow, kNavy, 0.18);
  switch (category) {
    case 1:
      Mug(canvas, color);
      break;
    case 2:
      PottedPlant(canvas, color);
      break;
    case 3:
      Lamp(canvas, color);
      break;
    case 4:
      Cushion(canvas, color);
      break;
    case 5:
      Notebook(canvas, color);
      break;
    default:
      Parcel(canvas, color);
      break;
  }
  return EncodeGif(canvas.ToIndexed());
}

}  // namespace kivdb::demo
