#include "import/gtfs/Feed.h"

#include <cpl_vsi.h>

#include <filesystem>

#include "import/InputError.h"

namespace qiwu::import {

std::string Feed::FilePath(const std::string& file) const {
  // The braces mark where the archive's own path ends, whatever its extension.
  return zipped ? "/vsizip/{" + path + "}/" + file : path + "/" + file;
}

bool Feed::Has(const std::string& file) const {
  VSIStatBufL stat;
  return VSIStatExL(FilePath(file).c_str(), &stat, VSI_STAT_EXISTS_FLAG | VSI_STAT_NATURE_FLAG) == 0 &&
         !VSI_ISDIR(stat.st_mode);
}

Feed OpenFeed(const std::string& path) {
  std::filesystem::path named(path);
  if (!named.has_filename()) named = named.parent_path();
  Feed feed{path, named.stem().string(), false};
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (std::filesystem::is_regular_file(status))
    feed.zipped = true;
  else if (!std::filesystem::is_directory(status))
    throw InputError(path, 0, "not a folder or a .zip file");
  return feed;
}

}  // namespace qiwu::import
