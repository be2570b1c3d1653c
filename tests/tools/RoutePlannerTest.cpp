// Route searches on a tiny hand-made street network, one after another on the same planner (each
// search must start clean).
#include <gtest/gtest.h>

#include <cmath>

#include "tools/citygen/RoutePlanner.h"

namespace citygen {
namespace {

// 0 — 1 — 2 along the bottom, 0 — 3 — 4 — 2 round the top; junction 5 stands alone.
StreetNetwork Square() {
  StreetNetwork net;
  for (Vec2 at : {Vec2{0, 0}, Vec2{100, 0}, Vec2{200, 0}, Vec2{0, 100}, Vec2{100, 100}, Vec2{500, 500}}) {
    Junction junction;
    junction.at = junction.plan = at;
    net.junctions.push_back(junction);
  }
  for (auto [from, to] : {std::pair{0, 1}, {1, 2}, {0, 3}, {3, 4}, {4, 2}}) {
    StreetPiece piece;
    piece.from = from;
    piece.to = to;
    const Vec2 a = net.junctions[from].at, b = net.junctions[to].at;
    piece.length = std::hypot(a.x - b.x, a.y - b.y);
    net.junctions[from].pieces.push_back(int(net.pieces.size()));
    net.junctions[to].pieces.push_back(int(net.pieces.size()));
    net.pieces.push_back(piece);
  }
  return net;
}

TEST(RoutePlanner, FindsCheapPathsAvoidsForbiddenPiecesAndStartsEachSearchClean) {
  const StreetNetwork net = Square();
  const RoutePlanner planner(net);
  const auto length = [&](int piece) { return net.pieces[piece].length; };
  const auto noBottomRight = [&](int piece) { return piece == 1 ? INFINITY : net.pieces[piece].length; };
  const struct {
    int from, to;
    RoutePlanner::PieceCost cost;
    double perMetre;
    std::vector<int> junctions;
  } cases[] = {
      {0, 2, length, 0, {0, 1, 2}},
      {0, 2, noBottomRight, 0, {0, 3, 4, 2}},
      {0, 2, noBottomRight, 1.5, {0, 3, 4, 2}},
      {2, 0, length, 1.5, {2, 1, 0}},
      {0, 5, length, 0, {}},
      {3, 3, length, 0, {3}},
      {4, 1, length, 0, {4, 2, 1}},
  };
  for (const auto& c : cases) {
    const Path path = planner.Find(c.from, c.to, c.cost, c.perMetre);
    EXPECT_EQ(path.junctions, c.junctions) << c.from << " -> " << c.to;
    if (path.junctions.empty()) continue;
    ASSERT_EQ(path.pieces.size() + 1, path.junctions.size());
    for (std::size_t k = 0; k < path.pieces.size(); ++k) {
      EXPECT_EQ(net.OtherEnd(path.pieces[k], path.junctions[k]), path.junctions[k + 1]);
    }
  }
}

}  // namespace
}  // namespace citygen
