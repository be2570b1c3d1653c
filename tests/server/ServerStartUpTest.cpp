// The window on a server city: it starts and fills its selectors from the server; a server that
// cannot be reached ends start-up with the database boxes before any map loads.
#include <gdal.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>

#include "app/frmMain.h"
#include "bus/BusPanel.h"
#include "data/ServerCity.h"
#include "kit/Messages.h"
#include "mapwidgets/MapControl.h"
#include "tests/app/WindowParts.h"
#include "tests/server/PublishedCity.h"
#include "tests/server/ServerCluster.h"
#include "tests/support/MessageRecorder.h"

namespace {

const QString kCity = QStringLiteral("栖坞市");

class ServerStartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_SERVER();
    ASSERT_TRUE(City().failure.isEmpty()) << City().failure.toStdString();
  }
};

TEST_F(ServerStartUp, TheWindowStartsOnThePublishedCity) {
  MessageRecorder messages;
  frmMain w(City().programDir.path());
  w.Start();
  EXPECT_TRUE(messages.Texts().isEmpty()) << messages.Texts().join('\n').toStdString();
  EXPECT_GT(w.Map1->LayerCount(), 10);
  EXPECT_GT(apptest::TypeSelector(w, 0)->count(), 0);
  EXPECT_GT(apptest::TypeSelector(w, 1)->count(), 0);
  EXPECT_GT(apptest::Part<BusPanel>(w)->cmbBus->count(), 0);
  EXPECT_EQ(GDALGetDriverByName("PostgreSQL"), nullptr)
      << "the server driver stays registered after the load";
}

TEST_F(ServerStartUp, AnUnreachableServerEndsStartUpBeforeTheMapsLoad) {
  const QString pg = qiwu::ServerCityPath(City().programDir.path(), kCity);
  QFile file(pg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray published = file.readAll();
  file.close();
  const int unreachable = ServerCluster::Shared().Port() + 1;
  City().AllowServers({QString("127.0.0.1:%1").arg(unreachable)});
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(QString("host=127.0.0.1 port=%1 dbname=city user=qiwu_desk").arg(unreachable).toUtf8());
  file.close();

  MessageRecorder messages;
  frmMain w(City().programDir.path());
  EXPECT_THROW(w.Start(), qiwu::ProgramEnded);
  ASSERT_EQ(messages.Messages().size(), 2u) << messages.Texts().join('\n').toStdString();
  EXPECT_EQ(messages.Messages()[0].title, QStringLiteral("打开数据库错误"));
  EXPECT_TRUE(messages.Messages()[0].text.contains(QString::number(unreachable)))
      << messages.Texts()[0].toStdString();
  EXPECT_EQ(messages.Messages()[1].title, QStringLiteral("数据库错误"));
  EXPECT_EQ(w.Map1->LayerCount(), 0);

  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(published);
  City().AllowServers({QString("127.0.0.1:%1").arg(ServerCluster::Shared().Port())});
}

}  // namespace
