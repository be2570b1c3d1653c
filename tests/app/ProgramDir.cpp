#include "tests/app/ProgramDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "tools/citygen/Generator.h"

namespace apptest {
namespace {

void CopyTree(const QString& from, const QString& to) {
  QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString target = to + source.mid(from.size());
    QDir().mkpath(QFileInfo(target).path());
    if (!QFile::copy(source, target)) ADD_FAILURE() << "cannot copy " << source.toStdString();
  }
}

QTemporaryDir& DemoDir() {
  static QTemporaryDir dir;
  return dir;
}

QString MainWorkspace(const QString& root) { return root + "/map/" + kCity + "/" + kCity + ".gst"; }

}  // namespace

const QString& DemoRoot() {
  static const QString root = [] {
    const QString path = DemoDir().path();
    citygen::Options options;
    options.outDir = path.toStdString();
    const std::string error = citygen::WriteDataSet(citygen::Generate(options), options.outDir);
    if (!error.empty()) ADD_FAILURE() << "demo city: " << error;
    CopyTree(qEnvironmentVariable("QIWU_SOURCE_DIR") + "/help", path + "/help");
    return path;
  }();
  return root;
}

std::unique_ptr<QTemporaryDir> CopyOfDemo() {
  auto dir = std::make_unique<QTemporaryDir>();
  CopyTree(DemoRoot(), dir->path());
  return dir;
}

std::unique_ptr<QTemporaryDir> CopyWithoutDatabase() {
  auto dir = CopyOfDemo();
  QFile::remove(dir->path() + "/data/" + kCity + ".mdb");
  return dir;
}

std::unique_ptr<QTemporaryDir> CopyWithoutLayer(const QString& layerName) {
  auto dir = CopyOfDemo();
  QFile file(MainWorkspace(dir->path()));
  if (!file.open(QIODevice::ReadOnly)) ADD_FAILURE() << "no main workspace";
  QString text = QString::fromUtf8(file.readAll());
  file.close();
  const QString named = "NAME\" = \"" + layerName + "\"";
  if (!text.contains(named)) ADD_FAILURE() << "workspace has no layer " << layerName.toStdString();
  text.replace(named, "NAME\" = \"" + layerName + "（旧）\"");
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(text.toUtf8());
  return dir;
}

}  // namespace apptest
