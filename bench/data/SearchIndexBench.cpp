// The search box's index on the demo city at scale 10 (generated once into a temporary folder,
// database only): building it, and the suggestions for every keystroke while names are typed
// character by character, as text, as full pinyin and as initials.
// Run: data_search_index_bench [--scale N]
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/CityDatabase.h"
#include "data/search/PinyinTable.h"
#include "data/search/SearchIndex.h"
#include "dataset/Writers.h"
#include "tools/citygen/Generator.h"

namespace {

CityDatabase database;
search::SearchIndex cityIndex;

// Names typed in the bench: the middle row's of a stop, a line, places of three types and a road.
QStringList Names() {
  const char* const columns[][2] = {{"公交信息", "站名"}, {"公交信息", "线路名"}, {"餐饮娱乐", "name"},
                                    {"金融银行", "name"}, {"旅游景点", "name"},   {"主干道", "name"}};
  QStringList names;
  for (const auto& [table, field] : columns) {
    Outcome error;
    const auto rows =
        database.Query(QStringLiteral("select %1 from %2 limit 1 offset (select count(*) from %2) / 2")
                           .arg(QString::fromUtf8(field), QString::fromUtf8(table)),
                       error);
    if (rows && !rows->Rows().empty()) names << rows->Rows().front().front().toString();
  }
  return names;
}

// What is typed for name: itself, its full pinyin (commonest readings) or its initials.
QString Typed(const QString& name, int how) {
  if (how == 0) return name;
  QString typed;
  for (const char32_t c : name.toUcs4()) {
    const std::vector<std::string_view> readings = pinyin::Readings(c);
    if (readings.empty()) {
      typed += QString::fromUcs4(&c, 1);
    } else {
      const std::string_view r = readings.front();
      typed += how == 1 ? QString::fromLatin1(r.data(), qsizetype(r.size())) : QString(QChar(r.front()));
    }
  }
  return typed;
}

void BM_SearchIndexBuild(benchmark::State& state) {
  search::SearchIndex built;
  for (auto _ : state) built.Build(database);
  state.counters["names"] = double(built.Size());
}
BENCHMARK(BM_SearchIndexBuild)->Unit(benchmark::kMillisecond);

// One iteration: every keystroke of typing each name, one Find a keystroke; the counter gives
// the time per keystroke.
void BM_SearchKeystroke(benchmark::State& state) {
  std::vector<QString> prefixes;
  for (const QString& name : Names()) {
    const QString typed = Typed(name, int(state.range(0)));
    for (qsizetype n = 1; n <= typed.size(); ++n) prefixes.push_back(typed.left(n));
  }
  for (auto _ : state)
    for (const QString& text : prefixes)
      benchmark::DoNotOptimize(cityIndex.Find(text, search::SearchIndex::kSuggestions));
  state.counters["keystrokes"] = double(prefixes.size());
  state.counters["per_keystroke"] = benchmark::Counter(
      double(prefixes.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SearchKeystroke)
    ->ArgName("typed_as_text_pinyin_initials")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int scale = 10;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--scale") == 0) scale = std::atoi(argv[i + 1]);
  QTemporaryDir dir;
  citygen::Options options;
  options.scale = scale;
  const std::string path = dir.filePath("city.mdb").toStdString();
  const std::string error = citygen::WriteDatabase(citygen::Generate(options), path);
  Outcome opened;
  if (!error.empty() || !database.Open(QString::fromStdString(path), opened)) {
    std::fprintf(stderr, "%s%s\n", error.c_str(), qUtf8Printable(opened.description));
    return 1;
  }
  cityIndex.Build(database);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
