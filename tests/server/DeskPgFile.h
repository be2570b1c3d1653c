#pragma once
// Fixtures on the demo city published to the tests' cluster (PublishedCity.h), and the watchdog every
// whole-program case runs under.
#include <gtest/gtest.h>

#include <QFile>

#include "data/ServerCity.h"
#include "tests/hostile/DataSetEdits.h"
#include "tests/server/PublishedCity.h"
#include "tests/server/ServerCluster.h"
#include "tests/support/CliRun.h"

// A child program is killed after this long, and may not take more memory than this.
inline constexpr int kWatchdogMs = 60000;
inline constexpr qint64 kAddressSpace = qint64(4) << 30;

class OnThePublishedCity : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_SERVER();
    ASSERT_TRUE(City().failure.isEmpty()) << City().failure.toStdString();
  }
};

// The published city's .pg replaced for one case, and put back.
class DeskPgFile : public OnThePublishedCity {
 protected:
  void SetUp() override {
    OnThePublishedCity::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    published_ = file.readAll();
  }
  void TearDown() override {
    if (published_.isEmpty()) return;
    hostile::WriteFile(Path(), published_);
    City().AllowServers({QString("127.0.0.1:%1").arg(ServerCluster::Shared().Port())});
  }
  static QString Path() { return qiwu::ServerCityPath(City().programDir.path(), QStringLiteral("栖坞市")); }
  // qiwu-cli on the published city with pg for its .pg file.
  static CliRun Cli(const QString& pg, const QStringList& args, const QStringList& env = {}) {
    hostile::WriteFile(Path(), pg.toUtf8());
    return RunBounded(QIWU_CLI, QStringList{"--root", City().programDir.path(), "--city", "栖坞市"} + args,
                      kWatchdogMs, kAddressSpace, env);
  }

 private:
  QByteArray published_;
};
