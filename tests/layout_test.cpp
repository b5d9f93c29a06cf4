// The exact layout study against a plain enumeration of the lattice, written from the rules
// table as a designer would check it by hand: every centre tried, every decision squared out.

#include "enumeration.h"
#include "layout/options.h"
#include "layout/study.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <tuple>
#include <vector>

namespace {

using namespace enumeration;
using layout::Field;
using layout::Problem;

// --- Reading lengths ----------------------------------------------------------------------

struct LengthCase
{
    const char *text;
    std::int64_t micro; ///< the value in 1e-6 mm
    const char *error; ///< part of the message, or nullptr
};

TEST(Length, ReadExactlyOrRefused)
{
    const LengthCase cases[] = {
        { "25", 25'000'000, nullptr },
        { "31.25", 31'250'000, nullptr },
        { ".5", 500'000, nullptr },
        { "-8", -8'000'000, nullptr },
        { "1e3", 1'000'000'000, nullptr },
        { "2.5E-1", 250'000, nullptr },
        { "0.000001", 1, nullptr },
        { "0.0000010000", 1, nullptr }, // trailing zeros are not decimals
        { "1e-6", 1, nullptr },
        { "100000", 100'000'000'000, nullptr },
        { "0e999999999999", 0, nullptr },
        { "0.0000001", 0, "more than 6 decimals" },
        { "100000.000001", 0, "larger than 100000 mm" },
        { "1e5000000000", 0, "larger than 100000 mm" },
        { "-100001", 0, "larger than 100000 mm" },
        { "", 0, "not a number" },
        { "25mm", 0, "not a number" },
        { " 25", 0, "not a number" },
        { "1e", 0, "not a number" },
        { "nan", 0, "not a number" },
        { "2,5", 0, "not a number" },
        // Inches, 25.4 mm each, exactly: any sixty-fourth fits six decimals, 1/128 does not.
        { "0.75in", 19'050'000, nullptr },
        { "23.25\"", 590'550'000, nullptr },
        { "3/4in", 19'050'000, nullptr },
        { "15/16in", 23'812'500, nullptr },
        { "1-1/4in", 31'750'000, nullptr },
        { "1 1/4 in", 31'750'000, nullptr },
        { "63/64in", 25'003'125, nullptr },
        { ".5in", 12'700'000, nullptr },
        { "-1/2in", -12'700'000, nullptr },
        { "0in", 0, nullptr },
        { "3937in", 99'999'800'000, nullptr },
        { "3937.0079in", 0, "larger than 100000 mm" },
        { "3938in", 0, "larger than 100000 mm" },
        { "1/128in", 0, "more than 6 decimals in mm" },
        { "1/3in", 0, "more than 6 decimals in mm" },
        { "0.0000001in", 0, "more than 6 decimals in mm" },
        { "3/0in", 0, "not a length in inches" },
        { "in", 0, "not a length in inches" },
        { "1/in", 0, "not a length in inches" },
        { "1-1in", 0, "not a length in inches" },
        { "1e3in", 0, "not a length in inches" },
        { "1234567890123in", 0, "not a length in inches" },
        { "3/55555555555555555555555555555555555555555554in", 0, "not a length in inches" },
        { "0.12345678901234567890123456789012345678901in", 0, "not a length in inches" },
        { "3/4inch", 0, "not a number" },
    };
    for (const LengthCase &c : cases) {
        SCOPED_TRACE(c.text);
        if (c.error) {
            try {
                layout::parseLength(c.text, "--x");
                ADD_FAILURE() << "read";
            } catch (const layout::InputError &error) {
                EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos)
                    << error.what();
            }
            continue;
        }
        const Length length = layout::parseLength(c.text, "--x");
        EXPECT_EQ(length.units, c.micro * layout::kTypedStep);
        EXPECT_EQ(layout::parseLength(layout::lengthText(length), "--x"), length);
    }
    // A share of the shell is never in inches; the output names the inches as typed.
    EXPECT_THROW(layout::parseLength("25in", "--x", false), layout::InputError);
    EXPECT_EQ(layout::inchesTyped("1 1/4 in"), "1 1/4 in");
    EXPECT_EQ(layout::inchesTyped("23.25\""), "23.25 in");
    EXPECT_EQ(layout::inchesTyped("25"), "");
    EXPECT_EQ(layout::inchesTyped("3/0in"), "");
    EXPECT_EQ(layout::lengthText({ 1 }), "0.00000025");
    EXPECT_EQ(layout::lengthText({ -layout::kUnitsPerMm * 3 / 2 }), "-1.5");
    EXPECT_EQ(layout::millimetres(layout::parseLength("493.65", "--x")), 493.65);
}

/// A length of k sixty-fourths of an inch in mm, as a decimal: 25.4/64 = 0.396875 mm exactly.
std::string sixtyFourthsInMm(std::int64_t k)
{
    const std::int64_t micro = k * 396'875;
    std::string fraction = std::to_string(micro % 1'000'000);
    fraction.insert(0, 6 - fraction.size(), '0');
    return std::to_string(micro / 1'000'000) + "." + fraction;
}

/// The same length in inches, in one of the forms a designer types.
std::string sixtyFourthsInInches(std::int64_t k, int form)
{
    const std::int64_t whole = k / 64, rest = k % 64;
    switch (form) {
    case 0:
        return std::to_string(k) + "/64in";
    case 1:
        return std::to_string(whole) + (rest ? "-" + std::to_string(rest) + "/64" : "") + "in";
    case 2:
        return std::to_string(whole) + (rest ? " " + std::to_string(rest) + "/64" : "") + " in";
    default:
        break;
    }
    std::string decimals = std::to_string(rest * 15'625); // 1/64 = 0.015625
    decimals.insert(0, 6 - decimals.size(), '0');
    return std::to_string(whole) + "." + decimals + "\"";
}

TEST(Inches, TypedInInchesLaysWhatTheSameMillimetresLay)
{
    std::mt19937_64 random(254);
    const auto pick = [&random](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
    };
    static const char *passes[] = { "1", "2", "4", "6", "8" };
    static const char *patterns[] = { "30", "60", "90", "45" };
    for (int trial = 0; trial < 200; ++trial) {
        const std::int64_t shell = pick(512, 3840), tube = pick(32, 128);
        const std::int64_t pitch = tube + pick(0, 48), clearance = pick(0, 48);
        const int form = static_cast<int>(pick(0, 3));
        std::vector<layout::TypedOption> inches = { { "shell", sixtyFourthsInInches(shell, form) },
            { "tube", sixtyFourthsInInches(tube, (form + 1) % 4) },
            { "pitch", sixtyFourthsInInches(pitch, (form + 2) % 4) },
            { "passes", passes[trial % 5] }, { "pattern", patterns[trial / 5 % 4] } };
        std::vector<layout::TypedOption> millimetres = { { "shell", sixtyFourthsInMm(shell) },
            { "tube", sixtyFourthsInMm(tube) }, { "pitch", sixtyFourthsInMm(pitch) },
            { "passes", passes[trial % 5] }, { "pattern", patterns[trial / 5 % 4] } };
        if (trial % 3 == 0) {
            inches.push_back({ "clearance", sixtyFourthsInInches(clearance, form) });
            millimetres.push_back({ "clearance", sixtyFourthsInMm(clearance) });
        }
        SCOPED_TRACE(inches[0].value + " " + inches[1].value + " " + inches[2].value);
        const layout::Reading a = layout::readLayout(inches), b = layout::readLayout(millimetres);
        ASSERT_TRUE(a.ok()) << a.problems.front().what();
        ASSERT_TRUE(b.ok()) << b.problems.front().what();
        EXPECT_EQ(a.inputs.diameter, b.inputs.diameter);
        EXPECT_EQ(a.inputs.tube, b.inputs.tube);
        EXPECT_EQ(a.inputs.pitch, b.inputs.pitch);
        // What was typed in inches is kept for the output; the millimetres keep none.
        EXPECT_EQ(a.inputs.inches.size(), trial % 3 == 0 ? 4u : 3u);
        EXPECT_TRUE(b.inputs.inches.empty());
        const layout::Layout one = layout::studyOne(a.inputs), other = layout::studyOne(b.inputs);
        EXPECT_EQ(one.layoutCircle, other.layoutCircle);
        EXPECT_EQ(one.counts.total, other.counts.total);
        EXPECT_EQ(one.counts.perPass, other.counts.perPass);
        EXPECT_EQ(one.counts.laneRemoved, other.counts.laneRemoved);
    }
}

TEST(Predicates, LargestRootAtTheEdgesOfTheRange)
{
    const Int128 big = Int128(1) << 80;
    const std::tuple<Int128, Int128, std::int64_t> cases[] = {
        { 1, -1, -1 },
        { 1, 0, 0 },
        { 1, 1, 1 },
        { 1, 3, 1 },
        { 1, 4, 2 },
        { 3, 11, 1 },
        { 3, 12, 2 },
        { 1, Int128(3'037'000'499) * 3'037'000'499, 3'037'000'499 },
        { 1, Int128(3'037'000'499) * 3'037'000'499 - 1, 3'037'000'498 },
        { big, big * 4'000'000'000'000 - 1, 1'999'999 },
        { big, big * 4'000'000'000'000, 2'000'000 },
        { 7, (Int128(1) << 125) - 1, 2'465'049'865'190'134'674 },
    };
    for (const auto &[a, b, n] : cases) {
        EXPECT_EQ(layout::largestRootAtMost(a, b), n);
        if (n >= 0) { // the answer is the largest: n fits, n + 1 does not
            EXPECT_TRUE(Int128(n) * n * a <= b && Int128(n + 1) * (n + 1) * a > b);
        }
    }
    EXPECT_EQ(layout::largestRootBelow(1, 4), 1);
    EXPECT_EQ(layout::smallestRootAtLeast(1, 4), 2);
    EXPECT_EQ(layout::smallestRootAtLeast(1, 5), 3);
    EXPECT_EQ(layout::countWithParity(-3, 3, 1), 4);
    EXPECT_EQ(layout::countWithParity(-3, 3, 0), 3);
    EXPECT_EQ(layout::countWithParity(2, 2, 1), 0);
}

TEST(LayoutProperties, EveryCountEqualsThePlainEnumeration)
{
    Draw uniform(20261208);
    const int passCounts[] = { 1, 2, 4, 6, 8 };
    int ties = 0, snapTies = 0, symmetric = 0;
    for (int trial = 0; trial < 1200; ++trial) {
        Inputs in;
        in.pattern = kPatterns[trial % 4];
        in.passes = passCounts[uniform(0, 4)];
        in.centring = trial % 3 == 0 ? Centring::Best
            : trial % 3 == 1         ? Centring::OnTube
                                     : Centring::Straddle;
        // Whole and decimal millimetres alike: ties come from whole ones.
        const bool whole = uniform(0, 1) == 0;
        const std::int64_t p =
            whole ? uniform(10, 40) * 1'000'000 : uniform(10'000'000, 40'000'000);
        in.pitch = micro(p);
        in.tube = micro(whole ? p - uniform(0, 8) * 1'000'000 : uniform(p / 2, p));
        const std::int64_t span = uniform(0, 12);
        if (uniform(0, 2) == 0) {
            // A ring of tubes exactly on the layout circle: DL = d + 2·span·p.
            in.given = Given::LayoutCircle;
            in.diameter = micro(in.tube.units / 4 + 2 * span * p);
            ++ties;
        } else {
            in.given = uniform(0, 1) ? Given::Shell : Given::LayoutCircle;
            in.diameter = micro(uniform(p / 2, (span + 2) * 2 * p));
            if (in.given == Given::Shell && uniform(0, 2) == 0)
                in.clearance = micro(uniform(0, 20'000'000));
        }
        const bool snapsOnRows =
            in.pattern == Pattern::Square || in.pattern == Pattern::RotatedTriangular;
        if ((in.passes == 6 || in.passes == 8) && snapsOnRows && uniform(0, 1) == 0) {
            // The off-centre lane's e·r (or 2·e·r) exactly halfway between two rows: the
            // rules round it up. Only these two patterns can meet such a tie.
            const std::int64_t e = in.passes == 6 ? 265 : 404, k = uniform(40'000, 120'000);
            in.pitch = micro(e * k);
            in.tube = micro(e * k - uniform(0, 8) * 1'000'000);
            const std::int64_t w =
                (in.pattern == Pattern::Square ? 1000 : 500) * k * (2 * uniform(1, 3) - 1);
            in.given = Given::LayoutCircle;
            in.diameter = micro(in.tube.units / 4 + w);
            in.clearance.reset();
            ++snapTies;
        }
        if (in.passes > 1 && uniform(0, 3) == 0) {
            in.laneSpacing = micro(whole ? uniform(1, 80) * 1'000'000 : uniform(1, 80'000'000));
            if (uniform(0, 1))
                in.verticalSpacing = micro(uniform(1, 80) * 1'000'000);
        }
        if (uniform(0, 2) == 0)
            in.centreTube = micro(uniform(1, 120) * 1'000'000);
        SCOPED_TRACE(::testing::Message()
            << "trial " << trial << ": pattern " << layout::patternName(in.pattern) << ", "
            << (in.given == Given::Shell ? "Di " : "DL ") << layout::lengthText(in.diameter)
            << ", d " << layout::lengthText(in.tube) << ", p " << layout::lengthText(in.pitch)
            << ", passes " << in.passes << ", " << layout::centringName(in.centring));

        const layout::Layout got = layout::study(in);
        const Found onTube = enumerate(in, false), straddled = enumerate(in, true);
        const bool straddle = in.centring == Centring::Straddle
            || (in.centring == Centring::Best && straddled.total > onTube.total);
        const Found &want = straddle ? straddled : onTube;
        EXPECT_EQ(got.centring, straddle ? Centring::Straddle : Centring::OnTube);
        EXPECT_EQ(got.counts.inCircle, want.inCircle);
        EXPECT_EQ(got.counts.laneRemoved, want.laneRemoved);
        EXPECT_EQ(got.counts.centreRemoved, want.centreRemoved);
        EXPECT_EQ(got.counts.total, want.total);
        ASSERT_EQ(got.counts.passes, static_cast<int>(want.perPass.size()));
        std::int64_t sum = 0;
        for (int i = 0; i < got.counts.passes; ++i) {
            EXPECT_EQ(got.counts.perPass[i], want.perPass[i]) << "pass " << i + 1;
            sum += got.counts.perPass[i];
        }
        EXPECT_EQ(sum, got.counts.total);

        // The list holds every centre in the circle, each kept one in its pass, and mirroring
        // it about either axis gives the same tubes with their passes mirrored.
        const std::vector<layout::Tube> list = layout::tubes(got);
        ASSERT_EQ(static_cast<std::int64_t>(list.size()), got.counts.inCircle);
        std::map<std::tuple<long long, long long>, int> where;
        std::vector<std::int64_t> listed(static_cast<std::size_t>(got.counts.passes), 0);
        for (const layout::Tube &tube : list) {
            where[{ std::llround(tube.x * 1e6), std::llround(tube.y * 1e6) }] = tube.pass;
            if (tube.pass > 0)
                ++listed[static_cast<std::size_t>(tube.pass - 1)];
        }
        ASSERT_EQ(where.size(), list.size());
        EXPECT_EQ(listed, want.perPass);
        for (const auto &[at, pass] : where) {
            const auto &[x, y] = at;
            const auto flipX = where.find({ -x, y }), flipY = where.find({ x, -y });
            ASSERT_TRUE(flipX != where.end() && flipY != where.end());
            if (pass > 0) {
                EXPECT_EQ(flipX->second, mirrored(pass, in.passes, true));
                EXPECT_EQ(flipY->second, mirrored(pass, in.passes, false));
            }
        }
        // Without lanes or a centre tube, a layout on a tube has its pattern's rotations.
        if (in.passes == 1 && !in.centreTube && got.centring == Centring::OnTube
            && got.counts.inCircle > 0) {
            const bool hexagonal =
                in.pattern == Pattern::Triangular || in.pattern == Pattern::RotatedTriangular;
            EXPECT_EQ(got.counts.inCircle % (hexagonal ? 6 : 4), 1);
            ++symmetric;
        }
    }
    EXPECT_GT(ties, 300);
    EXPECT_GT(symmetric, 30);
    EXPECT_GT(snapTies, 30);
}

// --- The smallest shell -------------------------------------------------------------------

TEST(MinShell, IsTheFirstDiameterOfALinearScan)
{
    Draw uniform(7);
    int dips = 0;
    for (int trial = 0; trial < 120; ++trial) {
        Inputs in;
        in.pattern = kPatterns[trial % 4];
        in.passes = trial % 2 ? 6 : 8;
        in.centring = trial % 3 ? Centring::Best : Centring::OnTube;
        in.given = trial % 5 ? Given::Shell : Given::LayoutCircle;
        in.pitch = layout::mm(uniform(20, 40));
        in.tube = layout::mm(uniform(12, 19));
        if (trial % 4 == 0)
            in.centreTube = layout::mm(uniform(20, 60));
        const Length resolution = micro(uniform(1, 4) * 500'000);
        const std::int64_t required = uniform(1, 150);
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ": N " << required);

        std::int64_t step = 1, best = 0;
        for (;; ++step) {
            in.diameter = { step * resolution.units };
            const std::int64_t total = layout::study(in).counts.total;
            dips += total < best;
            best = std::max(best, total);
            if (total >= required)
                break;
        }
        const layout::MinShell answer = layout::minShell(in, required, resolution);
        ASSERT_TRUE(answer.reached);
        EXPECT_EQ(answer.diameter, in.diameter);
        EXPECT_GE(answer.layout->counts.total, required);
        if (step > 1) {
            EXPECT_EQ(answer.below, Length { (step - 1) * resolution.units });
            EXPECT_LT(answer.belowCounts->total, required);
        }
    }
    // The lanes do make the total fall as the shell grows, so a bisection alone would not do.
    EXPECT_GT(dips, 0);
}

TEST(MinShell, WideLanesAndFineSteps)
{
    // Lanes many rows wide move with the shell over many runs of the off-centre lanes: the
    // runs the bound skips must hold no answer, so the first diameter of a plain scan comes out.
    Draw uniform(20261209);
    for (int trial = 0; trial < 60; ++trial) {
        Inputs in;
        in.pattern = kPatterns[trial % 4];
        in.passes = trial % 2 ? 6 : 8;
        in.centring = trial % 3 == 0 ? Centring::Best
            : trial % 3 == 1         ? Centring::Straddle
                                     : Centring::OnTube;
        in.given = trial % 4 == 1 ? Given::LayoutCircle : Given::Shell;
        in.pitch = micro(uniform(10'000'000, 20'000'000));
        in.tube = micro(uniform(5'000'000, in.pitch.units / layout::kTypedStep));
        in.laneSpacing = micro(in.pitch.units / layout::kTypedStep * uniform(2, 12));
        if (trial % 5 == 0)
            in.verticalSpacing = micro(uniform(20, 60) * 1'000'000);
        const Length resolution = micro(uniform(1, 8) * 125'000);
        const std::int64_t required = uniform(20, 400);
        SCOPED_TRACE(::testing::Message()
            << "trial " << trial << ": N " << required << ", p " << layout::lengthText(in.pitch)
            << ", Sn " << layout::lengthText(*in.laneSpacing));
        std::int64_t step = 1;
        for (;; ++step) {
            in.diameter = { step * resolution.units };
            if (layout::study(in).counts.total >= required)
                break;
        }
        const layout::MinShell answer = layout::minShell(in, required, resolution);
        ASSERT_TRUE(answer.reached);
        EXPECT_EQ(answer.diameter, in.diameter);
    }
}

TEST(MinShell, StopsWhenAsked)
{
    Inputs in;
    in.tube = layout::mm(25);
    in.pitch = layout::mm(32);
    in.passes = 8;
    in.centring = Centring::Best;
    int asked = 0;
    EXPECT_THROW(layout::minShell(in, 5000, layout::mm(1), [&asked] { return ++asked > 3; }),
        layout::Stopped);
    EXPECT_EQ(asked, 4);
    // Never asked to stop, it finds the answer; it asks before every count, a few dozen here.
    asked = 0;
    const layout::MinShell answer =
        layout::minShell(in, 5000, layout::mm(1), [&asked] { return ++asked < 0; });
    EXPECT_TRUE(answer.reached);
    EXPECT_GT(asked, 5);
    EXPECT_LT(asked, 200);
}

// --- The off-centre lanes' shares, pinned where they snap --------------------------------

TEST(OffCentreLanes, ShareChangesTheRowExactlyAtTheBoundary)
{
    // Worked out with 60-digit decimals from the rules (e = 0.265 for 6 passes, 0.404 for 8;
    // d = 20): at the first DL the lane has just moved out a row, one micrometre less it has
    // not. A share of 0.001 more or less moves one of the two.
    const struct
    {
        int passes;
        Pattern pattern;
        const char *pitch, *at, *below;
        double lane, laneBelow; ///< y of the upper off-centre lane, mm
    } cases[] = {
        { 6, Pattern::Triangular, "26.5", "453.012702", "453.012701", 68.84901960086287,
            45.89934640057525 },
        { 6, Pattern::RotatedTriangular, "26.5", "270", "269.999999", 39.75, 26.5 },
        { 6, Pattern::Square, "26.5", "520", "519.999999", 79.5, 53.0 },
        { 6, Pattern::RotatedSquare, "26.5", "444.264069", "444.264068", 65.58415395505229,
            46.845824253608775 },
        { 8, Pattern::Triangular, "40.4", "453.012702", "453.012701", 104.96227893867396,
            69.97485262578265 },
        { 8, Pattern::RotatedTriangular, "40.4", "270", "269.999999", 60.6, 40.4 },
        { 8, Pattern::Square, "40.4", "520", "519.999999", 121.2, 80.8 },
        { 8, Pattern::RotatedSquare, "40.4", "444.264069", "444.264068", 99.98489885977781,
            71.4177848998413 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message()
            << c.passes << " passes, pattern " << layout::patternName(c.pattern));
        Inputs in;
        in.given = Given::LayoutCircle;
        in.pattern = c.pattern;
        in.passes = c.passes;
        in.tube = layout::mm(20);
        in.pitch = layout::parseLength(c.pitch, "p");
        for (const auto &[dl, y] : { std::pair { c.at, c.lane }, { c.below, c.laneBelow } }) {
            in.diameter = layout::parseLength(dl, "DL");
            const layout::Layout got = layout::study(in);
            ASSERT_TRUE(got.lanes[0].horizontal);
            EXPECT_NEAR(got.lanes[0].position, y, 1e-9) << "DL " << dl;
            EXPECT_NEAR(got.lanes[got.laneCount - 2].position, -y, 1e-9) << "DL " << dl;
        }
    }
}

// --- Default spacings, shown and typed back -----------------------------------------------

TEST(DefaultSpacings, TypedBackTheyLayTheSameTubes)
{
    const struct
    {
        Pattern pattern;
        const char *horizontal, *vertical; ///< the formulas shown
    } patterns[] = {
        { Pattern::Triangular, "√3·p", "2p" },
        { Pattern::RotatedTriangular, "2p", "√3·p" },
        { Pattern::Square, "2p", "2p" },
        { Pattern::RotatedSquare, "√2·p", "√2·p" },
    };
    const char *pitches[] = { "32", "25", "31.75", "23.8125", "0.5", "97.123457", "0.00001" };
    Draw uniform(8);
    int compared = 0;
    for (const auto &p : patterns) {
        for (const char *pitch : pitches) {
            for (int passes : { 2, 4, 6, 8 }) {
                Inputs in;
                in.given = Given::LayoutCircle;
                in.pattern = p.pattern;
                in.passes = passes;
                in.pitch = layout::parseLength(pitch, "p");
                in.tube = in.pitch;
                in.diameter = micro(
                    in.pitch.units / layout::kTypedStep * uniform(8, 60) + uniform(0, 999'999));
                in.centreTube = micro(uniform(0, 3) * in.pitch.units / layout::kTypedStep);
                if (in.centreTube->units == 0)
                    in.centreTube.reset();
                SCOPED_TRACE(::testing::Message()
                    << "pattern " << layout::patternName(p.pattern) << ", p " << pitch << ", "
                    << passes << " passes, DL " << layout::lengthText(in.diameter));
                const layout::Layout defaults = layout::study(in);
                // What the window shows: the horizontal lanes' value, then the vertical one's.
                std::vector<Length> horizontal;
                std::optional<Length> vertical;
                for (int i = 0; i < defaults.laneCount; ++i) {
                    const layout::Lane &lane = defaults.lanes[i];
                    ASSERT_NE(lane.formula, nullptr);
                    if (!lane.horizontal) {
                        EXPECT_STREQ(lane.formula, p.vertical);
                        vertical = lane.typable;
                    } else if (std::find(horizontal.begin(), horizontal.end(), lane.typable)
                        == horizontal.end()) {
                        horizontal.push_back(lane.typable);
                    }
                    // Within a micrometre below the exact spacing.
                    EXPECT_LE(layout::millimetres(lane.typable), lane.spacing);
                    EXPECT_GT(layout::millimetres(lane.typable), lane.spacing - 1.000001e-6);
                }
                if (passes == 2 || passes == 4) {
                    EXPECT_STREQ(defaults.lanes[0].formula, p.horizontal);
                }
                // 45° with 8 passes has two horizontal defaults, which one box cannot hold.
                if (horizontal.size() != 1)
                    continue;
                in.laneSpacing = horizontal.front();
                in.verticalSpacing = vertical;
                const layout::Layout typed = layout::study(in);
                EXPECT_EQ(typed.counts.inCircle, defaults.counts.inCircle);
                EXPECT_EQ(typed.counts.laneRemoved, defaults.counts.laneRemoved);
                EXPECT_EQ(typed.counts.total, defaults.counts.total);
                EXPECT_EQ(typed.counts.perPass, defaults.counts.perPass);
                EXPECT_EQ(typed.lanes[0].formula, nullptr);
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 100);
    // The window's example: 1000/25/32, 4 passes, d0 57 keeps 736 tubes, and so does √3·p
    // typed back as shown; rounded up (55.426) it would take the edge rows into the lane.
    Inputs example;
    example.diameter = layout::mm(1000);
    example.tube = layout::mm(25);
    example.pitch = layout::mm(32);
    example.passes = 4;
    example.centreTube = layout::mm(57);
    const layout::Layout shown = layout::study(example);
    EXPECT_EQ(shown.counts.total, 736);
    EXPECT_EQ(layout::lengthText(shown.lanes[0].typable), "55.425625");
    example.laneSpacing = shown.lanes[0].typable;
    example.verticalSpacing = shown.lanes[1].typable;
    EXPECT_EQ(layout::study(example).counts.total, 736);
    example.laneSpacing = layout::parseLength("55.426", "Sn");
    EXPECT_EQ(layout::study(example).counts.total, 680);
}

// --- Reading what is typed ----------------------------------------------------------------

struct ReadCase
{
    const char *name;
    std::vector<layout::TypedOption> typed;
    std::vector<std::pair<Field, Problem>> problems; ///< all of them, in order
    layout::Diameter diameter = layout::Diameter::Typed;
    bool passList = false;
};

TEST(ReadLayout, EveryProblemTiedToItsField)
{
    const std::vector<layout::TypedOption> base = { { "shell", "600" }, { "tube", "25" },
        { "pitch", "32" } };
    const auto with = [&base](std::vector<layout::TypedOption> more) {
        std::vector<layout::TypedOption> all = base;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    const ReadCase cases[] = {
        { "plain", base, {} },
        { "three bad at once", { { "shell", "abc" }, { "tube", "0" }, { "pitch", "1e-7" } },
            { { Field::Diameter, Problem::NotANumber }, { Field::Tube, Problem::NotPositive },
                { Field::Pitch, Problem::TooManyDecimals } } },
        // The pitch is not compared with a tube that could not be read.
        { "pitch and unread tube", { { "shell", "600" }, { "tube", "x" }, { "pitch", "1" } },
            { { Field::Tube, Problem::NotANumber } } },
        { "pitch below tube", { { "shell", "600" }, { "tube", "25" }, { "pitch", "24.999999" } },
            { { Field::Pitch, Problem::PitchBelowTube } } },
        { "repeated", with({ { "pitch", "24" } }), { { Field::Pitch, Problem::Repeated } } },
        { "empty and missing", { { "shell", "600" }, { "tube", " " } },
            { { Field::Tube, Problem::Empty }, { Field::Pitch, Problem::Missing } } },
        { "no diameter", { { "tube", "25" }, { "pitch", "32" } },
            { { Field::Diameter, Problem::Missing } } },
        { "shell and otl", with({ { "otl", "584" } }), { { Field::Diameter, Problem::Conflict } } },
        { "unknown", with({ { "colour", "red" } }), { { Field::None, Problem::UnknownOption } } },
        { "choices", with({ { "pattern", "31" }, { "passes", "3" }, { "centre", "middle" } }),
            { { Field::Pattern, Problem::NotAChoice }, { Field::Passes, Problem::PassCount },
                { Field::Centring, Problem::NotAChoice } } },
        { "list without a sweep", with({ { "passes", "2,4" } }),
            { { Field::Passes, Problem::PassCount } } },
        { "list in a sweep",
            { { "tube", "25" }, { "pitch", "32" }, { "passes", "1,2,4" },
                { "lane-spacing", "38,44" } },
            {}, layout::Diameter::VariedShell, true },
        { "spacing, one pass", with({ { "lane-spacing", "38" } }),
            { { Field::LaneSpacing, Problem::NoLanes } } },
        { "vertical, two passes", with({ { "passes", "2" }, { "lane-spacing", "38,9999" } }),
            { { Field::VerticalSpacing, Problem::NoVerticalLane } } },
        { "vertical, a sweep of 1 and 2",
            { { "tube", "25" }, { "pitch", "32" }, { "passes", "1,2" },
                { "lane-spacing", "38,44" } },
            { { Field::VerticalSpacing, Problem::NoVerticalLane } },
            layout::Diameter::VariedLayoutCircle, true },
        { "three spacings", with({ { "passes", "4" }, { "lane-spacing", "1,2,3" } }),
            { { Field::LaneSpacing, Problem::SpacingForm } } },
        { "spacings both bad", with({ { "passes", "4" }, { "lane-spacing", "a,0" } }),
            { { Field::LaneSpacing, Problem::NotANumber },
                { Field::VerticalSpacing, Problem::NotPositive } } },
        { "clearance with otl",
            { { "otl", "584" }, { "tube", "25" }, { "pitch", "32" }, { "clearance", "8" } },
            { { Field::Clearance, Problem::ClearanceWithoutShell } } },
        { "clearance eats the shell", with({ { "clearance", "300" } }),
            { { Field::Clearance, Problem::NoLayoutCircle } } },
        { "clearance leaves a hair", with({ { "clearance", "299.999999" } }), {} },
        { "shell inside the clearance", { { "shell", "16" }, { "tube", "25" }, { "pitch", "32" } },
            { { Field::Diameter, Problem::NoLayoutCircle } } },
        { "a sweep may start there", { { "tube", "25" }, { "pitch", "32" }, { "clearance", "9" } },
            {}, layout::Diameter::VariedShell },
        { "a study with a diameter", base, { { Field::Diameter, Problem::Conflict } },
            layout::Diameter::VariedShell },
        { "centre tube negative", with({ { "centre-tube", "-1" } }),
            { { Field::CentreTube, Problem::Negative } } },
        { "too many rows", { { "otl", "100000" }, { "tube", "0.00004" }, { "pitch", "0.00004" } },
            { { Field::Diameter, Problem::TooManyPitches } } },
        // The designers' options.
        { "the standard's pitch", { { "shell", "600" }, { "tube", "25" }, { "gb151", "" } }, {} },
        { "a tube the standard lacks", { { "shell", "600" }, { "tube", "24" }, { "gb151", "" } },
            { { Field::Pitch, Problem::NotInTable } } },
        { "the standard as a word", with({ { "gb151", "maybe" } }),
            { { Field::Standard, Problem::NotAChoice } } },
        { "the standard without a shell", { { "otl", "584" }, { "tube", "25" }, { "gb151", "" } },
            { { Field::Standard, Problem::NeedsShell }, { Field::TieRods, Problem::NeedsShell } } },
        { "the standard in a sweep", { { "tube", "25" }, { "gb151", "" }, { "passes", "2" } }, {},
            layout::Diameter::VariedShell },
        { "lanes as a word", with({ { "lanes", "sideways" } }),
            { { Field::LaneModel, Problem::NotAChoice } } },
        { "shifted below the tube",
            with({ { "passes", "4" }, { "lanes", "shift" }, { "lane-spacing", "24,24.5" } }),
            { { Field::LaneSpacing, Problem::SpacingBelowTube },
                { Field::VerticalSpacing, Problem::SpacingBelowTube } } },
        { "shifted without the standard's Sn",
            { { "shell", "600" }, { "tube", "24" }, { "pitch", "32" }, { "passes", "2" },
                { "lanes", "shift" } },
            { { Field::LaneSpacing, Problem::Missing } } },
        { "shifted, straddled across a vertical lane",
            with({ { "passes", "6" }, { "lanes", "shift" }, { "centre", "straddle" } }),
            { { Field::Centring, Problem::NeedsOnTube } } },
        { "bundle as a word", with({ { "bundle", "x" } }),
            { { Field::Bundle, Problem::NotAChoice } } },
        { "U-tubes of 6 passes round a centre tube",
            with({ { "passes", "6" }, { "bundle", "u-tube" }, { "centre-tube", "57" } }),
            { { Field::Passes, Problem::NotWithBundle },
                { Field::CentreTube, Problem::NotWithBundle } } },
        { "a bend without U-tubes", with({ { "bend-radius", "50" } }),
            { { Field::BendRadius, Problem::NeedsUTube } } },
        { "a bend of nothing",
            with({ { "passes", "2" }, { "bundle", "u-tube" }, { "bend-radius", "0" } }),
            { { Field::BendRadius, Problem::NotPositive } } },
        { "tie rods as a word", with({ { "tie-rods", "many" } }),
            { { Field::TieRods, Problem::NotWhole } } },
        { "no tie rods", with({ { "tie-rods", "0" } }), {} },
        { "odd tie rods in U-tubes",
            with({ { "passes", "2" }, { "bundle", "u-tube" }, { "tie-rods", "3" } }),
            { { Field::TieRods, Problem::OddTieRods } } },
        { "a shell outside TEMA's table",
            { { "shell", "100" }, { "tube", "25" }, { "pitch", "32" }, { "tie-rods", "tema" } },
            { { Field::TieRods, Problem::OutsideTable } } },
        { "a tube outside GB/T 151's rods",
            { { "shell", "600" }, { "tube", "60" }, { "pitch", "72" }, { "tie-rods", "gb151" } },
            { { Field::TieRods, Problem::OutsideTable } } },
        { "tie rods without a shell",
            { { "otl", "584" }, { "tube", "25" }, { "pitch", "32" }, { "tie-rods", "4" } },
            { { Field::TieRods, Problem::NeedsShell } } },
        { "a cut out of range", with({ { "baffle-cut", "25,10" } }),
            { { Field::BaffleCut, Problem::CutOutOfRange } } },
        { "a cut as a word", with({ { "baffle-cut", "25,x" } }),
            { { Field::BaffleCut, Problem::NotANumber } } },
        { "a cut without a shell",
            { { "otl", "584" }, { "tube", "25" }, { "pitch", "32" }, { "baffle-cut", "25" } },
            { { Field::BaffleCut, Problem::NeedsShell } } },
        // A study names the diameter it varies by its option alone.
        { "a study of the shell, named", { { "shell", "" }, { "tube", "25" }, { "pitch", "32" } },
            {}, layout::Diameter::Varied },
        { "a study of the layout circle, named",
            { { "otl", "" }, { "tube", "25" }, { "pitch", "32" } }, {}, layout::Diameter::Varied },
        { "a study naming both",
            { { "shell", "" }, { "otl", "" }, { "tube", "25" }, { "pitch", "32" } },
            { { Field::Diameter, Problem::Conflict } }, layout::Diameter::Varied },
        { "a study given a diameter", base, { { Field::Diameter, Problem::Conflict } },
            layout::Diameter::Varied },
        { "a study of cuts for several pass counts",
            { { "tube", "25" }, { "pitch", "32" }, { "passes", "2,4" }, { "baffle-cut", "25" } },
            { { Field::BaffleCut, Problem::Conflict } }, layout::Diameter::Varied, true },
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        const layout::Reading reading = layout::readLayout(c.typed, c.diameter, c.passList);
        std::vector<std::pair<Field, Problem>> got;
        for (const layout::InputError &problem : reading.problems) {
            got.emplace_back(problem.field(), problem.problem());
            // One line, naming what is wrong.
            EXPECT_EQ(std::string(problem.what()).find('\n'), std::string::npos);
        }
        EXPECT_EQ(got, c.problems);
        EXPECT_EQ(reading.ok(), c.problems.empty());
    }
}

TEST(ReadLayout, AStudyVariesTheDiameterItNames)
{
    const auto given = [](std::vector<layout::TypedOption> typed) {
        typed.insert(typed.end(), { { "tube", "25" }, { "pitch", "32" } });
        const layout::Reading reading = layout::readLayout(typed, layout::Diameter::Varied);
        EXPECT_TRUE(reading.ok());
        return reading.inputs.given;
    };
    EXPECT_EQ(given({}), Given::Shell);
    EXPECT_EQ(given({ { "shell", "" } }), Given::Shell);
    EXPECT_EQ(given({ { "otl", " " } }), Given::LayoutCircle);
    // Its refusal names the study.
    const layout::Reading named =
        layout::readLayout({ { "shell", "600" }, { "tube", "25" }, { "pitch", "32" } },
            layout::Diameter::Varied, false, "--min-shell");
    ASSERT_FALSE(named.ok());
    EXPECT_EQ(std::string(named.problems.front().what()).rfind("--min-shell varies", 0), 0u);
}

TEST(ReadLayout, TypedAsTheWindowsTypeIt)
{
    const layout::Reading ascii = layout::readLayout({ { "shell", "600" }, { "tube", "25" },
        { "pitch", "32" }, { "passes", "4" }, { "lane-spacing", "38,44" }, { "centre-tube", "57" },
        { "pattern", "90" }, { "centre", "best" } });
    ASSERT_TRUE(ascii.ok());
    // Full-width digits, signs and commas, an ideographic space, blanks around: the same.
    const layout::Reading wide = layout::readLayout({ { "shell", " ６００\t" }, { "tube", "２５" },
        { "pitch", "３２．０" }, { "passes", "４" }, { "lane-spacing", "３８，４４" },
        { "centre-tube", "\xe3\x80\x80５７" }, { "pattern", "９０" }, { "centre", "ｂｅｓｔ" } });
    ASSERT_TRUE(wide.ok()) << wide.problems.front().what();
    const Inputs &a = ascii.inputs, &w = wide.inputs;
    EXPECT_EQ(std::tuple(a.diameter, a.tube, a.pitch, a.passes, *a.laneSpacing, *a.verticalSpacing,
                  *a.centreTube, a.pattern, a.centring),
        std::tuple(w.diameter, w.tube, w.pitch, w.passes, *w.laneSpacing, *w.verticalSpacing,
            *w.centreTube, w.pattern, w.centring));
    // A centre tube of 0 is none, as in the window and korvane-count; the defaults otherwise.
    for (const char *zero : { "0", "0.000", "０" }) {
        const layout::Reading none = layout::readLayout(
            { { "otl", "584" }, { "tube", "25" }, { "pitch", "32" }, { "centre-tube", zero } });
        ASSERT_TRUE(none.ok()) << zero;
        EXPECT_FALSE(none.inputs.centreTube) << zero;
        EXPECT_EQ(none.inputs.given, Given::LayoutCircle);
        EXPECT_EQ(none.inputs.pattern, Pattern::Triangular);
        EXPECT_EQ(none.inputs.passes, 1);
        EXPECT_EQ(none.inputs.centring, Centring::OnTube);
        EXPECT_EQ(none.passes, std::vector<int>({ 1 }));
    }
}

} // namespace
