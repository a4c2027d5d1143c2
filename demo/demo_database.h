#pragma once
// Builds the demonstration database from its sources: the SQL script kestrel.sql, the page
// template (template/front_page.html and template/page_head.html, loaded as XST3 rows 1 and 2)
// and the pictures drawn by code (the Picture column of Products, and the files that the
// PictureFile column and the pages name).

#include <filesystem>

#include "base/text.h"

namespace kivdb::demo {

// Creates `database` anew from the sources in `sourceFolder` (the demo/ folder). The file is
// built beside its final place and renamed over it only when complete, so a failed build leaves
// the previous database as it was. Throws std::runtime_error naming the step that failed.
void BuildDemoDatabase(const std::filesystem::path& sourceFolder,
                       const std::filesystem::path& database);

// Writes circle.gif, chart.gif, cbg.gif and plus.gif, and every product's picture file at the
// place its PictureFile column names, into `folder` (created when missing). PictureFile must be a
// relative path that stays inside the folder. Throws std::runtime_error.
void WriteDemoPictures(const std::filesystem::path& database, const std::filesystem::path& folder);

using text::WithCrLf;

}  // namespace kivdb::demo
