// The transfer search answered from the in-memory bus table. It walks the same lists in the
// same order as the search by statements, so that answers agree to the character; only the
// meeting stop of a pair of lines is found by marking rather than by comparing every pair.
#include <algorithm>
#include <limits>

#include "bus/BusNetworkIndex.h"
#include "bus/BusPlanText.h"

namespace modBusChange {
namespace {

// A typed name that reaches a statement unchanged: valid UTF-16 without NUL.
bool StatementSafe(const QString& name) { return name.isValidUtf16() && !name.contains(QChar(u'\0')); }

}  // namespace

std::optional<QString> BusNetworkIndex::FindBusChange(const QString& departure,
                                                      const QString& destination) const {
  if (!StatementSafe(departure) || !StatementSafe(destination)) return std::nullopt;
  const ClassId from = ClassOfName(departure);
  const std::size_t startCount = rowsByStop_.Size(from);
  if (startCount == 0) return WrongNameAnswer();
  const ClassId to = ClassOfName(destination);
  const std::size_t endCount = rowsByStop_.Size(to);
  if (endCount == 0) return WrongNameAnswer();
  const std::uint32_t* startRows = rowsByStop_.First(from);
  const std::uint32_t* endRows = rowsByStop_.First(to);

  QString direct;
  for (std::size_t i = 0; i < startCount; ++i) {
    const TextId line = rows_[startRows[i]].line;
    for (std::size_t j = 0; j < endCount; ++j) {
      if (rows_[endRows[j]].line != line) continue;
      const ClassId lineClass = textClass_[line];
      direct += DirectLine(texts_[line], qAbs(PositionOf(to, lineClass) - PositionOf(from, lineClass)));
    }
  }
  if (!direct.isEmpty()) return direct;

  // rankInA[stop] is the place of the stop's first row along line A, for the stops of the
  // current A only (markedFor tells which A marked it).
  constexpr std::uint32_t kUnmarked = std::numeric_limits<std::uint32_t>::max();
  std::vector<std::uint32_t> markedFor(texts_.size(), kUnmarked);
  std::vector<std::uint32_t> rankInA(texts_.size(), 0);
  std::vector<ChangePlan> plans;
  for (std::uint32_t i = 0; i < startCount; ++i) {
    const TextId lineA = rows_[startRows[i]].line;
    const ClassId classA = textClass_[lineA];
    const qint64 sA = PositionOf(from, classA);
    const std::size_t stopsInA = rowsByLine_.Size(classA);
    const std::uint32_t* rowsA = stopsInA ? rowsByLine_.First(classA) : nullptr;
    for (std::uint32_t k = 0; k < stopsInA; ++k) {
      const TextId stop = rows_[rowsA[k]].stop;
      if (markedFor[stop] != i) {
        markedFor[stop] = i;
        rankInA[stop] = k;
      }
    }
    for (std::size_t j = 0; j < endCount; ++j) {
      const TextId lineB = rows_[endRows[j]].line;
      const ClassId classB = textClass_[lineB];
      const std::size_t stopsInB = rowsByLine_.Size(classB);
      if (stopsInA == 0 || stopsInB == 0) return QString();
      const std::uint32_t* rowsB = rowsByLine_.First(classB);
      std::uint32_t bestRank = kUnmarked;
      for (std::size_t k = 0; k < stopsInB; ++k) {
        const TextId stop = rows_[rowsB[k]].stop;
        if (markedFor[stop] == i) bestRank = std::min(bestRank, rankInA[stop]);
      }
      if (bestRank == kUnmarked) continue;
      const TextId meeting = rows_[rowsA[bestRank]].stop;
      const ClassId meetingClass = textClass_[meeting];
      const qint64 eB = PositionOf(to, classB);
      const qint64 count =
          qAbs(PositionOf(meetingClass, classB) - eB) + qAbs(PositionOf(meetingClass, classA) - sA);
      plans.push_back(MakeChangePlan(texts_[lineA], texts_[meeting], texts_[lineB], count));
    }
  }
  if (plans.empty()) return TooFarAnswer();
  return ChangeAnswer(std::move(plans));
}

}  // namespace modBusChange
