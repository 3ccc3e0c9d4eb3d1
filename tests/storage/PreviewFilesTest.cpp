// What the preview needs besides the export: the stylesheet's place, the
// page's encoding and a readable reason when a stylesheet is broken.
#include "storage/HtmlEncoding.h"
#include "storage/StylesheetLocation.h"
#include "storage/XmlCheck.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(StylesheetLocation, RelativeNamesLookBesideTheProgramFirst) {
    const std::string program = "C:\\Program Files\\Orvik\\", current = "D:\\Diaries\\";
    const struct {
        std::string setting;
        std::set<std::string> existing;
        std::string found;
    } cases[] = {
        {"OrvikCalendar.xsl",
         {program + "OrvikCalendar.xsl", current + "OrvikCalendar.xsl"},
         program + "OrvikCalendar.xsl"},
        {"mine.xsl", {current + "mine.xsl"}, current + "mine.xsl"},
        {"styles\\mine.xsl", {}, program + "styles\\mine.xsl"},
        {"E:\\styles\\mine.xsl", {program + "E:\\styles\\mine.xsl"}, "E:\\styles\\mine.xsl"},
        {"\\\\server\\share\\mine.xsl", {}, "\\\\server\\share\\mine.xsl"},
        {"C:/styles/mine.xsl", {}, "C:/styles/mine.xsl"},
    };
    for (const auto& c : cases) {
        const auto exists = [&c](const std::string& path) { return c.existing.count(path) > 0; };
        EXPECT_EQ(ResolveStylesheet(c.setting, program, current, exists), c.found) << c.setting;
    }
    EXPECT_EQ(FileNameOf("C:\\a\\b.xsl"), "b.xsl");
    EXPECT_EQ(FileNameOf("b.xsl"), "b.xsl");
}

TEST(HtmlEncoding, ThePageSaysItIsUtf8) {
    const struct {
        const char* page;
        const char* declared;
    } cases[] = {
        {"<html><head><META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-16\">"
         "</head><body>charset=x</body></html>",
         "<html><head><META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
         "</head><body>charset=x</body></html>"},
        {"<html><head><meta charset='utf-16'></head></html>",
         "<html><head><meta charset='UTF-8'></head></html>"},
        {"<html><HEAD lang=en><title>t</title></HEAD></html>",
         "<html><HEAD lang=en><meta charset=\"UTF-8\"><title>t</title></HEAD></html>"},
        {"<?xml version=\"1.0\" encoding=\"UTF-16\"?><html><head></head></html>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html><head><meta charset=\"UTF-8\"></head>"
         "</html>"},
        {"<p>charset=x only in the body</p>",
         "<meta charset=\"UTF-8\"><p>charset=x only in the body</p>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeclareUtf8(c.page), c.declared) << c.page;
}

TEST(XmlCheck, NamesTheFirstProblemAndItsLine) {
    const struct {
        const char* xml;
        int line; // 0: well-formed
        const char* reason;
    } cases[] = {
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- c -->\n<a x='1' y=\"&amp;\"><b/><![CDATA[<&]]>"
         "&#x41;</a>\n",
         0, ""},
        {"<a>\n<b>\n</a>", 3, "</a> closes <b>"},
        {"<a>\n<b>\n", 3, "the tag <b> is not closed"},
        {"<a x=1></a>", 1, "the value of x in <a> is not in quotes"},
        {"<a>\n & </a>", 2, "an \"&\" does not start a reference such as &amp;"},
        {"<a>1 < 2</a>", 1, "a \"<\" does not start a tag"},
        {"<a/>\n<b/>", 2, "there is a second root element <b>"},
        {"<a/>x", 1, "there is text after the root element"},
        {"", 1, "there is no root element"},
        {"<a><!-- open </a>", 1, "a comment is not closed"},
    };
    for (const auto& c : cases) {
        const auto problem = FindXmlProblem(c.xml);
        EXPECT_EQ(problem ? problem->line : 0, c.line) << c.xml;
        EXPECT_EQ(problem ? problem->reason : "", c.reason) << c.xml;
    }
}

} // namespace
