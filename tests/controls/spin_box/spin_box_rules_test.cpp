// How the spin box reads and writes its number, and where its parts go.

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "spin_box_layout.h"
#include "spin_box_number.h"

namespace quilvane::controls {
namespace {

TEST(SpinBoxNumber, ReadsTheNumberAtTheStartOfTheText) {
    EXPECT_EQ(LeadingNumber(L"9.5"), 9.5);
    EXPECT_EQ(LeadingNumber(L"30 Minuten"), 30);
    EXPECT_EQ(LeadingNumber(L" -0.5"), -0.5);
    EXPECT_EQ(LeadingNumber(L"+7x"), 7);
    EXPECT_EQ(LeadingNumber(L"1 2\t3"), 123);  // blanks inside are skipped as well
    EXPECT_EQ(LeadingNumber(L"1.2.3"), 1.2);
    EXPECT_EQ(LeadingNumber(L".5"), 0.5);
    EXPECT_EQ(LeadingNumber(L"1e3"), 1000);
    EXPECT_EQ(LeadingNumber(L"2E-2"), 0.02);
    EXPECT_EQ(LeadingNumber(L"4e"), 4);  // an exponent without digits is no exponent
    EXPECT_EQ(LeadingNumber(L"4e+x"), 4);
}

TEST(SpinBoxNumber, TextWithoutANumberReadsZero) {
    for (const wchar_t* text : {L"", L"abc", L"-", L".", L"+.", L"e5", L"--5", L"\u4e94"})
        EXPECT_EQ(LeadingNumber(text), 0) << static_cast<int>(text[0]);
}

TEST(SpinBoxNumber, MagnitudesBeyondRangeStayFinite) {
    // A long row of typed nines is a very large number, never "no number" (0).
    EXPECT_EQ(LeadingNumber(std::wstring(400, L'9')), std::numeric_limits<double>::max());
    EXPECT_EQ(LeadingNumber(L"-1e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(LeadingNumber(L"1e-999"), 0);
}

TEST(SpinBoxNumber, WritesTheShortestPlainForm) {
    EXPECT_EQ(NumberText(30), L"30");
    EXPECT_EQ(NumberText(10.5), L"10.5");
    EXPECT_EQ(NumberText(-0.5), L"-0.5");
    EXPECT_EQ(NumberText(0.1 + 0.2), L"0.3");  // 15 significant digits, as the platform writes
    EXPECT_EQ(NumberText(-0.0), L"0");
    EXPECT_EQ(NumberText(1234567.25), L"1234567.25");
    EXPECT_EQ(LeadingNumber(NumberText(1e20)), 1e20);  // an exponent form reads back
}

TEST(SpinBoxLayoutRules, KeepsAMinimumWidthAndPlacesTheArrowsFromTheRight) {
    const spin_layout::Layout narrow = spin_layout::LayOut(300, 9);
    EXPECT_EQ(narrow.width, 400);
    EXPECT_EQ(narrow.arrowLeft, 145);
    EXPECT_EQ(narrow.textWidth, 55);
    const spin_layout::Layout wide = spin_layout::LayOut(900, 9);
    EXPECT_EQ(wide.width, 900);
    EXPECT_EQ(wide.arrowLeft, 645);
    EXPECT_EQ(wide.textWidth, 555);
}

TEST(SpinBoxLayoutRules, LargerFontsLiftTheNumberByWholePointsHalvesToEven) {
    EXPECT_EQ(spin_layout::LayOut(900, 8).textTop, 60);
    EXPECT_EQ(spin_layout::LayOut(900, 8.25).textTop, 60);
    EXPECT_EQ(spin_layout::LayOut(900, 9).textTop, 45);
    EXPECT_EQ(spin_layout::LayOut(900, 10.5).textTop, 30);  // 2.5 rounds to 2
    EXPECT_EQ(spin_layout::LayOut(900, 11.5).textTop, 0);   // 3.5 rounds to 4
}

}  // namespace
}  // namespace quilvane::controls
