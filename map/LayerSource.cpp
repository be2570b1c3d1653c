#include "map/LayerSource.h"

#include <gdal_priv.h>

#include <QFile>
#include <QFileInfo>

#include "kit/DataSetFile.h"
#include "map/DataSetConfinement.h"
#include "map/GdalLockDown.h"

namespace {

Outcome Refused(const QString& file, const QString& why) {
  return Outcome::Failure(kMapErrorReadFailed, QStringLiteral("无法打开图层数据文件 %1：%2").arg(file, why));
}

// Copies the GeoPackage at canonical and its checked -wal file into a new private folder; returns
// the copy's path, or empty with why set.
QString CopyWithWal(const QString& canonical, const QString& wal, LayerSource& out, QString& why) {
  out.copyFolder = std::make_unique<QTemporaryDir>();
  const QString copy = out.copyFolder->filePath(QFileInfo(canonical).fileName());
  if (!out.copyFolder->isValid() || !QFile::copy(canonical, copy) ||
      !QFile::copy(wal, copy + QStringLiteral("-wal"))) {
    why = QStringLiteral("无法复制到临时文件夹");
    return {};
  }
  return copy;
}

}  // namespace

Outcome OpenLayerSource(const QString& folder, const QString& file, DataSetConfinement& confinement,
                        LayerSource& out) {
  const qiwu::DataSetFile checked = qiwu::CheckDataSetFile(file, {folder}, folder);
  if (checked.missing)
    return Outcome::Failure(kMapErrorFileMissing, QStringLiteral("图层数据文件不存在：%1").arg(file));
  if (!checked.ok()) return Refused(file, checked.error);

  CPLStringList drivers;
  for (const QString& driver : CityLayerDrivers()) drivers.AddString(driver.toUtf8().constData());
  const QByteArray canonical = checked.path.toUtf8();
  QByteArray openPath = canonical;
  CPLStringList options;
  GDALDriverH driver = GDALIdentifyDriverEx(canonical.constData(), GDAL_OF_VECTOR, drivers.List(), nullptr);
  if (driver && EQUAL(GDALGetDescription(driver), "GPKG")) {
    const QFileInfo walBeside(checked.path + QStringLiteral("-wal"));
    if (walBeside.exists() || walBeside.isSymLink()) {
      const qiwu::DataSetFile wal = qiwu::CheckDataSetFile(walBeside.filePath(), {folder});
      if (!wal.ok()) return Refused(file, wal.error);
      QString why;
      const QString copy = CopyWithWal(checked.path, wal.path, out, why);
      if (copy.isEmpty()) return Refused(file, why);
      confinement.AddWritableRoot(out.copyFolder->path());
      openPath = copy.toUtf8();
    } else {
      options.AddNameValue("IMMUTABLE", "YES");
    }
  }
  out.dataset.reset(GDALDataset::FromHandle(GDALOpenEx(
      openPath.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers.List(), options.List(), nullptr)));
  if (!out.dataset) return Refused(file, QString::fromUtf8(CPLGetLastErrorMsg()));
  confinement.BindConnection(out.dataset->GetInternalHandle("SQLITE_HANDLE"));
  return {};
}
