#pragma once
// A bus network prepared once per city for trip searches: each line's segment times, the lines
// through each stop, the walks between nearby stop names, and a grid of stop positions for the
// walks from and to a place. Where the city has streets, walks go along them (bus/WalkNetwork.h);
// else they are straight lines × kWalkDetour. Read-only after construction, so searches may share it.
#include <QHash>
#include <cstdint>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "bus/StreetWalks.h"
#include "bus/TripModel.h"

namespace trip {

class Index {
 public:
  explicit Index(Network network, std::span<const walk::Street> streets = {});

  const Network& Net() const { return network_; }
  int StopCount() const { return int(network_.stops.size()); }
  int LineCount() const { return int(network_.lines.size()); }
  // The stop of this name as the database's = finds it (the case of A-Z aside): the stop of
  // exactly this name if there is one, else the first in the bus table's order; -1 when none.
  int StopNamed(const QString& name) const;

  // Minutes to ride segment i of line, between its stops i and i + 1.
  double SegmentMinutes(int line, int i) const { return segmentMinutes_[segmentBegin_[line] + i]; }
  // The lines passing stop, each once.
  std::span<const int> LinesThrough(int stop) const { return Slice(linesThrough_, linesBegin_, stop); }

  struct Walk {
    int stop = -1;
    double metres = 0;  // walked
    double minutes = 0;
  };
  // The other stop names within a change's walk of stop: kTransferMetres of straight line, or
  // kChangeWalkMetres along the streets.
  std::span<const Walk> TransfersFrom(int stop) const { return Slice(transfers_, transfersBegin_, stop); }
  // The placed stops within radius metres (straight line) of p.
  std::vector<Walk> StopsNear(MapPoint p, double radius) const;
  // The placed stops walked to or from p: within kAccessMetres of straight line, or kAccessWalkMetres
  // along the streets. walker (on Streets()) may be null: the call makes its own.
  std::vector<Walk> AccessWalks(MapPoint p, walk::Walker* walker) const;
  // The city's walks along its streets; null when it has none.
  const StreetWalks* Streets() const { return streets_.get(); }

  std::size_t MemoryBytes() const;

 private:
  template <class T>
  static std::span<const T> Slice(const std::vector<T>& all, const std::vector<std::uint32_t>& begin, int i) {
    return {all.data() + begin[i], all.data() + begin[i + 1]};
  }
  std::int64_t CellOf(double x, double y) const;

  Network network_;
  QHash<QString, int> stopByName_;
  QHash<QString, int> stopByFoldedName_;
  std::vector<std::uint32_t> segmentBegin_;
  std::vector<double> segmentMinutes_;
  std::vector<std::uint32_t> linesBegin_;
  std::vector<int> linesThrough_;
  std::vector<std::uint32_t> transfersBegin_;
  std::vector<Walk> transfers_;
  std::unordered_map<std::int64_t, std::vector<int>> grid_;  // placed stops by cell of kAccessMetres
  std::unique_ptr<const StreetWalks> streets_;               // places: the placed stops
};

}  // namespace trip
