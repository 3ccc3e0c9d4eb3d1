#include "storage/XmlExport.h"

#include "core/MonthGrid.h"
#include "storage/CalendarFile.h"
#include "tests/support/DateHelpers.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The 42 grid days of a month as the view lays them out, with texts for some.
MonthExport MonthOf(int year, int month, const std::map<int, std::string>& textsByDayOfMonth = {},
                    bool sundayFirst = false) {
    MonthExport exported;
    exported.displayedDate = Ymd(year, month, 1);
    exported.today = Ymd(year, month, 15);
    exported.xslTemplate = "OrvikCalendar.xsl";
    exported.sundayFirst = sundayFirst;
    Date day = FirstGridDate(exported.displayedDate, sundayFirst);
    for (int cell = 0; cell < kGridCells; ++cell, day.SubtractDays(-1)) {
        const auto text = textsByDayOfMonth.find(day.day);
        const bool inMonth = day.month == month && text != textsByDayOfMonth.end();
        exported.days.push_back({day, inMonth ? text->second : std::string()});
    }
    return exported;
}

// The <line> elements of the event of a day of the displayed month.
std::vector<std::string> LinesOfDay(const std::string& document, int month, int dayOfMonth) {
    const std::string start = "\t\t<moy>" + std::to_string(month) + "</moy>\r\n\t\t<dom>" +
                              std::to_string(dayOfMonth) + "</dom>\r\n";
    std::size_t at = document.find(start);
    const std::size_t end = document.find("\t</event>", at);
    std::vector<std::string> lines;
    while ((at = document.find("\t\t<line>", at)) < end) {
        at += 8;
        lines.push_back(document.substr(at, document.find("</line>\r\n", at) - at));
    }
    return lines;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

TEST(XmlExport, HeaderAndTheFirstEventsOfAGridStartingInTheMonthBefore) {
    MonthExport march = MonthOf(2026, 3, {{1, "first of March"}});
    march.today = Ymd(2026, 1, 10);
    const std::string document = ExportXml(march);
    const std::string expectedStart =
        "<?xml version=\"1.0\" encoding=\"windows-1252\" ?>\r\n"
        "<?xml-stylesheet type=\"text/xsl\" href=\"OrvikCalendar.xsl\"?>\r\n"
        "<OrvikCalendar>\r\n"
        "\t<year>2026</year>\r\n"
        "\t<moy>3</moy>\r\n"
        "\t<monthname>March</monthname>\r\n"
        "\t<doy>10</doy>\r\n"
        "\t<woy>10</woy>\r\n"
        "\t<sundayfirst>0</sundayfirst>\r\n"
        "\t<event>\r\n"
        "\t\t<year>2026</year>\r\n"
        "\t\t<moy>2</moy>\r\n"
        "\t\t<dom>23</dom>\r\n"
        "\t\t<doy>54</doy>\r\n"
        "\t\t<dow>2</dow>\r\n"
        "\t\t<line></line>\r\n"
        "\t</event>\r\n";
    EXPECT_EQ(document.substr(0, expectedStart.size()), expectedStart);
    const std::string firstOfMarch = "\t<event>\r\n"
                                     "\t\t<year>2026</year>\r\n"
                                     "\t\t<moy>3</moy>\r\n"
                                     "\t\t<dom>1</dom>\r\n"
                                     "\t\t<doy>60</doy>\r\n"
                                     "\t\t<dow>1</dow>\r\n"
                                     "\t\t<line>first of March</line>\r\n"
                                     "\t</event>\r\n";
    EXPECT_NE(document.find(firstOfMarch), std::string::npos);
    const std::string end = "\t</event>\r\n</OrvikCalendar>\r\n";
    EXPECT_EQ(document.substr(document.size() - end.size()), end);
    EXPECT_EQ(Count(document, "\t<event>\r\n"), 42u);
    EXPECT_EQ(Count(document, "\n"), Count(document, "\r\n")) << "every line ends in CR LF";
}

TEST(XmlExport, OneLineElementPerLineOfTheDay) {
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {""}},
        {"one", {"one"}},
        {"11:00 dentist\r\n12:30 lunch", {"11:00 dentist", "12:30 lunch"}},
        {"ends in a break\r\n", {"ends in a break", ""}},
        {"\r\n\r\n", {"", "", ""}},
        {"lone\nLF", {"loneLF"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LinesOfDay(ExportXml(MonthOf(2026, 3, {{5, c.text}})), 3, 5), c.lines)
            << testing::PrintToString(c.text);
    }
}

TEST(XmlExport, EscapesWhatWouldBreakTheDocument) {
    const struct {
        std::string text, line;
    } cases[] = {
        {"Tom & Jerry", "Tom &amp; Jerry"},
        {"a < b > c", "a &lt; b &gt; c"},
        {"<b>bold</b>", "&lt;b&gt;bold&lt;/b&gt;"},
        {"&amp;", "&amp;amp;"},
        {"say \"hi\" 'you'", "say \"hi\" 'you'"},
        {"bell\x07, nul\x01 and tab\t", "bell, nul and tab\t"},
        {"\x82\xa0\xe9", "\x82\xa0\xe9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LinesOfDay(ExportXml(MonthOf(2026, 3, {{5, c.text}})), 3, 5),
                  std::vector<std::string>{c.line})
            << c.text;
    }
}

TEST(XmlExport, EscapesTheStylesheetReference) {
    const struct {
        std::string setting, reference;
    } cases[] = {
        {"OrvikCalendar.xsl", "OrvikCalendar.xsl"},
        {"C:\\My Styles\\Month view.xsl", "C:\\My Styles\\Month view.xsl"},
        {"Tom & Jerry.xsl", "Tom &amp; Jerry.xsl"},
        {"a\"b<c.xsl", "a&quot;b&lt;c.xsl"},
        {"http://example.org/x?y=1?>", "http://example.org/x?y=1?&gt;"},
        {"", ""},
    };
    for (const auto& c : cases) {
        MonthExport month = MonthOf(2026, 3);
        month.xslTemplate = c.setting;
        const std::string document = ExportXml(month);
        const std::string line = "\r\n<?xml-stylesheet type=\"text/xsl\" href=\"" + c.reference +
                                 "\"?>\r\n<OrvikCalendar>";
        EXPECT_NE(document.find(line), std::string::npos) << c.setting;
    }
}

TEST(XmlExport, KeepsWholeCharactersOfTheEncodingOnly) {
    const std::string x999(999, 'x');
    const struct {
        const char* encoding;
        std::string text, line;
    } cases[] = {
        {"windows-1252", std::string(1500, 'y'), std::string(1000, 'y')},
        {"windows-1252", x999 + "&&", x999 + "&amp;"},
        {"windows-1252", x999 + "\xe9\xe9", x999 + "\xe9"},
        {"windows-1252", std::string(1000, 'z') + "\r\nshort", std::string(1000, 'z')},
        {"UTF-8", x999 + "\xc3\xa9", x999},
        {"UTF-8", "x" + x999 + "\xc3\xa9", "x" + x999},
        {"UTF-8", std::string(998, 'x') + "\xc3\xa9!", std::string(998, 'x') + "\xc3\xa9"},
        {"UTF-8", std::string(997, 'x') + "\xf0\x9f\x98\x80", std::string(997, 'x')},
        {"UTF-8", x999 + "\xe9\xe9", x999 + "\ufffd"}, // no character: U+FFFD
        {"UTF-8", "\ufffe!\uffff", "!"},               // noncharacters XML forbids
        {"Shift_JIS", x999 + "\x82\xa0", x999},
        {"Shift_JIS", "\x82\xa0" + std::string(998, 'x') + "\x82\xa0",
         "\x82\xa0" + std::string(998, 'x')},
        {"GBK", std::string(998, 'x') + "\xb0\xa1\xb0\xa1", std::string(998, 'x') + "\xb0\xa1"},
        {"windows-1252", "\x81\x8d\xff", "\x81\x8d\xff"},
        {"UTF-8", "\xe2\x82\xac \xf0\x9f\x98\x80", "\xe2\x82\xac \xf0\x9f\x98\x80"},
        // every byte that starts no character becomes U+FFFD, whatever follows it
        {"UTF-8",
         "a\xff\xbf"
         "b\xc3",
         "a\ufffd\ufffdb\ufffd"},
        {"UTF-8", "\xed\xa0\x80|\xc0\xaf", "\ufffd\ufffd\ufffd|\ufffd\ufffd"},
        {"UTF-8", "\xef\xbf\xbe\xef\xbf\xbf\xef\xbf\xbd", "\xef\xbf\xbd"},
        {"UTF-8", "\xe2\x82<", "\ufffd\ufffd&lt;"},
        {"Shift_JIS", "\x82\xa0\x81", "\x82\xa0"},
        {"Shift_JIS", "\x81<b\x81\t", "&lt;b\t"},
        {"Shift_JIS", "\xb1<", "\xb1&lt;"},
        {"Big5", "\xa4\x40&", "\xa4\x40&amp;"},
    };
    for (const auto& c : cases) {
        MonthExport month = MonthOf(2026, 3, {{5, c.text}});
        month.encoding = c.encoding;
        EXPECT_EQ(LinesOfDay(ExportXml(month), 3, 5).at(0), c.line)
            << c.encoding << " " << c.text.size();
    }
}

TEST(XmlExport, WeekNumberOfTheMondayOfTheFirstsWeek) {
    const struct {
        int year, month, woy;
        const char* why;
    } cases[] = {
        {2026, 3, 10, "first on a Sunday: the week of the 2nd"},
        {2023, 1, 1, "first on a Sunday: the 2nd is in week 1, the 1st in week 52"},
        {2026, 9, 36, "first on a Tuesday: the week of Monday 31 August"},
        {2030, 1, 1, "first on a Tuesday: Monday 31 December 2029 is in week 1"},
        {2027, 1, 53, "first on a Friday: Monday 28 December 2026 is in week 53"},
        {2024, 4, 14, "first on a Monday"},
    };
    for (const auto& c : cases) {
        for (const bool sundayFirst : {false, true}) {
            const std::string document = ExportXml(MonthOf(c.year, c.month, {}, sundayFirst));
            EXPECT_NE(document.find("\t<woy>" + std::to_string(c.woy) + "</woy>\r\n"),
                      std::string::npos)
                << c.why;
        }
    }
}

TEST(XmlExport, HeaderFollowsTodayAndSettings) {
    MonthExport month = MonthOf(2024, 7, {}, true);
    month.today = Ymd(2024, 12, 31);
    month.encoding = "UTF-8";
    const std::string document = ExportXml(month);
    EXPECT_EQ(document.find("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"), 0u);
    EXPECT_NE(document.find("\t<doy>366</doy>\r\n"), std::string::npos);
    EXPECT_NE(document.find("\t<sundayfirst>1</sundayfirst>\r\n"), std::string::npos);
    EXPECT_NE(document.find("\t<monthname>July</monthname>\r\n"), std::string::npos);
}

TEST(XmlExport, EncodingNamesOfCodePages) {
    const struct {
        unsigned codePage;
        const char* name;
    } cases[] = {
        {1250, "windows-1250"}, {1251, "windows-1251"}, {1252, "windows-1252"},
        {1253, "windows-1253"}, {1254, "windows-1254"}, {1255, "windows-1255"},
        {1256, "windows-1256"}, {1257, "windows-1257"}, {1258, "windows-1258"},
        {874, "windows-874"},   {932, "Shift_JIS"},     {936, "GBK"},
        {949, "EUC-KR"},        {950, "Big5"},          {65001, "UTF-8"},
        {28591, "ISO-8859-1"},  {1361, "windows-1361"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodingNameForCodePage(c.codePage), c.name) << c.codePage;
}

// Just enough of XML to tell a well-formed export: balanced tags, and text
// without "<" or a bare "&".
bool IsWellFormedBody(const std::string& document) {
    std::vector<std::string> open;
    std::size_t at = document.find("<OrvikCalendar>");
    while (at < document.size()) {
        if (document[at] == '<') {
            const std::size_t close = document.find('>', at);
            if (close == std::string::npos)
                return false;
            const std::string tag = document.substr(at + 1, close - at - 1);
            if (tag.find_first_of("<&\"'= ") != std::string::npos)
                return false;
            if (tag[0] != '/') {
                open.push_back(tag);
            } else if (open.empty() || open.back() != tag.substr(1)) {
                return false;
            } else {
                open.pop_back();
            }
            at = close + 1;
        } else if (document[at] == '&') {
            const std::size_t semicolon = document.find(';', at);
            const std::string name = document.substr(at, semicolon - at + 1);
            if (name != "&amp;" && name != "&lt;" && name != "&gt;" && name != "&quot;")
                return false;
            at = semicolon + 1;
        } else if (static_cast<unsigned char>(document[at]) < 0x20 &&
                   std::string("\t\r\n").find(document[at]) == std::string::npos) {
            return false;
        } else {
            ++at;
        }
    }
    return open.empty();
}

TEST(XmlExport, HostileTextsKeepTheDocumentWellFormed) {
    const std::string hostile[] = {
        "</line></event></OrvikCalendar>",
        "<![CDATA[",
        "&",
        "&#0;",
        "a < b",
        "<!-- x",
        "]]>",
        "\x01\x02\x1f",
        "<?pi?>",
        "&lt",
    };
    for (const std::string& text : hostile) {
        const std::string document =
            ExportXml(MonthOf(2026, 3, {{5, text}, {6, text + "\r\n" + text}}));
        EXPECT_TRUE(IsWellFormedBody(document)) << text;
        EXPECT_EQ(Count(document, "\t<event>\r\n"), 42u);
    }
    EXPECT_FALSE(IsWellFormedBody("<OrvikCalendar><line><b></line></OrvikCalendar>"))
        << "the check itself tells a broken document";
}

TEST(XmlExport, ReadAsACalendarFileGivesNoEntries) {
    const std::string document = ExportXml(MonthOf(2026, 3, {{5, "11:00 dentist"}}));
    EventStore store;
    ParseCalendar(document, store);
    EXPECT_EQ(store.GetCount(), 0);
}

} // namespace
