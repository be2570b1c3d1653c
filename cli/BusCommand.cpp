// qiwu-cli bus: the transfer plan text of FindBusChange, byte for byte (CR LF inside the text,
// nothing added). With --batch, one search per line of a UTF-8 file holding "FROM<TAB>TO";
// consecutive answers are separated by "\n\f\n", a line holding only a form feed, so that
// splitting the output at "\n\f\n" gives back each answer exactly.
#include <QFile>
#include <cstdio>
#include <utility>
#include <vector>

#include "bus/modBusChange.h"
#include "cli/Command.h"
#include "data/CityVocabulary.h"
#include "kit/Messages.h"

namespace {

const QString kBusTable = city::kBusTable;

// The pairs of a batch file; false (with the reason on standard error) for an unreadable file
// or a line that is not two tab-separated names. Blank lines are skipped.
bool ReadPairs(const QString& path, std::vector<std::pair<QString, QString>>& pairs) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "bus: cannot read %s: %s\n", qUtf8Printable(path),
                 qUtf8Printable(file.errorString()));
    return false;
  }
  const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QString line = lines[i];
    if (line.endsWith(u'\r')) line.chop(1);
    if (line.isEmpty()) continue;
    const QStringList names = line.split(u'\t');
    if (names.size() != 2) {
      std::fprintf(stderr, "bus: %s:%lld: expected FROM<TAB>TO\n", qUtf8Printable(path),
                   static_cast<long long>(i + 1));
      return false;
    }
    pairs.emplace_back(names[0], names[1]);
  }
  return true;
}

int RunBus(const CliContext& context, const QStringList& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: qiwu-cli bus FROM TO | bus --batch FILE\n");
    return 2;
  }
  std::vector<std::pair<QString, QString>> pairs;
  if (args[0] == QStringLiteral("--batch")) {
    if (!ReadPairs(args[1], pairs)) return 2;
  } else {
    pairs.emplace_back(args[0], args[1]);
  }
  if (!OpenDatabase(context)) return 1;

  // A failed query shows its boxes; here they go to standard error and make the exit code 1.
  int failures = 0;
  const qiwu::MessageSink previous = qiwu::SetMessageSink([&failures](const qiwu::Message& message) {
    ++failures;
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(message.title), qUtf8Printable(message.text));
  });
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (i > 0) WriteOut(QStringLiteral("\n\f\n"));
    WriteOut(modBusChange::FindBusChange(pairs[i].first, pairs[i].second, kBusTable));
  }
  qiwu::SetMessageSink(previous);
  return failures == 0 ? 0 : 1;
}

const CommandRegistration registration{
    "bus", "bus FROM TO | bus --batch FILE (answers separated by \\n\\f\\n)", &RunBus};

}  // namespace
