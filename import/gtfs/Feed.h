#pragma once
// One GTFS feed on disk: a folder of .txt files or a .zip holding them.
#include <cstdint>
#include <map>
#include <string>

#include "import/Progress.h"
#include "import/gtfs/CsvReader.h"
#include "import/gtfs/ZipDirectory.h"

namespace qiwu::import {

struct Feed {
  std::string path;   // as given
  std::string label;  // the file or folder name without extension, to tell feeds apart
  bool zipped = false;
  std::map<std::string, ZipEntry> entries;  // of a zip, as its directory declares them

  // The GDAL virtual file system path of a file of the feed.
  std::string FilePath(const std::string& file) const;
  // How messages name that file.
  std::string FileName(const std::string& file) const { return path + "/" + file; }
  bool Has(const std::string& file) const;
  // The most bytes the file may hold: what its zip entry declares, or no bound. Throws InputError
  // when the entry would unzip to more than ZipDirectory allows.
  std::uint64_t MostBytes(const std::string& file) const;
};

// The feed at `path`; throws InputError unless it is a folder or a regular file, a zip file whose
// path holds no '}' (which would end the archive's name in GDAL's path of an entry) and whose
// directory can be read.
Feed OpenFeed(const std::string& path);

// A file of the feed opened for reading, told to `progress`.
CsvReader OpenCsv(const Feed& feed, const std::string& file, const Progress& progress);

}  // namespace qiwu::import
