// qiwu-cli keyword K: the names the keyword search lists for K, one a line.
#include <cstdio>

#include "cli/Command.h"
#include "data/CityVocabulary.h"
#include "data/modDBAccess.h"
#include "data/modGetRecord.h"

namespace {

int RunKeyword(const CliContext& context, const QStringList& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: qiwu-cli keyword K\n");
    return 2;
  }
  if (!OpenDatabase(context)) return 1;
  TextItemList names;
  modGetRecord::FillListByKeyword(city::kNameField, args.first(), names);
  if (!modDBAccess::rsResult()) return 1;
  WriteOut(names.items.isEmpty() ? QString() : names.items.join(u'\n') + u'\n');
  return 0;
}

const CommandRegistration registration{"keyword", "keyword K", &RunKeyword};

}  // namespace
