#include "storage/DavXml.h"

#include "storage/XmlCheck.h"

#include <gtest/gtest.h>

namespace {

const std::string kOpen =
    "<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">";
const std::string kClose = "</d:multistatus>";

std::string Ok(const std::string& props) {
    return "<d:propstat><d:prop>" + props +
           "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>";
}

// The fields that differ from an empty response that takes events.
std::string Describe(const DavResponse& r) {
    std::string out = r.href + " " + std::to_string(r.status);
    for (const auto& [label, value] : {std::pair{" etag=", r.etag},
                                       {" data=", r.calendarData},
                                       {" name=", r.displayName},
                                       {" principal=", r.principalHref},
                                       {" home=", r.calendarHomeHref}})
        if (!value.empty())
            out += label + value;
    return out + (r.isCalendar ? " calendar" : "") + (r.takesEvents ? "" : " no-events");
}

std::string Nested(int depth) {
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<d:x>";
        close += "</d:x>";
    }
    return open + close;
}

} // namespace

// Every body well-formed, what the user or the server gave escaped in it.
TEST(DavXml, RequestBodiesAreWellFormedWithTheirTextsEscaped) {
    const struct {
        std::string body;
        const char* escaped;
    } cases[] = {
        {PropfindCurrentUserPrincipal(), ""},
        {PropfindCalendarHomeSet(), ""},
        {PropfindCalendars(), ""},
        {PropfindEtags(), ""},
        {SyncCollection(""), ""},
        {SyncCollection("http://t/1?a&b"), "<d:sync-token>http://t/1?a&amp;b</d:sync-token>"},
        {CalendarMultiget({"/c/<\">.ics"}), "<d:href>/c/&lt;&quot;&gt;.ics</d:href>"},
        {MkCalendar("Work & <Home>"), "<d:displayname>Work &amp; &lt;Home&gt;</d:displayname>"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(FindXmlProblem(c.body)) << c.body;
        EXPECT_NE(c.body.find(c.escaped), std::string::npos) << c.body;
    }
}

TEST(DavXml, ReadsResponsesByNamespaceWithDecodedText) {
    const struct {
        std::string xml;
        std::vector<std::string> responses; // and the sync token last
    } cases[] = {
        // Other prefixes, and a default namespace redeclared on an element.
        {"<?xml version=\"1.0\"?>\n<!-- hi --><D:multistatus xmlns:D=\"DAV:\"><D:response>"
         "<D:href> /c/a.ics </D:href><D:propstat><D:prop><D:getetag> \"e 1\" </D:getetag>"
         "<calendar-data xmlns=\"urn:ietf:params:xml:ns:caldav\">\r\n BEGIN:X\r\nEND:X\r\n"
         "</calendar-data></D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat>"
         "</D:response></D:multistatus>",
         {"/c/a.ics 200 etag=\"e 1\" data=BEGIN:X\nEND:X"}},
        {"\xEF\xBB\xBF<multistatus xmlns='DAV:'><response><href>/p/</href><propstat><prop>"
         "<current-user-principal><href>/u/me/</href></current-user-principal>"
         "<C:calendar-home-set xmlns:C='urn:ietf:params:xml:ns:caldav'><href>/h/</href>"
         "<href>/h2/</href></C:calendar-home-set></prop><status>HTTP/1.1 200 OK</status>"
         "</propstat></response></multistatus>",
         {"/p/ 200 principal=/u/me/ home=/h/"}},
        // A prefix bound to another namespace in a scope is not DAV there.
        {kOpen + "<d:response xmlns:d=\"urn:x\"><d:href>/no</d:href></d:response>" +
             "<d:response><d:href>/yes</d:href><d:status>HTTP/1.1 200 OK</d:status>"
             "<d:getetag>\"stray\"</d:getetag></d:response>" +
             kClose,
         {"/yes 200"}},
        // Entities, character references, CDATA, comments and instructions.
        {kOpen + "<d:response><d:href>/a%20b/&amp;c&#x2F;</d:href>" +
             Ok("<d:getetag>&quot;1&apos;&lt;&gt;&quot;</d:getetag><d:displayname>"
                "Caf&#233; &#x1F600;<!-- no --><?pi x?></d:displayname><c:calendar-data>A"
                "<![CDATA[<b>&amp;]]>&#13;B</c:calendar-data>") +
             "</d:response>" + kClose,
         {"/a%20b/&c/ 200 etag=\"1'<>\" data=A<b>&amp;\rB name=Caf\xC3\xA9 \xF0\x9F\x98\x80"}},
        // A sync report: one item removed, one changed, the new token; and
        // a response nested in an unknown element is not one.
        {kOpen + "<d:response><d:href>/c/gone.ics</d:href><d:status>HTTP/1.1 404 Not Found" +
             "</d:status></d:response><d:response><d:href>/c/new.ics</d:href>" +
             Ok("<d:getetag>\"2\"</d:getetag>") + "</d:response><d:x><d:response>" +
             "<d:href>/inner</d:href></d:response></d:x><d:sync-token> http://s/t/9 " +
             "</d:sync-token>" + Nested(200) + kClose,
         {"/c/gone.ics 404", "/c/new.ics 200 etag=\"2\"", "token=http://s/t/9"}},
        // Values come from the 200 propstat only; a lone 404 gives its status.
        {kOpen + "<d:response><d:href>/cal/</d:href><d:propstat><d:prop><d:displayname>Wrong" +
             "</d:displayname><c:supported-calendar-component-set/></d:prop><d:status>" +
             "HTTP/1.1 404 Not Found</d:status></d:propstat>" +
             Ok("<d:displayname>Work</d:displayname><d:resourcetype><d:collection/>"
                "<c:calendar/></d:resourcetype>") +
             "</d:response><d:response><d:href>/todo/</d:href>" +
             Ok("<d:resourcetype><c:calendar/></d:resourcetype><c:supported-calendar-"
                "component-set><c:comp name=\"VTODO\"/></c:supported-calendar-component-set>") +
             "</d:response><d:response><d:href>/both/</d:href>" +
             Ok("<c:supported-calendar-component-set><c:comp name=\"VTODO\"/><c:comp name="
                "'VEVENT'/></c:supported-calendar-component-set>") +
             "</d:response><d:response><d:href>/x</d:href><d:propstat><d:prop><d:getetag/>" +
             "</d:prop><d:status>HTTP/1.1 404 Not Found</d:status></d:propstat></d:response>" +
             kClose,
         {"/cal/ 200 name=Work calendar", "/todo/ 200 calendar no-events", "/both/ 200", "/x 404"}},
        // Status lines that are not one give no status.
        {kOpen + "<d:response><d:href>/a</d:href><d:status> HTTP/2 201 \n</d:status>" +
             "</d:response><d:response><d:href>/b</d:href><d:status>HTTP/1.1 20 OK" +
             "</d:status></d:response><d:response><d:href>/c</d:href><d:status>404" +
             "</d:status></d:response>" + kClose,
         {"/a 201", "/b 0", "/c 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        const Multistatus read = ReadMultistatus(c.xml);
        EXPECT_EQ(read.error, "");
        std::vector<std::string> described;
        for (const DavResponse& response : read.responses)
            described.push_back(Describe(response));
        if (!read.syncToken.empty())
            described.push_back("token=" + read.syncToken);
        EXPECT_EQ(described, c.responses);
    }
}

TEST(DavXml, RefusesWhatIsNotAWellFormedMultistatus) {
    const std::string response = "<d:response><d:href>/a</d:href></d:response>";
    const std::string token = "<d:sync-token>t</d:sync-token>";
    const std::string refused[] = {
        "",
        "garbage",
        "<html><body>Sign in</body></html>",
        "<d:multistatus xmlns:d=\"urn:not-dav\"/>",
        kOpen + response + token,
        kOpen + response + token + "</d:response>" + kClose,
        kOpen + "<d:response>" + token + "</d:Response>" + kClose,
        kOpen + response + token + kClose + "<multistatus xmlns='DAV:'/>",
        kOpen + response + token + kClose + "x",
        "<!DOCTYPE d:multistatus>" + kOpen + response + kClose,
        kOpen + token + "<x:response/>" + kClose,
        kOpen + token + "<d:href>&nbsp;</d:href>" + kClose,
        kOpen + token + "<d:href>&#0;</d:href>" + kClose,
        kOpen + token + "<d:href>&#xD800;</d:href>" + kClose,
        kOpen + token + "<d:href>&#x110000;</d:href>" + kClose,
        kOpen + token + "<d:href>&#65a;</d:href>" + kClose,
        kOpen + token + "<d:href>a & b</d:href>" + kClose,
        kOpen + token + "<c:comp name=VEVENT/>" + kClose,
        kOpen + token + "<c:comp name=\"a\"x=\"b\"/>" + kClose,
        kOpen + token + "<!-- open" + kClose,
        kOpen + token + "<![CDATA[ open" + kClose,
        kOpen + token + Nested(300) + kClose,
        std::string(100000, '<'),
        kOpen + token + Nested(100000) + kClose,
    };
    for (const std::string& xml : refused) {
        SCOPED_TRACE(xml.substr(0, 200));
        const Multistatus read = ReadMultistatus(xml);
        EXPECT_NE(read.error, "");
        EXPECT_TRUE(read.responses.empty());
        EXPECT_EQ(read.syncToken, "");
    }
}

TEST(DavXml, ResolvesHrefsAndTakesPaths) {
    const struct {
        std::string base, href, resolved;
    } cases[] = {
        {"https://h:8443/dav/cal/", "https://o/x.ics", "https://o/x.ics"},
        {"https://h:8443/dav/cal/", "/other/x.ics", "https://h:8443/other/x.ics"},
        {"https://h:8443/dav/cal/", "x.ics", "https://h:8443/dav/cal/x.ics"},
        {"https://h/dav/cal/index?q=1", "x.ics", "https://h/dav/cal/x.ics"},
        {"https://h/dav/cal/", "./x.ics", "https://h/dav/cal/x.ics"},
        {"https://h/dav/cal/", "../../../up/", "https://h/up/"},
        {"https://h/dav/cal/", "/a/./b/../c?x=../y", "https://h/a/c?x=../y"},
        {"https://h/dav/cal/", "..", "https://h/dav/"},
        {"https://h", "x.ics", "https://h/x.ics"},
        {"http://h/a/", "//g/b", "http://g/b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveHref(c.base, c.href), c.resolved) << c.base << " + " << c.href;

    const std::pair<std::string, std::string> paths[] = {
        {"https://h:8080/a/b?c", "/a/b?c"},
        {"https://h", "/"},
        {"https://h?q", "/?q"},
        {"http://h/a/#frag", "/a/"},
    };
    for (const auto& [url, path] : paths)
        EXPECT_EQ(PathOfUrl(url), path) << url;
}
