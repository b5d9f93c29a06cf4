#include "engine/tube_count.h"
#include "runtime/error.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

using engine::Box;
using runtime::ErrorNumber;

/// Records every message box and every write in one ordered transcript.
class TranscriptHost : public engine::Host
{
public:
    std::string text(Box box) const override { return m_boxes[static_cast<std::size_t>(box)]; }
    void setText(Box box, std::string_view utf8) override
    {
        m_boxes[static_cast<std::size_t>(box)] = std::string(utf8);
        transcript.push_back(name(box) + " = " + std::string(utf8));
    }
    void messageBox(std::string_view prompt) override
    {
        transcript.push_back("box: " + std::string(prompt));
    }

    /// Types the four inputs in the window's tab order: shell, pitch, tube, centre tube.
    void type(const std::string &shell, const std::string &pitch, const std::string &tube,
        const std::string &centre)
    {
        const std::array<std::string, 4> inputs { shell, pitch, tube, centre };
        for (std::size_t i = 0; i < inputs.size(); ++i)
            m_boxes[static_cast<std::size_t>(engine::kInputBoxes[i])] = inputs[i];
    }

    std::vector<std::string> transcript;

private:
    static std::string name(Box box) { return "Text" + std::to_string(int(box) + 1); }

    std::array<std::string, 5> m_boxes;
};

/// A click, and the error it ended with, if any.
std::optional<ErrorNumber> click(engine::Form1 &form)
{
    return test_support::errorOf([&] { form.Command1_Click(); });
}

struct CalculateCase
{
    const char *name;
    std::array<const char *, 4> inputs; ///< shell, pitch, tube, centre tube
    std::vector<std::string> transcript;
};

void PrintTo(const CalculateCase &c, std::ostream *os)
{
    *os << c.name;
}

class Calculate : public testing::TestWithParam<CalculateCase>
{
};

TEST_P(Calculate, Transcript)
{
    const CalculateCase &c = GetParam();
    TranscriptHost host;
    engine::Form1 form(host);
    host.type(c.inputs[0], c.inputs[1], c.inputs[2], c.inputs[3]);
    EXPECT_EQ(click(form), std::nullopt);
    EXPECT_EQ(host.transcript, c.transcript);
}

INSTANTIATE_TEST_SUITE_P(Calculate, Calculate,
    testing::Values(CalculateCase { "AllEmpty", { "", "", "", "" }, { "Text2 = 0" } },
        CalculateCase { "NoCentreTube", { "600", "32", "25", "" }, { "Text2 = 283" } },
        CalculateCase { "CentreZero", { "600", "32", "25", "0" }, { "Text2 = 283" } },
        CalculateCase { "CentreTube", { "600", "32", "25", "57" },
            { "box: 总的管束283", "box: 中心去掉的管束7", "box:  最后管束276", "Text2 = 276" } },
        CalculateCase { "CentreTubeTooSmall", { "400", "25", "19", "25" },
            { "box: 中心管外径过小", "box: 总的管束199", "box: 中心去掉的管束7",
                "box:  最后管束192", "Text2 = 192" } },
        // The warning needs a centre circle (tube + 16) narrower than two row heights, 55.43.
        CalculateCase { "CentreCircleTwoRowsHigh", { "600", "32", "25", "39.42562584220407" },
            { "box: 总的管束283", "box: 中心去掉的管束7", "box:  最后管束276", "Text2 = 276" } },
        CalculateCase { "CentreTubeBelowTwoRows", { "600", "32", "25", "50" },
            { "box: 总的管束283", "box: 中心去掉的管束7", "box:  最后管束276", "Text2 = 276" } },
        CalculateCase { "CentreCircleJustBelow", { "600", "32", "25", "39.4256258422040" },
            { "box: 中心管外径过小", "box: 总的管束283", "box: 中心去掉的管束7",
                "box:  最后管束276", "Text2 = 276" } },
        CalculateCase { "UnitsTyped", { "600mm", "32 mm", "25毫米", "57\tmm" },
            { "box: 总的管束283", "box: 中心去掉的管束7", "box:  最后管束276", "Text2 = 276" } },
        CalculateCase { "NegativeCentreCounts", { "600", "32", "25", "-10" },
            { "box: 中心管外径过小", "box: 总的管束283", "box: 中心去掉的管束1",
                "box:  最后管束282", "Text2 = 282" } },
        // More tubes removed than laid out: the final figure is shown negative.
        CalculateCase { "CentreLargerThanLayout", { "66", "32", "25", "100" },
            { "box: 总的管束1", "box: 中心去掉的管束19", "box:  最后管束-18", "Text2 = -18" } }),
    test_support::CaseName());

TEST(Calculate, FormVariablesAfterClick)
{
    TranscriptHost host;
    engine::Form1 form(host);
    host.type("600", "32", "25", "57");
    ASSERT_EQ(click(form), std::nullopt);
    EXPECT_EQ(form.Dl, 584);
    EXPECT_EQ(form.di, 600);
    EXPECT_EQ(form.d, 25);
    EXPECT_EQ(form.zxg, 57);
    EXPECT_EQ(form.zxg_n, 7);
    EXPECT_EQ(form.gxj, 32);

    host.type("", "", "", "");
    ASSERT_EQ(click(form), std::nullopt);
    EXPECT_EQ(form.Dl, -16);
    EXPECT_EQ(form.zxg, 0);
}

TEST(Calculate, ClickWithoutCentreKeepsRemovedCount)
{
    TranscriptHost host;
    engine::Form1 form(host);
    host.type("800", "32", "25", "108");
    ASSERT_EQ(click(form), std::nullopt);
    EXPECT_EQ(form.zxg_n, 19);
    host.type("600", "32", "25", "");
    host.transcript.clear();
    ASSERT_EQ(click(form), std::nullopt);
    EXPECT_EQ(host.transcript, std::vector<std::string> { "Text2 = 283" });
    EXPECT_EQ(form.zxg_n, 19);
}

struct ErrorCase
{
    const char *name;
    std::array<const char *, 4> inputs;
    ErrorNumber error;
    std::vector<std::string> transcript; ///< boxes shown before the error
};

void PrintTo(const ErrorCase &c, std::ostream *os)
{
    *os << c.name;
}

class CalculateError : public testing::TestWithParam<ErrorCase>
{
};

TEST_P(CalculateError, StopsWhereRaisedAndKeepsText2)
{
    const ErrorCase &c = GetParam();
    TranscriptHost host;
    engine::Form1 form(host);
    host.setText(Box::Text2, "276");
    host.transcript.clear();
    host.type(c.inputs[0], c.inputs[1], c.inputs[2], c.inputs[3]);
    EXPECT_EQ(click(form), c.error);
    EXPECT_EQ(host.transcript, c.transcript);
    EXPECT_EQ(host.text(Box::Text2), "276");
}

INSTANTIATE_TEST_SUITE_P(Calculate, CalculateError,
    testing::Values(
        ErrorCase { "ZeroPitch", { "600", "0", "25", "57" }, ErrorNumber::Overflow, {} },
        ErrorCase { "ZeroPitchOnlyInCentre", { "0", "0", "25", "57" }, ErrorNumber::Overflow, {} },
        ErrorCase {
            "TooManyRows", { "1000", "0.5", "0", "" }, ErrorNumber::SubscriptOutOfRange, {} },
        ErrorCase { "RowTooWide", { "1000", "0.03", "0", "" }, ErrorNumber::Overflow, {} },
        ErrorCase { "NegativeTube", { "1000", "25", "-19", "" }, ErrorNumber::InvalidCall, {} },
        ErrorCase {
            "CentreNegativePitch", { "0", "-25", "19", "57" }, ErrorNumber::InvalidCall, {} },
        ErrorCase { "ErrorAfterWarning", { "0", "-25", "200", "-100" }, ErrorNumber::InvalidCall,
            { "box: 中心管外径过小" } },
        ErrorCase { "ShellBeyondDouble", { "1e309", "32", "25", "57" }, ErrorNumber::Overflow, {} },
        ErrorCase {
            "CentreBeyondDouble", { "600", "32", "25", "-1D999" }, ErrorNumber::Overflow, {} },
        ErrorCase {
            "ShellSquareOverflows", { "1e308", "32", "25", "" }, ErrorNumber::Overflow, {} }),
    test_support::CaseName());

TEST(Calculate, ErrorKeepsVariablesAssignedBeforeIt)
{
    TranscriptHost host;
    engine::Form1 form(host);
    host.type("600", "32", "25", "57");
    ASSERT_EQ(click(form), std::nullopt);

    // Text5 is read first, Text4 second: the tube diameter is taken, the shell is not.
    host.type("1e400", "19", "14", "0");
    EXPECT_EQ(click(form), ErrorNumber::Overflow);
    EXPECT_EQ(form.d, 14);
    EXPECT_EQ(form.di, 600);
    EXPECT_EQ(form.gxj, 32);
    EXPECT_EQ(form.zxg, 57);
    EXPECT_EQ(form.Dl, 584);

    // A zero pitch fails in the layout count, after every input and Dl are assigned.
    host.type("800", "0", "25", "108");
    EXPECT_EQ(click(form), ErrorNumber::Overflow);
    EXPECT_EQ(form.di, 800);
    EXPECT_EQ(form.gxj, 0);
    EXPECT_EQ(form.zxg, 108);
    EXPECT_EQ(form.Dl, 784);
    EXPECT_EQ(form.zxg_n, 7);
    EXPECT_EQ(host.text(Box::Text2), "276");

    // The form is still usable afterwards.
    host.transcript.clear();
    host.type("400", "32", "0", "");
    EXPECT_EQ(click(form), std::nullopt);
    EXPECT_EQ(host.transcript, std::vector<std::string> { "Text2 = 127" });
}

// The slowest inputs found: the 1001-row table filled with rows of 16382 positions (2c stays
// just under 32768), in the layout count or in the centre count after a full layout. Each ends
// as the window would; how long they take is measured in calculate_bench, not here, since a
// busy machine says nothing about the code.
TEST(Calculate, SlowestInputsEndAsTheWindowWould)
{
    struct Slow
    {
        std::array<const char *, 4> inputs;
        std::optional<ErrorNumber> error;
    };
    for (const Slow &slow : { Slow { { "32780", "1", "0", "" }, ErrorNumber::SubscriptOutOfRange },
             Slow { { "1748", "1", "0", "32700" }, ErrorNumber::SubscriptOutOfRange },
             Slow { { "1748", "1", "0", "1716" }, std::nullopt },
             Slow { { "32790", "1", "0", "" }, ErrorNumber::Overflow },
             Slow { { "1000", "0", "0", "" }, ErrorNumber::Overflow } }) {
        TranscriptHost host;
        engine::Form1 form(host);
        host.type(slow.inputs[0], slow.inputs[1], slow.inputs[2], slow.inputs[3]);
        EXPECT_EQ(click(form), slow.error) << slow.inputs[0] << "/" << slow.inputs[3];
    }
}

} // namespace
