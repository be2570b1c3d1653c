#include "import/gtfs/ZipDirectory.h"

#include <algorithm>
#include <fstream>
#include <string_view>

#include "import/InputError.h"

namespace qiwu::import {
namespace {

constexpr std::uint64_t kMostUnzipped = std::uint64_t(16) << 30;
constexpr std::uint64_t kMostRatio = 500;
// A central directory of a feed's handful of files is small; past this the archive is not a feed.
constexpr std::uint64_t kLongestDirectory = 64 << 20;
constexpr std::uint32_t kEndSignature = 0x06054b50, kEnd64Signature = 0x06064b50,
                        kLocator64Signature = 0x07064b50, kEntrySignature = 0x02014b50;

std::uint64_t Little(std::string_view bytes, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | std::uint8_t(bytes[at + std::size_t(i)]);
  return value;
}

class ZipFile {
 public:
  explicit ZipFile(const std::string& path) : path_(path), in_(path, std::ios::binary) {
    in_.seekg(0, std::ios::end);
    size_ = in_ ? std::uint64_t(in_.tellg()) : 0;
  }
  std::uint64_t Size() const { return size_; }
  std::string Read(std::uint64_t at, std::uint64_t length) {
    if (at > size_ || length > size_ - at) Fail("the zip directory points past the end of the file");
    std::string bytes(length, '\0');
    in_.seekg(std::streamoff(at));
    if (!in_.read(bytes.data(), std::streamsize(length))) Fail("cannot read the zip directory");
    return bytes;
  }
  [[noreturn]] void Fail(const std::string& why) const { throw InputError(path_, 0, why); }

 private:
  std::string path_;
  std::ifstream in_;
  std::uint64_t size_ = 0;
};

struct Directory {
  std::uint64_t offset, size, entries;
};

Directory FindDirectory(ZipFile& zip) {
  const std::uint64_t tail = std::min<std::uint64_t>(zip.Size(), 22 + 0xFFFF);
  const std::string end = zip.Read(zip.Size() - tail, tail);
  for (std::size_t at = end.size() >= 22 ? end.size() - 22 : std::string::npos; at != std::string::npos;
       --at) {
    if (Little(end, at, 4) != kEndSignature) {
      if (at == 0) break;
      continue;
    }
    Directory found{Little(end, at + 16, 4), Little(end, at + 12, 4), Little(end, at + 10, 2)};
    const bool zip64 = found.offset == 0xFFFFFFFF || found.size == 0xFFFFFFFF || found.entries == 0xFFFF;
    if (zip64 && at >= 20 && Little(end, at - 20, 4) == kLocator64Signature) {
      const std::string record = zip.Read(Little(end, at - 20 + 8, 8), 56);
      if (Little(record, 0, 4) != kEnd64Signature) zip.Fail("a broken zip64 directory");
      found = {Little(record, 48, 8), Little(record, 40, 8), Little(record, 32, 8)};
    }
    return found;
  }
  zip.Fail("not a zip file (no central directory)");
}

}  // namespace

std::map<std::string, ZipEntry> ReadZipDirectory(const std::string& path) {
  ZipFile zip(path);
  const Directory directory = FindDirectory(zip);
  if (directory.size > kLongestDirectory) zip.Fail("a zip directory of more than 64 MiB");
  const std::string bytes = zip.Read(directory.offset, directory.size);
  std::map<std::string, ZipEntry> entries;
  for (std::size_t at = 0; at + 46 <= bytes.size();) {
    if (Little(bytes, at, 4) != kEntrySignature) zip.Fail("a broken zip directory");
    ZipEntry entry{Little(bytes, at + 20, 4), Little(bytes, at + 24, 4)};
    const std::size_t nameLength = Little(bytes, at + 28, 2), extraLength = Little(bytes, at + 30, 2);
    const std::size_t next = at + 46 + nameLength + extraLength + Little(bytes, at + 32, 2);
    if (next > bytes.size()) zip.Fail("a broken zip directory");
    // Sizes of 0xFFFFFFFF are in the zip64 extra field, uncompressed first.
    for (std::size_t extra = at + 46 + nameLength; extra + 4 <= at + 46 + nameLength + extraLength;) {
      const std::size_t length = Little(bytes, extra + 2, 2);
      if (Little(bytes, extra, 2) == 1) {
        std::size_t field = extra + 4;
        for (std::uint64_t* size : {&entry.uncompressed, &entry.compressed})
          if (*size == 0xFFFFFFFF && field + 8 <= extra + 4 + length && field + 8 <= bytes.size()) {
            *size = Little(bytes, field, 8);
            field += 8;
          }
      }
      extra += 4 + length;
    }
    ZipEntry& kept = entries[bytes.substr(at + 46, nameLength)];
    if (entry.uncompressed >= kept.uncompressed) kept = entry;
    at = next;
  }
  return entries;
}

std::string RefuseZipEntry(const ZipEntry& entry) {
  if (entry.uncompressed > kMostUnzipped)
    return "unzips to " + std::to_string(entry.uncompressed) + " bytes, more than 16 GiB";
  if (entry.uncompressed > kMostRatio * std::max<std::uint64_t>(entry.compressed, 1))
    return "unzips to " + std::to_string(entry.uncompressed) + " bytes, more than 500 times its " +
           std::to_string(entry.compressed) + " zipped bytes";
  return {};
}

}  // namespace qiwu::import
