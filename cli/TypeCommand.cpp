// qiwu-cli type T: the names the type browse lists for type T, one a line.
#include <cstdio>

#include "cli/Command.h"
#include "data/CityVocabulary.h"
#include "data/modDBAccess.h"
#include "data/modGetRecord.h"

namespace {

int RunType(const CliContext& context, const QStringList& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: qiwu-cli type T\n");
    return 2;
  }
  if (!OpenDatabase(context)) return 1;
  TextItemList names;
  const QString field = city::kNameField;
  modGetRecord::FillList(args.first(), field, names, QString(), field, true, false);
  if (!modDBAccess::rsResult) return 1;
  WriteOut(names.items.isEmpty() ? QString() : names.items.join(u'\n') + u'\n');
  return 0;
}

const CommandRegistration registration{"type", "type T", &RunType};

}  // namespace
