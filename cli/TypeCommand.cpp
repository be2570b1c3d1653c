// qiwu-cli type T: the names the type browse lists for type T, one a line. T must be one of the
// types the browse offers (the table 地物类型); any other is refused, naming it.
#include <cstdio>

#include "cli/Command.h"
#include "data/CityVocabulary.h"
#include "data/Statements.h"
#include "data/modDBAccess.h"
#include "data/modGetRecord.h"

namespace {

// The types of the browse's selector, as the main window fills it; empty after a failed query.
QStringList FeatureTypes() {
  TextItemList types;
  modGetRecord::FillList(statements::TypeNames(), types, false);
  return types.items;
}

int RunType(const CliContext& context, const QStringList& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: qiwu-cli type T\n");
    return 2;
  }
  if (!OpenDatabase(context)) return 1;
  const QString& type = args.first();
  const QStringList types = FeatureTypes();
  if (!modDBAccess::rsResult()) return 1;
  if (!types.contains(type)) {
    std::fprintf(stderr, "%s\n",
                 qUtf8Printable(QStringLiteral("%1中没有“%2”。").arg(city::kTypeTable, type)));
    return 1;
  }
  TextItemList names;
  modGetRecord::FillList(statements::NamesOfType(type), names, false);
  if (!modDBAccess::rsResult()) return 1;
  WriteOut(names.items.isEmpty() ? QString() : names.items.join(u'\n') + u'\n');
  return 0;
}

const CommandRegistration registration{"type", "type T", &RunType};

}  // namespace
