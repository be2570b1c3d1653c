// Where an installed program and a build tree find their cities.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "data/CityPaths.h"
#include "data/DataFolders.h"

namespace {

void MakeCity(const QString& folder, const QString& city) {
  ASSERT_TRUE(QDir().mkpath(folder + "/map/" + city) && QDir().mkpath(folder + "/data"));
  for (const QString& file : {qiwu::MainWorkspacePath(folder, city), qiwu::DatabasePath(folder, city)}) {
    QFile touched(file);
    ASSERT_TRUE(touched.open(QIODevice::WriteOnly));
  }
}

class DataFoldersTest : public testing::Test {
 protected:
  void SetUp() override { QStandardPaths::setTestModeEnabled(true); }
  void TearDown() override { QStandardPaths::setTestModeEnabled(false); }
  QTemporaryDir root_;
};

TEST_F(DataFoldersTest, BuildTreeReadsItsOwnFolderInstalledReadsSharedThenUser) {
  const QString build = root_.filePath("build/bin");
  MakeCity(build, "栖坞市");
  EXPECT_EQ(qiwu::DataFolders(build), QStringList{build}) << "map/ beside the program";
  EXPECT_EQ(qiwu::DataFolders(root_.filePath("bare")), QStringList{root_.filePath("bare")})
      << "nothing installed";

  const QString bin = root_.filePath("usr/bin"), shared = root_.filePath("usr/share/qiwu");
  MakeCity(shared, "栖坞市");
  const QStringList folders = qiwu::DataFolders(bin);
  ASSERT_EQ(folders.size(), 2);
  EXPECT_EQ(folders[0], shared);
  EXPECT_TRUE(folders[1].endsWith("/qiwu")) << folders[1].toStdString();
  EXPECT_EQ(qiwu::DefaultImportFolder(bin), folders[1]);
}

TEST_F(DataFoldersTest, CitiesOfAllFoldersEachOnceInOrderFoundWhereTheyLie) {
  const QString shared = root_.filePath("shared"), own = root_.filePath("own");
  MakeCity(shared, "栖坞市");
  MakeCity(own, "重庆");
  MakeCity(own, "北京");
  MakeCity(own, "栖坞市");  // a user's copy comes after the shared one
  const QStringList folders{shared, own};
  EXPECT_EQ(qiwu::ListCities(folders), (QStringList{"栖坞市", "北京", "重庆"}));
  EXPECT_EQ(qiwu::FolderOfCity(folders, "栖坞市"), shared);
  EXPECT_EQ(qiwu::FolderOfCity(folders, "重庆"), own);
  EXPECT_EQ(qiwu::FolderOfCity(folders, "无此城"), shared) << "an unknown city fails in the first folder";
}

}  // namespace
