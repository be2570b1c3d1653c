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

std::uint64_t Feed::MostBytes(const std::string& file) const {
  const auto entry = entries.find(file);
  if (!zipped || entry == entries.end()) return UINT64_MAX;
  if (const std::string refusal = RefuseZipEntry(entry->second); !refusal.empty())
    throw InputError(FileName(file), 0, refusal);
  return entry->second.uncompressed;
}

Feed OpenFeed(const std::string& path) {
  std::filesystem::path named(path);
  if (!named.has_filename()) named = named.parent_path();
  Feed feed{path, named.stem().string(), false, {}};
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (std::filesystem::is_regular_file(status)) {
    if (path.find('}') != std::string::npos)
      throw InputError(
          path, 0, "a zipped feed's path may not hold '}' (GDAL's zip paths end the archive's name there)");
    feed.zipped = true;
    feed.entries = ReadZipDirectory(path);
  } else if (!std::filesystem::is_directory(status))
    throw InputError(path, 0, "not a folder or a .zip file");
  return feed;
}

CsvReader OpenCsv(const Feed& feed, const std::string& file, const Progress& progress) {
  if (progress) progress("reading " + feed.FileName(file));
  return CsvReader(feed.FilePath(file), feed.FileName(file), feed.MostBytes(file));
}

}  // namespace qiwu::import
