// qiwu-cli find TEXT [--limit N]: the search box's suggestions for TEXT, one a line: the kind, a
// tab, the name as the box shows it (an other name with the feature's name after it in brackets).
// Control characters of a name are written as blanks, so a name stays one line.
#include <cstdio>

#include "cli/Command.h"
#include "data/modDBAccess.h"
#include "data/search/SearchIndex.h"

namespace {

QString OneLine(QString text) {
  for (QChar& c : text)
    if (c.category() == QChar::Other_Control) c = u' ';
  return text;
}

int RunFind(const CliContext& context, const QStringList& args) {
  int limit = search::SearchIndex::kSuggestions;
  bool ok = args.size() == 1;
  if (args.size() == 3 && args[1] == QStringLiteral("--limit")) limit = args[2].toInt(&ok);
  if (!ok || limit < 0) {
    std::fprintf(stderr, "usage: qiwu-cli find TEXT [--limit N]\n");
    return 2;
  }
  if (!OpenDatabase(context)) return 1;
  QString out;
  for (const search::Entry* entry : search::SearchIndex::Of(*modDBAccess::cnnCity).Find(args.first(), limit))
    out += OneLine(entry->kind) + u'\t' + OneLine(entry->Label()) + u'\n';
  WriteOut(out);
  return 0;
}

const CommandRegistration registration{"find", "find TEXT [--limit N]", &RunFind};

}  // namespace
