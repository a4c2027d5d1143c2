#pragma once
// The demo's pictures, drawn by code: the four pictures every report page refers to (circle.gif
// before paragraph titles, chart.gif before chart captions, cbg.gif stretched into chart bars,
// plus.gif before records that unfold) and one picture per product of the demo shop.

#include <cstdint>
#include <string>
#include <vector>

namespace kivdb::demo {

struct PictureFile {
  std::string name;  // file name, as the pages refer to it
  std::vector<uint8_t> bytes;
};

// circle.gif, chart.gif, cbg.gif and plus.gif.
std::vector<PictureFile> PagePictures();

// A GIF of `size` x `size` pixels showing a product of `category` (1 kitchen, 2 garden,
// 3 lighting, 4 textiles, 5 stationery; any other number draws a plain parcel), coloured by its
// `productId` so that products of one category differ.
std::vector<uint8_t> ProductPicture(int category, int productId, int size);

}  // namespace kivdb::demo
