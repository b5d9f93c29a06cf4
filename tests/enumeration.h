#pragma once

// A plain enumeration of the pattern's own lattice under the pass-count method's lanes,
// written from the rules table as a designer would check it by hand: every centre tried in a
// box around the circle, every decision (circle, lanes, centre tube, impingement plate)
// squared out in whole numbers. For tests.

#include "layout/study.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <tuple>
#include <vector>

namespace enumeration {

using layout::Centring;
using layout::Given;
using layout::Inputs;
using layout::Int128;
using layout::Length;
using layout::Pattern;

/// A length q·√f in units; the rules' lengths carry √2 and √3.
struct Root
{
    Int128 q = 0;
    int f = 1;
};

inline Int128 sq(Root r)
{
    return r.q * r.q * r.f;
}

struct Found
{
    std::int64_t inCircle = 0, laneRemoved = 0, centreRemoved = 0, plateRemoved = 0, total = 0;
    std::vector<std::int64_t> perPass;
    /// Every kept centre, in 1e-6 mm rounded, with its pass.
    std::vector<std::tuple<long long, long long, int>> kept;
};

/// Tries every lattice centre of the rules table (index a along a row, k across; i, j for 45)
/// in a box around the circle. Doubled coordinates keep everything whole.
inline Found enumerate(const Inputs &in, bool straddle)
{
    const Int128 p = in.pitch.units, d = in.tube.units;
    const Int128 b =
        in.clearance ? in.clearance->units : std::max<Int128>(d / 4, Int128(8) * 4'000'000);
    const Int128 DL = in.given == Given::Shell ? in.diameter.units - 2 * b : in.diameter.units;
    const Int128 W = DL - d; // 2ρ
    const int s = straddle ? 1 : 0;

    // Lane spacings and off-centre positions, doubled: rules §3.
    Root h, v, off;
    switch (in.pattern) {
    case Pattern::Triangular:
        h = { p, 3 }, v = { 2 * p, 1 }, off = { p, 3 };
        break;
    case Pattern::RotatedTriangular:
        h = { 2 * p, 1 }, v = { p, 3 }, off = { 2 * p, 1 };
        break;
    case Pattern::Square:
        h = { 2 * p, 1 }, v = { 2 * p, 1 }, off = { 2 * p, 1 };
        break;
    case Pattern::RotatedSquare:
        h = { p, 2 }, v = { p, 2 }, off = { 3 * p / 2, 2 };
        break;
    }
    if (in.laneSpacing) {
        h = off = { in.laneSpacing->units, 1 };
        v = { (in.verticalSpacing ? *in.verticalSpacing : *in.laneSpacing).units, 1 };
    }
    // A U-tube bundle's bends cross the centre lane: at least 2R wide, R = 2d by default.
    if (in.bundle == layout::Bundle::UTube) {
        const Int128 bends = 2 * (in.bendRadius ? Int128(in.bendRadius->units) : 2 * d);
        if (bends * bends > sq(h))
            h = { bends, 1 };
    }
    std::vector<std::pair<Root, Root>> lanes; // doubled position, spacing; from the top
    const bool ribbon = in.arrangement == layout::PassArrangement::Ribbon;
    std::vector<Int128> shares; // thousandths of ρ, from the centre out
    if (ribbon)
        shares = in.passes == 4 ? std::vector<Int128> { 404 }
            : in.passes == 6    ? std::vector<Int128> { 265, 553 }
                                : std::vector<Int128> { 198, 404, 635 };
    else if (in.passes == 6 || in.passes == 8)
        shares = { in.passes == 6 ? 265 : 404 };
    std::vector<Root> offCentre;
    for (const Int128 e : shares) {
        // The largest m the rules' floor gives, found by stepping up while it still holds.
        const auto holds = [&](Int128 m) {
            if (W < 0)
                return m == 0;
            switch (in.pattern) {
            case Pattern::Triangular: // m - 1/2 <= 2er/√3, r = W/2p
                return m == 0
                    || 3 * (2 * m - 1) * (2 * m - 1) * p * p * 1'000'000 <= 4 * e * e * W * W;
            case Pattern::Square: // m - 1/2 <= e·r
                return (2 * m - 1) * p * 1000 <= e * W;
            case Pattern::RotatedSquare: // m <= √2·e·r
                return m * m * p * p * 4'000'000 <= 2 * e * e * W * W;
            case Pattern::RotatedTriangular: // m - 1/2 <= 2·e·r
                break;
            }
            return (2 * m - 1) * p * 1000 <= 2 * e * W;
        };
        Int128 m = 0;
        while (holds(m + 1))
            ++m;
        switch (in.pattern) {
        case Pattern::Triangular:
            offCentre.push_back({ m * p, 3 }); // y = m·h
            break;
        case Pattern::Square:
            offCentre.push_back({ 2 * m * p, 1 }); // y = m·p
            break;
        case Pattern::RotatedSquare:
            offCentre.push_back({ (2 * m + 1) * p / 2, 2 }); // y = (N + 1/2)·p/√2
            break;
        case Pattern::RotatedTriangular:
            offCentre.push_back({ m * p, 1 }); // y = m·p/2
            break;
        }
    }
    for (auto c = offCentre.rbegin(); c != offCentre.rend(); ++c)
        lanes.push_back({ *c, off });
    if (in.passes == 2 || in.passes == 4 || in.passes == 8 || (ribbon && in.passes >= 4))
        lanes.push_back({ { 0, offCentre.empty() ? 1 : offCentre.front().f }, h });
    for (const Root &c : offCentre)
        lanes.push_back({ { -c.q, c.f }, off });
    const bool vertical = in.passes >= 4 && !ribbon;
    const int sides = vertical ? 2 : 1;
    const Int128 clear = in.centreTube ? d + in.centreTube->units + 2 * b : 0;
    // The plate takes a hole with 2|x| < A + d and 2y > Di − 2h − 2t − d (both legs of a
    // U-tube): doubled coordinates compared with whole numbers, squared out by hand.
    const auto underPlate = [&](Root x2, Root y2) {
        if (!in.impingement)
            return false;
        const layout::Impingement &plate = *in.impingement;
        const Int128 across = plate.plate.units + d;
        const Int128 line = in.diameter.units - 2 * Int128(plate.height.units)
            - 2 * Int128(plate.thickness.units) - d;
        const Int128 y = in.bundle == layout::Bundle::UTube && y2.q < 0 ? -y2.q : y2.q;
        const bool above = y >= 0 ? (line < 0 || y * y * y2.f > line * line)
                                  : (line < 0 && y * y * y2.f < line * line);
        return sq(x2) < across * across && above;
    };

    Found found;
    found.perPass.assign(static_cast<std::size_t>((lanes.size() + 1) * sides), 0);
    const auto visit = [&](Root x2, Root y2) {
        if (W < 0 || sq(x2) + sq(y2) > W * W)
            return;
        ++found.inCircle;
        bool inLane = vertical && sq(x2) < sq(v);
        std::size_t band = 0;
        for (const auto &[c, spacing] : lanes) {
            // Same root on both sides (or a lane at 0), so the difference is whole.
            const Root gap { y2.q - c.q, y2.q == 0 ? c.f : y2.f };
            inLane = inLane || sq(gap) < sq(spacing);
            if (c.q > y2.q)
                ++band;
        }
        if (inLane) {
            ++found.laneRemoved;
        } else if (in.centreTube && sq(x2) + sq(y2) < clear * clear) {
            ++found.centreRemoved;
        } else if (underPlate(x2, y2)) {
            ++found.plateRemoved;
        } else {
            ++found.total;
            const int pass = static_cast<int>(band) * sides + (vertical && x2.q > 0 ? 1 : 0);
            ++found.perPass[static_cast<std::size_t>(pass)];
            // Doubled coordinates in units: half of q·√f, in 1e-6 mm.
            const auto micro = [](Root r) {
                return std::llround(static_cast<double>(r.q) * std::sqrt(static_cast<double>(r.f))
                    / 2 / layout::kTypedStep);
            };
            found.kept.emplace_back(micro(x2), micro(y2), pass + 1);
        }
    };
    const std::int64_t reach = static_cast<std::int64_t>(W / p) + 3;
    for (std::int64_t k = -2 * reach; k <= 2 * reach; ++k) {
        for (std::int64_t a = -2 * reach; a <= 2 * reach; ++a) {
            switch (in.pattern) {
            case Pattern::Triangular: // x = p(a + k/2) (+ p/2), y = k·p·√3/2
                visit({ p * (2 * a + k + s), 1 }, { k * p, 3 });
                break;
            case Pattern::RotatedTriangular: // x = k·p·√3/2, y = p(a + k/2) (+ p/2)
                visit({ k * p, 3 }, { p * (2 * a + k + s), 1 });
                break;
            case Pattern::Square: // x = a·p (+ p/2), y = k·p
                if (std::abs(a) <= reach && std::abs(k) <= reach)
                    visit({ p * (2 * a + s), 1 }, { 2 * p * k, 1 });
                break;
            case Pattern::RotatedSquare: // x = i·p/√2, y = j·p/√2, i + j even (odd straddled)
                if (((a + k) % 2 + 2) % 2 == s)
                    visit({ a * p, 2 }, { k * p, 2 });
                break;
            }
        }
    }
    return found;
}

/// The pass a tube mirrored left-right, or top-bottom, falls in.
inline int mirrored(int pass, int passes, bool leftRight)
{
    const int sides = passes >= 4 ? 2 : 1, bands = passes / sides;
    const int band = (pass - 1) / sides, side = (pass - 1) % sides;
    return leftRight ? band * sides + (sides - 1 - side) + 1
                     : (bands - 1 - band) * sides + side + 1;
}

inline Length micro(std::int64_t value)
{
    return { value * layout::kTypedStep };
}

inline constexpr Pattern kPatterns[] = { Pattern::Triangular, Pattern::RotatedTriangular,
    Pattern::Square, Pattern::RotatedSquare };

/// Whole numbers drawn evenly from [lo, hi], the same on every run.
class Draw
{
public:
    explicit Draw(std::uint64_t seed)
        : m_random(seed)
    {
    }
    std::int64_t operator()(std::int64_t lo, std::int64_t hi)
    {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(m_random);
    }

private:
    std::mt19937_64 m_random;
};

} // namespace enumeration
