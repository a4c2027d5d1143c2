// The GIF writer, read back by an independent reader.

#include "demo/gif_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "demo/canvas.h"
#include "tests/demo/gif_reader.h"

namespace kivdb::demo {
namespace {

IndexedImage Picture(int width, int height, int colours, unsigned seed, bool noisy) {
  IndexedImage image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < colours; ++i) {
    image.palette.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7});
  }
  std::mt19937 random(seed);
  for (int i = 0; i < width * height; ++i) {
    const int value = noisy ? static_cast<int>(random() % colours) : (i / 7) % colours;
    image.pixels.push_back(static_cast<uint8_t>(value));
  }
  return image;
}

TEST(EncodeGif, ReadsBackToTheSamePixelsAndColours) {
  struct Case {
    const char* name;
    IndexedImage image;
  };
  std::vector<Case> cases = {
      {"one pixel", Picture(1, 1, 1, 1, false)},
      {"two colours in runs", Picture(40, 9, 2, 2, false)},
      {"five colours, a table of eight", Picture(13, 17, 5, 3, true)},
      // Noise fills the code table many times over, so the writer must start it afresh.
      {"256 colours of noise", Picture(300, 200, 256, 4, true)},
      {"one long run", Picture(2000, 30, 1, 5, false)},
  };
  cases.push_back({"with a transparent colour", Picture(8, 8, 3, 6, true)});
  cases.back().image.transparent = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    const std::optional<IndexedImage> read = testing::DecodeGif(EncodeGif(c.image), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->width, c.image.width);
    EXPECT_EQ(read->height, c.image.height);
    EXPECT_EQ(read->pixels, c.image.pixels);
    EXPECT_EQ(read->transparent, c.image.transparent);
    ASSERT_GE(read->palette.size(), c.image.palette.size());
    for (size_t i = 0; i < c.image.palette.size(); ++i) {
      EXPECT_EQ(read->palette[i].r, c.image.palette[i].r);
      EXPECT_EQ(read->palette[i].g, c.image.palette[i].g);
      EXPECT_EQ(read->palette[i].b, c.image.palette[i].b);
    }
  }
}

TEST(EncodeGif, RefusesPicturesItCannotWrite) {
  struct Case {
    const char* name;
    void (*spoil)(IndexedImage&);
  };
  const Case cases[] = {
      {"no width", [](IndexedImage& i) { i.width = 0; }},
      {"too tall", [](IndexedImage& i) { i.height = 70000; }},
      {"too few pixels", [](IndexedImage& i) { i.pixels.pop_back(); }},
      {"no palette", [](IndexedImage& i) { i.palette.clear(); }},
      {"a palette of 257", [](IndexedImage& i) { i.palette.resize(257); }},
      {"a pixel outside the palette", [](IndexedImage& i) { i.pixels[3] = 9; }},
      {"a transparent colour outside the palette", [](IndexedImage& i) { i.transparent = 4; }},
  };
  for (const Case& c : cases) {
    IndexedImage image = Picture(4, 4, 4, 1, true);
    c.spoil(image);
    EXPECT_THROW(EncodeGif(image), std::invalid_argument) << c.name;
  }
}

TEST(Canvas, KeepsTheColoursOfAPictureInItsPalette) {
  Canvas canvas(64, 64, {255, 255, 255});
  canvas.VerticalGradient({230, 240, 250}, {250, 235, 200});
  const Ellipse disc{0.5, 0.5, 0.3, 0.3};
  canvas.Fill(disc.Box(), disc, {31, 58, 95});
  const IndexedImage image = canvas.ToIndexed();
  ASSERT_LE(image.palette.size(), 256u);
  ASSERT_EQ(image.pixels.size(), 64u * 64u);
  // Every pixel keeps its colour to within the palette's bucket of 8 levels a channel.
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const Rgb want = canvas.At(x, y);
      const Rgb got = image.palette.at(image.pixels[static_cast<size_t>(y * 64 + x)]);
      ASSERT_NEAR(got.r, want.r, 8) << x << "," << y;
      ASSERT_NEAR(got.g, want.g, 8) << x << "," << y;
      ASSERT_NEAR(got.b, want.b, 8) << x << "," << y;
    }
  }
}

TEST(Canvas, KeepsTheCommonest256ColoursOfAPictureOfMore) {
  // 32 x 32 blocks of 8 x 8 pixels, each of its own colour: 1024 colours, equally frequent.
  Canvas canvas(256, 256, {0, 0, 0});
  for (int by = 0; by < 32; ++by) {
    for (int bx = 0; bx < 32; ++bx) {
      canvas.Fill({bx / 32.0, by / 32.0, (bx + 1) / 32.0, (by + 1) / 32.0},
                  [](double, double) { return true; },
                  {static_cast<uint8_t>(bx * 8 + 4), static_cast<uint8_t>(by * 8 + 4), 100});
    }
  }
  const IndexedImage image = canvas.ToIndexed();
  ASSERT_EQ(image.palette.size(), 256u);
  EXPECT_NO_THROW(EncodeGif(image));
  int exact = 0;
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      const Rgb want = canvas.At(x, y);
      const Rgb got = image.palette.at(image.pixels[static_cast<size_t>(y * 256 + x)]);
      if (want.r == got.r && want.g == got.g && want.b == got.b) ++exact;
    }
  }
  EXPECT_EQ(exact, 256 * 64);
}

TEST(Canvas, FillsInsideAShapeAndBlendsItsEdge) {
  Canvas canvas(20, 20, {255, 255, 255});
  const Ellipse disc{0.5, 0.5, 0.27, 0.27};  // its top edge crosses pixel row 4
  canvas.Fill(disc.Box(), disc, {0, 0, 0});
  EXPECT_EQ(canvas.At(10, 10).r, 0);    // the centre
  EXPECT_EQ(canvas.At(1, 1).r, 255);    // a corner, outside
  const int edge = canvas.At(10, 4).r;  // the top edge, partly covered
  EXPECT_GT(edge, 0);
  EXPECT_LT(edge, 255);
}

}  // namespace
}  // namespace kivdb::demo
