#include "import/CityPlacement.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>

#include "import/ImportFailure.h"

namespace qiwu::import {
namespace {

namespace fs = std::filesystem;

// In a new map folder between its exchange and its database's rename: the database's folder.
constexpr const char* kNote = ".database-pending";

std::string Why() { return std::strerror(errno); }

bool Exists(const fs::path& path) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

bool IsFolder(const fs::path& path) {
  std::error_code ignored;
  return fs::is_directory(fs::symlink_status(path, ignored));
}

bool Rename(const fs::path& from, const fs::path& to, unsigned flags) {
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags) == 0;
}

// The note's text: the name of a folder beside data/NAME.mdb; empty when unreadable, not a regular
// file (a FIFO would block) or not such a name.
std::string ReadNote(const fs::path& note, const std::string& city) {
  std::error_code error;
  if (!fs::is_regular_file(fs::symlink_status(note, error))) return "";
  std::ifstream in(note, std::ios::binary);
  char text[256];
  in.read(text, sizeof text);
  const std::string name(text, std::size_t(in.gcount()));
  const std::string prefix = "." + city + ".tmp-";
  const bool plain = name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
                     name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
  return plain ? name : "";
}

// A hidden entry an import leaves beside a city: .NAME.tmp-XXXXXX or .NAME.old-XXXXXX.
const std::regex& LeftoverName() {
  static const std::regex name(R"(^\.(.+)\.(tmp|old)-[A-Za-z0-9]+$)");
  return name;
}

}  // namespace

void PutInPlace(const std::string& newMap, const std::string& newDb, const std::string& mapTarget,
                const std::string& dbTarget, bool exchange) {
  const fs::path note = fs::path(newMap) / kNote;
  std::ofstream(note, std::ios::binary | std::ios::trunc)
      << fs::path(newDb).parent_path().filename().string();
  if (!Exists(note)) throw ImportFailure("cannot write " + note.string(), 1);
  // Without RENAME_EXCHANGE (NFS), the old map folder is moved aside into map/.NAME.old-…/map
  // first; after a kill the cleanup puts it back.
  fs::path aside;
  const auto fail = [&](const std::string& what) {
    const std::string why = Why();
    std::error_code ignored;
    fs::remove(note, ignored);
    if (!aside.empty()) fs::remove(aside, ignored);  // only when empty: the old map came back
    throw ImportFailure("cannot " + what + ": " + why, 1);
  };
  bool exchanged = false;
  if (Exists(mapTarget)) {
    exchanged = exchange && Rename(newMap, mapTarget, RENAME_EXCHANGE);
    if (!exchanged) {
      if (exchange && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        fail("put " + newMap + " in place of " + mapTarget);
      const std::string name = fs::path(newMap).filename().string();
      const std::size_t suffix = name.rfind(".tmp-");
      aside = fs::path(mapTarget).parent_path() /
              ("." + fs::path(mapTarget).filename().string() + ".old-" +
               (suffix == std::string::npos ? "aside" : name.substr(suffix + 5)));
      std::error_code error;
      fs::create_directory(aside, error);
      if (error || !Rename(mapTarget, aside / "map", RENAME_NOREPLACE)) fail("move " + mapTarget + " aside");
      if (!Rename(newMap, mapTarget, RENAME_NOREPLACE)) {
        Rename(aside / "map", mapTarget, RENAME_NOREPLACE);
        fail("move " + newMap + " to " + mapTarget);
      }
    }
  } else if (!Rename(newMap, mapTarget, RENAME_NOREPLACE)) {
    fail("move " + newMap + " to " + mapTarget);
  }
  if (std::rename(newDb.c_str(), dbTarget.c_str()) != 0) {
    const int renameError = errno;
    if (Rename(mapTarget, newMap, exchanged ? RENAME_EXCHANGE : RENAME_NOREPLACE) && !aside.empty())
      Rename(aside / "map", mapTarget, RENAME_NOREPLACE);
    errno = renameError;
    fail("move " + newDb + " to " + dbTarget);
  }
  std::error_code ignored;
  fs::remove(fs::path(mapTarget) / kNote, ignored);
  if (!aside.empty()) fs::remove_all(aside, ignored);
}

std::vector<std::string> CleanUpLeftovers(const std::string& programDir, const std::string& tempDir) {
  const fs::path map = fs::path(programDir) / "map", data = fs::path(programDir) / "data";
  std::vector<std::string> done;
  std::error_code error;
  // Replacements cut short between the map's exchange and the database's rename: finished.
  for (const auto& entry : fs::directory_iterator(map, error)) {
    const std::string city = entry.path().filename().string();
    const fs::path note = entry.path() / kNote;
    if (city.starts_with(".") || !IsFolder(entry.path()) || !Exists(note)) continue;
    if (const std::string folder = ReadNote(note, city); !folder.empty()) {
      const fs::path db = data / folder / (city + ".mdb");
      if (Exists(db) && std::rename(db.c_str(), (data / (city + ".mdb")).c_str()) == 0)
        done.push_back("finished replacing " + city);
    }
    fs::remove(note, error);
  }
  // Cities an older importer moved aside (.NAME.old-*/map and db) and never put back.
  std::vector<fs::path> leftovers;
  for (const fs::path& folder : {map, data})
    for (const auto& entry : fs::directory_iterator(folder, error))
      if (std::regex_match(entry.path().filename().string(), LeftoverName()))
        leftovers.push_back(entry.path());
  for (const fs::path& leftover : leftovers) {
    std::smatch parts;
    const std::string name = leftover.filename().string();
    std::regex_match(name, parts, LeftoverName());
    const std::string city = parts[1];
    if (parts[2] == "old" && leftover.parent_path() == map) {
      const bool mapBack = !Exists(map / city) && IsFolder(leftover / "map") &&
                           Rename(leftover / "map", map / city, RENAME_NOREPLACE);
      const bool dbBack = !Exists(data / (city + ".mdb")) && Exists(leftover / "db") &&
                          Rename(leftover / "db", data / (city + ".mdb"), RENAME_NOREPLACE);
      if (mapBack || dbBack) done.push_back("put back " + city);
    }
    fs::remove_all(leftover, error);
    done.push_back("removed " + leftover.string());
  }
  // Private folders of imports that ended without removing them.
  for (const auto& entry : fs::directory_iterator(tempDir, error)) {
    struct stat info {};
    if (!entry.path().filename().string().starts_with("qiwu-import-") ||
        ::lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
      continue;
    try {
      if (!FolderLock(entry.path().string(), FolderLock::Want::ExclusiveOrNothing).Exclusive()) continue;
    } catch (const ImportFailure&) {
      continue;
    }
    fs::remove_all(entry.path(), error);
    done.push_back("removed " + entry.path().string());
  }
  return done;
}

FolderLock::FolderLock(const std::string& folder, Want want) {
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
  if (fd_ < 0) throw ImportFailure("cannot open " + folder + ": " + Why(), 1);
  if (want == Want::Exclusive) {
    exclusive_ = ::flock(fd_, LOCK_EX) == 0;
    if (!exclusive_) throw ImportFailure("cannot lock " + folder + ": " + Why(), 1);
    return;
  }
  exclusive_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
  if (!exclusive_ && want == Want::ExclusiveOrShared && ::flock(fd_, LOCK_SH) != 0)
    throw ImportFailure("cannot lock " + folder + ": " + Why(), 1);
}

FolderLock::~FolderLock() { ::close(fd_); }

void FolderLock::Share() {
  if (exclusive_ && ::flock(fd_, LOCK_SH) == 0) exclusive_ = false;
}

}  // namespace qiwu::import
