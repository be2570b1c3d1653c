#pragma once
// The sizes a zip file's central directory declares for its entries, read directly (GDAL's zip
// reader does not tell the compressed size), so that an entry that would unzip to far more than
// its share of the archive is refused before it is read.
#include <cstdint>
#include <map>
#include <string>

namespace qiwu::import {

struct ZipEntry {
  std::uint64_t compressed = 0;
  std::uint64_t uncompressed = 0;
};

// Entries by name; of two entries with one name, the larger. Throws InputError when the file has
// no readable central directory.
std::map<std::string, ZipEntry> ReadZipDirectory(const std::string& path);

// Empty when an entry of these sizes may be read; otherwise why not: more than 16 GiB, or more than
// 500 times its compressed size.
std::string RefuseZipEntry(const ZipEntry& entry);

}  // namespace qiwu::import
