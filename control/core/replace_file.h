#pragma once
// ReplaceFileWith: replaces a file the user keeps (a saved or printed page) so that a failed write
// loses nothing: the content goes to a temporary file beside it, which is renamed over it only
// once every byte is on disk. On failure the temporary file is removed, the previous file stays as
// it was, and Error 61 "Disk full: " + path or 75 "Path/File access error: " + path is thrown.

#include <string>
#include <string_view>

namespace kivdb {

void ReplaceFileWith(const std::string& path, std::string_view content);

}  // namespace kivdb
