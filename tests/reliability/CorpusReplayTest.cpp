// Every input kept from the fuzz runs, crash reproducers included, replayed through the same
// target bodies, so that a fault once found stays fixed. A failed check aborts with its message.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "fuzz/targets/FuzzTargets.h"

namespace {

struct Target {
  const char* name;
  int (*body)(const std::uint8_t*, std::size_t);
};

class CorpusReplay : public testing::TestWithParam<Target> {};

TEST_P(CorpusReplay, EveryKeptInputRunsClean) {
  const QDir corpus(QStringLiteral(QIWU_FUZZ_CORPUS "/") + GetParam().name);
  const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
  ASSERT_FALSE(files.isEmpty()) << "no kept inputs in " << corpus.path().toStdString();
  for (const QString& name : files) {
    QFile file(corpus.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    const QByteArray input = file.readAll();
    SCOPED_TRACE(name.toStdString());
    EXPECT_EQ(
        GetParam().body(reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size())),
        0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay,
                         testing::Values(Target{"workspace", &qiwufuzz::WorkspaceInput},
                                         Target{"database", &qiwufuzz::DatabaseInput},
                                         Target{"statement", &qiwufuzz::StatementInput}),
                         [](const testing::TestParamInfo<Target>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
