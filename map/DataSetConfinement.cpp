#include "map/DataSetConfinement.h"

#include <cpl_error.h>
#include <cpl_vsi_virtual.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <QFile>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Read-only folders GDAL and PROJ consult for their own definitions.
constexpr const char* kSystemFolders[] = {"/usr/share/gdal", "/usr/share/proj"};

struct Root {
  std::string folder;  // canonical
  bool writable = false;
  bool scratch = false;  // the reader's own scratch space: its SQLite databases may be written
};

struct Confinement {
  std::mutex mutex;
  std::vector<Root> roots;
  std::string refused;
  std::string gdalFailure;
  std::atomic<bool> active{false};
  std::atomic<bool> stalled{false};
  std::atomic<Clock::rep> deadline{0};
};

Confinement& State() {
  static Confinement state;
  return state;
}

bool Under(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '/';
}

std::string Canonical(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

// The path with every link resolved; a missing file is resolved through its folder. Empty when
// not even the folder exists.
std::string Resolve(const char* path) {
  const std::string given(path);
  if (std::string canonical = Canonical(given); !canonical.empty()) return canonical;
  const std::size_t slash = given.rfind('/');
  const std::string name = slash == std::string::npos ? given : given.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return {};
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : given.substr(0, slash);
  const std::string canonicalFolder = Canonical(folder);
  if (canonicalFolder.empty()) return {};
  return canonicalFolder == "/" ? "/" + name : canonicalFolder + "/" + name;
}

enum class Need { kRead, kWrite };

bool Allowed(const std::string& resolved, Need need) {
  if (resolved.empty()) return false;
  Confinement& state = State();
  const std::lock_guard lock(state.mutex);
  for (const Root& root : state.roots)
    if ((root.writable || need == Need::kRead) && (resolved == root.folder || Under(resolved, root.folder)))
      return true;
  if (need == Need::kWrite) return false;
  for (const char* folder : kSystemFolders)
    if (Under(resolved, folder)) return true;
  return false;
}

bool IsRegularOrMissing(const std::string& resolved) {
  struct stat info {};
  return ::stat(resolved.c_str(), &info) != 0 || S_ISREG(info.st_mode);
}

bool WritesIn(const char* access) { return access && std::strpbrk(access, "wa+") != nullptr; }

// GDAL's local file system, confined while a data set is read.
class ConfiningFilesystem final : public VSIFilesystemHandler {
 public:
  explicit ConfiningFilesystem(VSIFilesystemHandler* local) : local_(local) {}

  VSIVirtualHandle* Open(const char* path, const char* access, bool setError, CSLConstList options) override {
    if (Active()) {
      const std::string resolved = Resolve(path);
      if (!Allowed(resolved, WritesIn(access) ? Need::kWrite : Need::kRead) ||
          !IsRegularOrMissing(resolved)) {
        Refuse(path);
        if (setError) CPLError(CE_Failure, CPLE_OpenFailed, "refused to open %s outside the data set", path);
        return nullptr;
      }
    }
    return local_->Open(path, access, setError, options);
  }
  int Stat(const char* path, VSIStatBufL* buffer, int flags) override {
    if (Active() && !Allowed(Resolve(path), Need::kRead)) return Refuse(path);
    return local_->Stat(path, buffer, flags);
  }
  int Unlink(const char* path) override { return WriteAllowed(path) ? local_->Unlink(path) : Refuse(path); }
  int Rename(const char* from, const char* to) override {
    if (!WriteAllowed(from)) return Refuse(from);
    return WriteAllowed(to) ? local_->Rename(from, to) : Refuse(to);
  }
  int Mkdir(const char* path, long mode) override {
    return WriteAllowed(path) ? local_->Mkdir(path, mode) : Refuse(path);
  }
  int Rmdir(const char* path) override { return WriteAllowed(path) ? local_->Rmdir(path) : Refuse(path); }
  char** ReadDirEx(const char* path, int maxFiles) override {
    return Listable(path) ? local_->ReadDirEx(path, maxFiles) : nullptr;
  }
  char** SiblingFiles(const char* path) override {
    return Listable(path) ? local_->SiblingFiles(path) : nullptr;
  }
  VSIDIR* OpenDir(const char* path, int depth, const char* const* options) override {
    return Listable(path) ? local_->OpenDir(path, depth, options) : nullptr;
  }
  int IsCaseSensitive(const char* path) override { return local_->IsCaseSensitive(path); }
  GIntBig GetDiskFreeSpace(const char* path) override { return local_->GetDiskFreeSpace(path); }
  int SupportsSparseFiles(const char* path) override { return local_->SupportsSparseFiles(path); }

 private:
  static bool Active() { return State().active.load(); }
  static bool Listable(const char* path) { return !Active() || Allowed(Resolve(path), Need::kRead); }
  static bool WriteAllowed(const char* path) { return !Active() || Allowed(Resolve(path), Need::kWrite); }
  static int Refuse(const char* path) {
    NoteRefusedAccess(QString::fromUtf8(path));
    errno = EACCES;
    return -1;
  }

  VSIFilesystemHandler* local_;
};

void StartBound() {
  State().deadline =
      (Clock::now() + std::chrono::seconds(DataSetConfinement::kStallSeconds)).time_since_epoch().count();
}

// Pragmas GDAL runs with an argument that change nothing on disk: schema queries about a table,
// and connection settings made when it opens a GeoPackage.
bool IsHarmlessWithArgument(const char* pragma) {
  for (const char* name :
       {"table_info", "table_xinfo", "index_list", "index_info", "index_xinfo", "foreign_key_list",
        "recursive_triggers", "cache_size", "foreign_keys", "case_sensitive_like"})
    if (sqlite3_stricmp(pragma, name) == 0) return true;
  return false;
}

int AllowReadingOnly(void*, int action, const char* pragma, const char* pragmaValue, const char*,
                     const char*) {
  if (!State().active) return SQLITE_OK;
  switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
    case SQLITE_TRANSACTION:
      return SQLITE_OK;
    case SQLITE_PRAGMA:
      return !pragmaValue || IsHarmlessWithArgument(pragma) ? SQLITE_OK : SQLITE_DENY;
    default:
      return SQLITE_DENY;
  }
}

int StopWhenStalled(void*) {
  Confinement& state = State();
  if (!state.active || Clock::now().time_since_epoch().count() < state.deadline) return 0;
  state.stalled = true;
  return 1;
}

void Bound(sqlite3* db) {
  sqlite3_set_authorizer(db, AllowReadingOnly, nullptr);
  sqlite3_progress_handler(db, 1000, StopWhenStalled, nullptr);
}

// Runs for each new SQLite connection while registered. GDAL clears the process's list of these
// after opening a connection of its own, so each confinement registers it again.
// A reader's own scratch database (GDAL's in /vsimem/, or one in a scratch root) may be written.
bool IsScratch(const char* file) {
  if (!file) return false;
  if (std::strncmp(file, "/vsimem/", 8) == 0) return true;
  const std::string resolved = Resolve(file);
  Confinement& state = State();
  const std::lock_guard lock(state.mutex);
  for (const Root& root : state.roots)
    if (root.scratch && Under(resolved, root.folder)) return true;
  return false;
}

int HookConnection(sqlite3* db, char**, const sqlite3_api_routines*) {
  if (State().active && !IsScratch(sqlite3_db_filename(db, "main"))) Bound(db);
  return SQLITE_OK;
}

void RegisterHook() { sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(HookConnection)); }

void CaptureFailure(CPLErr level, CPLErrorNum, const char* message) {
  if (level < CE_Failure) return;
  Confinement& state = State();
  const std::lock_guard lock(state.mutex);
  if (state.gdalFailure.empty()) state.gdalFailure = message ? message : "";
}

}  // namespace

void InstallDataSetConfinement() {
  VSIFileManager::InstallHandler("", new ConfiningFilesystem(VSIFileManager::GetHandler("")));
}

void NoteRefusedAccess(const QString& what) {
  Confinement& state = State();
  if (!state.active) return;
  const std::lock_guard lock(state.mutex);
  if (state.refused.empty()) state.refused = what.toStdString();
}

DataSetConfinement::DataSetConfinement(const QStringList& readOnlyRoots) {
  Confinement& state = State();
  {
    const std::lock_guard lock(state.mutex);
    state.roots.clear();
    for (const QString& root : readOnlyRoots)
      if (std::string folder = Canonical(QFile::encodeName(root).toStdString()); !folder.empty())
        state.roots.push_back({folder, false});
    state.refused.clear();
    state.gdalFailure.clear();
  }
  state.stalled = false;
  StartBound();
  CPLPushErrorHandler(CaptureFailure);
  state.active = true;
  RegisterHook();
}

DataSetConfinement::~DataSetConfinement() {
  State().active = false;
  CPLPopErrorHandler();
}

void DataSetConfinement::AddWritableRoot(const QString& folder, bool scratch) {
  Confinement& state = State();
  const std::lock_guard lock(state.mutex);
  if (std::string canonical = Canonical(QFile::encodeName(folder).toStdString()); !canonical.empty())
    state.roots.push_back({canonical, true, scratch});
}

void DataSetConfinement::Renew() { StartBound(); }

void DataSetConfinement::BindConnection(void* sqliteHandle) {
  if (sqliteHandle) Bound(static_cast<sqlite3*>(sqliteHandle));
}

QString DataSetConfinement::Refused() const {
  Confinement& state = State();
  const std::lock_guard lock(state.mutex);
  return QString::fromStdString(state.refused);
}

bool DataSetConfinement::Stalled() const { return State().stalled; }

QString DataSetConfinement::GdalFailure() const {
  Confinement& state = State();
  const std::lock_guard lock(state.mutex);
  return QString::fromStdString(state.gdalFailure);
}
