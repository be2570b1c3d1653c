#pragma once
// Putting a newly written city in place, and what an import that was killed left behind. A city
// is two entries beside the program: the folder map/NAME and the database data/NAME.mdb. The new
// map folder is exchanged with the old one in one step (renameat2 with RENAME_EXCHANGE) and the
// new database renamed over the old; between the two steps the new map folder holds a note naming
// the temporary folder of its database, so that the next import can finish what a kill cut short.
#include <string>
#include <vector>

namespace qiwu::import {

// Puts the folder newMap (beside mapTarget, named .NAME.tmp-…) and the database newDb (in a
// temporary folder beside dbTarget) in place; the old map folder, if any, ends up at newMap.
// Without `exchange` (or where the file system cannot exchange), the old map folder is moved aside
// first and removed at the end. Throws ImportFailure, and then the old city stays as it was.
void PutInPlace(const std::string& newMap, const std::string& newDb, const std::string& mapTarget,
                const std::string& dbTarget, bool exchange = true);

// Finishes the replacements a kill interrupted in programDir, puts back the cities an older
// importer left in map/.NAME.old-* folders, removes every other map/.NAME.tmp-*, .NAME.old-* and
// data/.NAME.tmp-* folder, and removes this user's private folders qiwu-import-* in tempDir that no
// running import holds. Only while no other import writes into programDir (ImportLock). Returns a
// line for each thing done.
std::vector<std::string> CleanUpLeftovers(const std::string& programDir, const std::string& tempDir);

// An advisory lock (flock) on a folder while it lives. Imports into one program directory hold it
// shared; the one that gets it exclusively knows that no other import runs there. An import holds
// its private folder exclusively.
class FolderLock {
 public:
  enum class Want {
    Exclusive,          // waits for it
    ExclusiveOrShared,  // exclusive when it can be had at once, else waits for a shared one
    ExclusiveOrNothing  // exclusive when it can be had at once, else none
  };
  // Throws ImportFailure when the folder cannot be opened.
  FolderLock(const std::string& folder, Want want);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Exclusive() const { return exclusive_; }
  // From exclusive to shared.
  void Share();

 private:
  int fd_ = -1;
  bool exclusive_ = false;
};

}  // namespace qiwu::import
