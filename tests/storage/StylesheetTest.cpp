// The default stylesheet applied by xsltproc to real exports of the library.
#include "core/MonthGrid.h"
#include "storage/SafeSave.h"
#include "storage/XmlExport.h"
#include "tests/support/DateHelpers.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sys/wait.h>

namespace {

class Stylesheet : public TempFolderTest {
  protected:
    // The HTML that the stylesheet makes of the export; fails the test when
    // xsltproc reports anything.
    std::string Transform(const MonthExport& month) {
        const std::string path = PathOf("OrvikCalendar.xml");
        std::string error;
        EXPECT_TRUE(SaveFileSafely(path, ExportXml(month), error)) << error;
        const std::string command = "xsltproc '" ORVIK_STYLESHEET "' '" + path + "' 2>&1";
        std::FILE* pipe = popen(command.c_str(), "r");
        EXPECT_NE(pipe, nullptr);
        std::string html;
        char chunk[4096];
        std::size_t got;
        while (pipe && (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
            html.append(chunk, got);
        const int status = pipe ? pclose(pipe) : -1;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << html;
        return html;
    }

    static MonthExport Month(int year, int month, bool sundayFirst, const Date& today,
                             const std::string& textOfThe5th = "",
                             const std::string& encoding = "windows-1252") {
        MonthExport exported;
        exported.encoding = encoding;
        exported.displayedDate = Ymd(year, month, 1);
        exported.today = today;
        exported.xslTemplate = ORVIK_STYLESHEET;
        exported.sundayFirst = sundayFirst;
        Date day = FirstGridDate(exported.displayedDate, sundayFirst);
        for (int cell = 0; cell < kGridCells; ++cell, day.SubtractDays(-1)) {
            const bool the5th = day.month == month && day.day == 5;
            exported.days.push_back({day, the5th ? textOfThe5th : std::string()});
        }
        return exported;
    }
};

std::vector<std::string> AllMatches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex expression(pattern);
    for (std::sregex_iterator it(text.begin(), text.end(), expression), end; it != end; ++it)
        found.push_back((*it)[1]);
    return found;
}

using Strings = std::vector<std::string>;

TEST_F(Stylesheet, LaysOutSixWeeksUnderTheWeekdays) {
    const std::string html = Transform(Month(2026, 3, false, Ymd(2026, 3, 18)));
    EXPECT_EQ(AllMatches(html, "<title>([^<]*)</title>"), Strings{"March 2026"});
    EXPECT_EQ(AllMatches(html, "<th[^>]*>([A-Za-z]+)</th>"),
              (Strings{"Wk", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
                       "Sunday"}));
    EXPECT_EQ(AllMatches(html, "<td class=\"(day[^\"]*)\"").size(), 42u);
    EXPECT_EQ(AllMatches(html, "<tr>()").size(), 7u) << "the header and six weeks";
    EXPECT_EQ(AllMatches(html, "<td class=\"day( other)").size(), 11u) << "23-28 Feb, 1-5 Apr";
    EXPECT_EQ(AllMatches(html, "<td class=\"day[^\"]*( today)").size(), 1u);
    EXPECT_EQ(AllMatches(html, "<td class=\"day[^\"]*today\">\\s*<div class=\"cell\">\\s*"
                               "<div class=\"number\"><span>([0-9]+)<"),
              Strings{"18"});
    EXPECT_EQ(AllMatches(html, "<th class=\"week\">([0-9]+)</th>"),
              (Strings{"9", "10", "11", "12", "13", "14"}));
}

TEST_F(Stylesheet, SundayFirstAndWeeksAcrossTheYearsEnd) {
    const std::string html = Transform(Month(2026, 12, true, Ymd(2025, 6, 1)));
    EXPECT_EQ(AllMatches(html, "<th[^>]*>([A-Za-z]+)</th>"),
              (Strings{"Wk", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                       "Saturday"}));
    // Rows start on Sunday 29 November 2026; each is numbered by its Monday.
    EXPECT_EQ(AllMatches(html, "<th class=\"week\">([0-9]+)</th>"),
              (Strings{"49", "50", "51", "52", "53", "1"}));
    EXPECT_EQ(AllMatches(html, "class=\"day[^\"]*( today)").size(), 0u)
        << "today is in another year";
}

TEST_F(Stylesheet, WeeksOfAYearStartingLate) {
    // 1 January 2021 is a Friday: it belongs to week 53 of 2020.
    const std::string html = Transform(Month(2021, 1, false, Ymd(2021, 1, 1)));
    EXPECT_EQ(AllMatches(html, "<th class=\"week\">([0-9]+)</th>"),
              (Strings{"53", "1", "2", "3", "4", "5"}));
}

TEST_F(Stylesheet, DayTextsAreTextEvenWhenTheyLookLikeMarkup) {
    const std::string text = "11:00 <script>alert('&')</script>\r\n\r\n\"quoted\" & more";
    const std::string html = Transform(Month(2026, 3, false, Ymd(2026, 3, 1), text));
    const std::regex lines(
        "<div class=\"line\">11:00 &lt;script&gt;alert\\('&amp;'\\)&lt;/script&gt;"
        "</div>\\s*<div class=\"line\"></div>\\s*"
        "<div class=\"line\">\"quoted\" &amp; more</div>");
    EXPECT_TRUE(std::regex_search(html, lines)) << html;
}

TEST_F(Stylesheet, TextsInTheDeclaredEncodingReachThePage) {
    const struct {
        const char* encoding;
        std::string text, line; // the line as the UTF-8 page shows it
    } cases[] = {
        {"UTF-8", "Grüße, Жук 😀", "Grüße, Жук 😀"},
        {"UTF-8", "legacy \xe9", "legacy \ufffd"},
        {"windows-1252", "Gr\xfc\xdf Gott \x80", "Grüß Gott €"},
    };
    for (const auto& c : cases) {
        const std::string html =
            Transform(Month(2026, 3, false, Ymd(2026, 3, 1), c.text, c.encoding));
        EXPECT_NE(html.find("<div class=\"line\">" + c.line + "</div>"), std::string::npos)
            << c.encoding << " " << html;
    }
}

} // namespace
