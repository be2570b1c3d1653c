#pragma once
// One GTFS feed on disk: a folder of .txt files or a .zip holding them.
#include <string>

namespace qiwu::import {

struct Feed {
  std::string path;   // as given
  std::string label;  // the file or folder name without extension, to tell feeds apart
  bool zipped = false;

  // The GDAL virtual file system path of a file of the feed.
  std::string FilePath(const std::string& file) const;
  // How messages name that file.
  std::string FileName(const std::string& file) const { return path + "/" + file; }
  bool Has(const std::string& file) const;
};

// The feed at `path`; throws InputError unless it is a folder or a regular file.
Feed OpenFeed(const std::string& path);

}  // namespace qiwu::import
