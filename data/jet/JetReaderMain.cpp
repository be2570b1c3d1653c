// qiwu-jet-reader FILE: reads a Jet (Access .mdb) file and writes it to standard output as an
// SQLite database image (sqlite3_serialize), exit code 0. On failure writes a Chinese message
// to standard output instead, exit code 1. libmdb's own diagnostics go to standard error.
#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>

#include "data/SqliteHandles.h"
#include "data/jet/JetToSqlite.h"

namespace {
int Fail(const std::string& message) {
  std::fwrite(message.data(), 1, message.size(), stdout);
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--version") return std::puts("qiwu-jet-reader " QIWU_VERSION) < 0;
  if (argc == 2 && std::string(argv[1]) == "--help") return std::puts("用法：qiwu-jet-reader 文件") < 0;
  if (argc != 2) return Fail("用法：qiwu-jet-reader 文件");
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open(":memory:", &raw);
  const SqliteDb db(raw);
  if (opened != SQLITE_OK) return Fail("无法建立内存数据库");
  std::string failure;
  if (!CopyJetToSqlite(argv[1], db.get(), failure)) return Fail(failure);
  sqlite3_int64 size = 0;
  const std::unique_ptr<unsigned char, void (*)(void*)> image(sqlite3_serialize(db.get(), "main", &size, 0),
                                                              &sqlite3_free);
  if (!image) return Fail("内存不足");
  const bool written = std::fwrite(image.get(), 1, size_t(size), stdout) == size_t(size);
  return written && std::fflush(stdout) == 0 ? 0 : Fail("无法输出数据");
}
