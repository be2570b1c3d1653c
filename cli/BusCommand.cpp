// qiwu-cli bus: the transfer plan text of FindBusChange, byte for byte (CR LF inside the text,
// nothing added). With --batch, one search per line of a UTF-8 file holding "FROM<TAB>TO";
// consecutive answers are separated by "\n\f\n", a line holding only a form feed, so that
// splitting the output at "\n\f\n" gives back each answer exactly.
#include <QFile>
#include <cstdio>
#include <optional>
#include <utility>

#include "bus/BusSearchRefusal.h"
#include "bus/modBusChange.h"
#include "cli/Command.h"
#include "data/CityVocabulary.h"
#include "kit/Messages.h"

namespace {

// A single search the bus panel would refuse: its box on standard error, as "title: text".
bool RefusedAsThePanelWould(const QStringList& args) {
  if (args.size() != 2 || args[0] == QStringLiteral("--batch")) return false;
  const auto refusal = BusSearchRefusal(args[0], args[1]);
  if (refusal)
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(refusal->title), qUtf8Printable(refusal->text));
  return refusal.has_value();
}

const QString kBusTable = city::kBusTable;

// The longest line of a batch file, without its line end. Two stop names need far less; the
// limit keeps an endless line (a device, a damaged file) from filling the memory.
constexpr qint64 kMaxBatchLineBytes = 4096;

using Pair = std::pair<QString, QString>;

// A batch file read one line at a time, so that its size does not matter.
class BatchFile {
 public:
  explicit BatchFile(const QString& path) : file_(path) {}

  // False (with the reason on standard error) when the file cannot be read.
  bool Open() {
    if (file_.open(QIODevice::ReadOnly)) return true;
    std::fprintf(stderr, "bus: cannot read %s: %s\n", qUtf8Printable(file_.fileName()),
                 qUtf8Printable(file_.errorString()));
    return false;
  }

  // The next pair, skipping blank lines; nothing at the end of the file. bad is set (and the
  // reason written to standard error) for a line that is too long or not two tab-separated names.
  std::optional<Pair> Next(bool& bad) {
    for (;;) {
      QByteArray line = file_.readLine(kMaxBatchLineBytes + 2);
      if (line.isEmpty()) return std::nullopt;
      ++lineNumber_;
      if (line.endsWith('\n')) line.chop(1);
      if (line.endsWith('\r')) line.chop(1);
      if (line.size() > kMaxBatchLineBytes)
        return Refuse(QStringLiteral("line longer than %1 bytes").arg(kMaxBatchLineBytes), bad);
      if (line.isEmpty()) continue;
      const QStringList names = QString::fromUtf8(line).split(u'\t');
      if (names.size() != 2) return Refuse(QStringLiteral("expected FROM<TAB>TO"), bad);
      return Pair(names[0], names[1]);
    }
  }

 private:
  std::optional<Pair> Refuse(const QString& why, bool& bad) {
    std::fprintf(stderr, "bus: %s:%lld: %s\n", qUtf8Printable(file_.fileName()), lineNumber_,
                 qUtf8Printable(why));
    bad = true;
    return std::nullopt;
  }

  QFile file_;
  long long lineNumber_ = 0;
};

int RunBus(const CliContext& context, const QStringList& args) {
  if (RefusedAsThePanelWould(args)) return 1;
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: qiwu-cli bus FROM TO | bus --batch FILE\n");
    return 2;
  }
  const bool batch = args[0] == QStringLiteral("--batch");
  BatchFile file(args[1]);
  if (batch && !file.Open()) return 2;
  if (!OpenDatabase(context)) return 1;

  // A failed query shows its boxes; here they go to standard error and make the exit code 1.
  int failures = 0;
  const qiwu::MessageSink previous = qiwu::SetMessageSink([&failures](const qiwu::Message& message) {
    ++failures;
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(message.title), qUtf8Printable(message.text));
  });
  bool bad = false;
  std::optional<Pair> pair = batch ? file.Next(bad) : Pair(args[0], args[1]);
  for (bool first = true; pair; first = false) {
    if (!first) WriteOut(QStringLiteral("\n\f\n"));
    WriteOut(modBusChange::FindBusChange(pair->first, pair->second, kBusTable));
    pair = batch ? file.Next(bad) : std::nullopt;
  }
  qiwu::SetMessageSink(previous);
  if (bad) return 2;
  return failures == 0 ? 0 : 1;
}

const CommandRegistration registration{
    "bus",
    "bus FROM TO | bus --batch FILE (a line FROM<TAB>TO each, at most 4096 bytes; answers separated by "
    "\\n\\f\\n; stops with exit code 2 at the first bad line)",
    &RunBus};

}  // namespace
