#include "features/RecentSearches.h"

#include <QSettings>
#include <QStandardPaths>

#include "kit/DataSetFile.h"

namespace {
const QString kArray = QStringLiteral("recent");
const QString kKind = QStringLiteral("kind");
const QString kName = QStringLiteral("name");
}  // namespace

RecentSearches::RecentSearches(QString file) : file_(std::move(file)) {
  if (!Usable()) return;
  QSettings settings(file_, QSettings::IniFormat);
  const int count = std::min(settings.beginReadArray(kArray), kKept);
  for (int i = 0; i < count; ++i) {
    settings.setArrayIndex(i);
    items_.append({settings.value(kKind).toString(), settings.value(kName).toString()});
  }
  settings.endArray();
}

QString RecentSearches::DefaultFile() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
         QStringLiteral("/recent-searches.ini");
}

bool RecentSearches::Usable() const {
  const qiwu::DataSetFile checked = qiwu::CheckUserFile(file_);
  qiwu::ReportRefusedUserFile(checked);
  return checked.ok() || checked.missing;
}

void RecentSearches::Add(const Item& item) {
  items_.removeIf([&](const Item& i) { return i.kind == item.kind && i.name == item.name; });
  items_.prepend(item);
  if (items_.size() > kKept) items_.resize(kKept);
  if (!Usable()) return;
  QSettings settings(file_, QSettings::IniFormat);
  settings.beginWriteArray(kArray, int(items_.size()));
  for (int i = 0; i < items_.size(); ++i) {
    settings.setArrayIndex(i);
    settings.setValue(kKind, items_[i].kind);
    settings.setValue(kName, items_[i].name);
  }
  settings.endArray();
}
