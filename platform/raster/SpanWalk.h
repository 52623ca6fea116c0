// The covered columns of a triangle, row after row, from its three edge
// functions E(x, y) = at00 + stepX * x + stepY * y (a pixel is covered where
// all three are not negative).
//
// An edge with stepX > 0 bounds the span on the left, at the least x with
// E >= 0; one with stepX < 0 on the right, at the greatest. Each bound is a
// quotient kept with its remainder, so moving down a row is a few additions
// and one comparison, and the bounds are exact: the same pixels as testing
// every one. Only the first row costs divisions.
#pragma once

#include <algorithm>
#include <cstdint>

namespace vyn::raster {

struct EdgeFunction {
  std::int64_t at00, stepX, stepY;
};

class SpanWalk {
 public:
  // Placed on row `row`. The edges are those of a triangle with area: at
  // least one bounds each side, and at most one is horizontal.
  SpanWalk(const EdgeFunction& a, const EdgeFunction& b, const EdgeFunction& c, int row) {
    for (const EdgeFunction* e : {&a, &b, &c}) Add(*e, row);
  }

  // The covered columns of the current row inside [x0, x1]: [first, last],
  // with first > last when there are none.
  void Span(std::int64_t x0, std::int64_t x1, std::int64_t& first, std::int64_t& last) const {
    first = std::max({x0, left_[0].x, left_[1].x});
    last = std::min({x1, right_[0].x, right_[1].x});
    if (level_.value < 0) last = first - 1;
  }

  // Moves down a row. Without branches: whether a remainder carries changes
  // from row to row, and a mispredicted jump costs more than the arithmetic.
  void NextRow() {
    for (Bound& l : left_) {
      l.remainder -= l.remainderStep;
      const std::int64_t borrow = l.remainder < 0;
      l.remainder += l.divisor & -borrow;
      l.x += l.quotient + borrow;
    }
    for (Bound& r : right_) {
      r.remainder += r.remainderStep;
      const std::int64_t carry = r.remainder >= r.divisor;
      r.remainder -= r.divisor & -carry;
      r.x += r.quotient + carry;
    }
    level_.value += level_.step;
  }

 private:
  // floor(a / b) for b > 0.
  static std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
  }

  // x with its remainder; per row x moves by quotient and the remainder by
  // remainderStep (0 <= remainderStep < divisor), carrying into x. A side
  // bounded by one edge has a second bound that never binds.
  struct Bound {
    std::int64_t x, remainder, quotient, remainderStep, divisor;
  };
  static constexpr std::int64_t Unbounded = std::int64_t{1} << 62;
  // A horizontal edge: the whole row is in or out.
  struct Level {
    std::int64_t value, step;
  };

  void Add(const EdgeFunction& e, int row) {
    const std::int64_t atRow = e.at00 + e.stepY * row;
    if (e.stepX > 0) {
      // Least x with atRow + stepX * x >= 0: ceil(n / d) for n = -atRow,
      // kept as x * d - n in [0, d). Down a row n grows by -stepY.
      const std::int64_t d = e.stepX, n = -atRow;
      const std::int64_t x = -FloorDiv(-n, d);
      const std::int64_t q = FloorDiv(-e.stepY, d);
      left_[lefts_++] = {x, x * d - n, q, -e.stepY - q * d, d};
    } else if (e.stepX < 0) {
      // Greatest x with atRow - d * x >= 0: floor(m / d) for m = atRow, kept
      // as m - x * d in [0, d). Down a row m grows by stepY.
      const std::int64_t d = -e.stepX, m = atRow;
      const std::int64_t x = FloorDiv(m, d);
      const std::int64_t q = FloorDiv(e.stepY, d);
      right_[rights_++] = {x, m - x * d, q, e.stepY - q * d, d};
    } else {
      level_ = {atRow, e.stepY};
    }
  }

  Bound left_[2] = {{-Unbounded, 0, 0, 0, 1}, {-Unbounded, 0, 0, 0, 1}};
  Bound right_[2] = {{Unbounded, 0, 0, 0, 1}, {Unbounded, 0, 0, 0, 1}};
  Level level_ = {0, 0};
  int lefts_ = 0, rights_ = 0;
};

}  // namespace vyn::raster
