// qiwu-cli find: the search box's suggestions, one a line: the kind, a tab, the name.
#include <gtest/gtest.h>

#include "tests/data/SearchCity.h"
#include "tests/support/CliRun.h"

namespace {

TEST(FindCommand, PrintsTheSuggestionsOneALine) {
  const SearchCity& city = SearchCity::Get();
  const struct {
    QStringList args;
    int exitCode;
    QByteArray out;
  } cases[] = {
      {{"find", "changshou"}, 0, "站点\t长寿路\n道路\t长寿路\n"},
      {{"find", "changshou", "--limit", "1"}, 0, "站点\t长寿路\n"},
      {{"find", "scuola"}, 0, "中小学校\tScuola elementare（Volksschule St. Michael）\n"},
      {{"find", "nothing"}, 0, ""},
      {{"find"}, 2, ""},
      {{"find", "lu", "--limit", "many"}, 2, ""},
  };
  for (const auto& c : cases) {
    const CliRun run = RunProgram(QStringLiteral(QIWU_CLI),
                                  QStringList{"--root", city.Root(), "--city", city.Name()} + c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
    EXPECT_EQ(run.out, c.out) << c.args.join(' ').toStdString();
  }
}

}  // namespace
