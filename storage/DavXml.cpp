#include "storage/DavXml.h"

#include "storage/XmlExport.h"

#include "core/Utf8.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>
#include <utility>

namespace {

const char kDav[] = "DAV:";
const char kCalDav[] = "urn:ietf:params:xml:ns:caldav";
const char kXmlNamespace[] = "http://www.w3.org/XML/1998/namespace";

// Deeper than any multistatus needs; a bound keeps hostile input from
// costing stack or time.
const std::size_t kMaxDepth = 256;

// ---- Request bodies ----

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        // Control characters cannot appear in XML 1.0 at all.
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
            AppendEscapedByte(out, c, true);
    }
    return out;
}

const char kHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
const char kNamespaces[] = " xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"";

std::string Propfind(const std::string& props) {
    return std::string(kHead) + "<d:propfind" + kNamespaces + ">\n  <d:prop>\n" + props +
           "  </d:prop>\n</d:propfind>\n";
}

// ---- Reading ----

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string Trimmed(const std::string& text) {
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && IsSpace(text[start]))
        ++start;
    while (end > start && IsSpace(text[end - 1]))
        --end;
    return text.substr(start, end - start);
}

// The characters XML 1.0 allows.
bool IsXmlChar(char32_t c) {
    if (c < 0x20)
        return c == '\t' || c == '\n' || c == '\r';
    return (c < 0xD800 || (c > 0xDFFF && c < 0xFFFE)) || (c >= 0x10000 && c <= 0x10FFFF);
}

struct Element {
    std::string space;         // the namespace
    std::string name;          // the local name
    std::string nameAttribute; // an unqualified name="...", the one attribute read
    std::string text;          // its own text and CDATA, not its children's
    std::vector<Element> children;

    bool Is(const char* ns, const char* local) const { return space == ns && name == local; }

    const Element* Child(const char* ns, const char* local) const {
        for (const Element& child : children)
            if (child.Is(ns, local))
                return &child;
        return nullptr;
    }
};

// A document into a tree of elements with their namespaces resolved. One
// pass; every skip moves forward, so the time is linear in the input.
class Reader {
  public:
    explicit Reader(std::string_view xml) : xml(xml) {}

    // The root, or nothing with `error` set.
    bool Read(Element& root) {
        if (Starts("\xEF\xBB\xBF"))
            at = 3;
        while (at < xml.size() && error.empty()) {
            if (xml[at] == '<')
                Markup();
            else if (open.empty())
                TextOutside();
            else
                Text();
        }
        if (error.empty() && !open.empty())
            Fail("the element <" + open.back().qname + "> is not closed");
        if (error.empty() && !haveRoot)
            Fail("there is no root element");
        if (!error.empty())
            return false;
        root = std::move(rootElement);
        return true;
    }

    std::string error;

  private:
    struct Open {
        Element element;
        std::string qname;
        std::vector<std::string> declared; // prefixes to unbind at its end
    };

    bool Starts(std::string_view prefix) const { return xml.substr(at, prefix.size()) == prefix; }

    void Fail(const std::string& reason) {
        if (error.empty())
            error = reason;
    }

    // Moves past `end`; false when it never comes.
    bool SkipPast(std::string_view end) {
        const std::size_t found = xml.find(end, at);
        if (found == std::string_view::npos)
            return false;
        at = found + end.size();
        return true;
    }

    void SkipSpace() {
        while (at < xml.size() && IsSpace(xml[at]))
            ++at;
    }

    std::string Name() {
        const std::size_t start = at;
        while (at < xml.size() && !IsSpace(xml[at]) && xml[at] != '>' && xml[at] != '/' &&
               xml[at] != '=' && xml[at] != '<' && xml[at] != '&' && xml[at] != '"' &&
               xml[at] != '\'')
            ++at;
        return std::string(xml.substr(start, at - start));
    }

    void TextOutside() {
        if (!IsSpace(xml[at]))
            return Fail(haveRoot ? "there is text after the root element"
                                 : "there is text before the root element");
        ++at;
    }

    void Text() {
        std::string& text = open.back().element.text;
        if (xml[at] == '&')
            return Reference(text);
        if (xml[at] == '\r') {
            // Line ends read as a single line feed, as XML has it.
            text += '\n';
            at += Starts("\r\n") ? 2 : 1;
            return;
        }
        const std::size_t end = std::min(xml.find_first_of("<&\r", at), xml.size());
        text.append(xml.substr(at, end - at));
        at = end;
    }

    // A reference at `at` ("&...;"), appended decoded.
    void Reference(std::string& out) {
        const std::size_t end = xml.find(';', at);
        if (end == std::string_view::npos)
            return Fail("an \"&\" does not start a reference");
        const std::string_view name = xml.substr(at + 1, end - at - 1);
        at = end + 1;
        if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "amp")
            out += '&';
        else if (name == "apos")
            out += '\'';
        else if (name == "quot")
            out += '"';
        else if (!name.empty() && name[0] == '#')
            CharacterReference(name.substr(1), out);
        else
            Fail("the entity &" + std::string(name.substr(0, 32)) + "; is not known");
    }

    void CharacterReference(std::string_view digits, std::string& out) {
        const bool hex = !digits.empty() && digits[0] == 'x';
        if (hex)
            digits.remove_prefix(1);
        char32_t value = 0;
        for (char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                return Fail("a character reference holds something else than digits");
            value = value * (hex ? 16 : 10) + digit;
            if (value > 0x10FFFF)
                break;
        }
        if (digits.empty() || !IsXmlChar(value))
            return Fail("a character reference names no allowed character");
        AppendUtf8(out, value);
    }

    void Markup() {
        if (Starts("<?")) {
            if (!SkipPast("?>"))
                Fail("a processing instruction is not closed");
        } else if (Starts("<!--")) {
            if (!SkipPast("-->"))
                Fail("a comment is not closed");
        } else if (Starts("<![CDATA[")) {
            if (open.empty())
                return Fail("a CDATA section is outside the root element");
            at += 9;
            const std::size_t end = xml.find("]]>", at);
            if (end == std::string_view::npos)
                return Fail("a CDATA section is not closed");
            open.back().element.text.append(xml.substr(at, end - at));
            at = end + 3;
        } else if (Starts("<!DOCTYPE")) {
            Fail("a DOCTYPE is not accepted");
        } else if (Starts("<!")) {
            Fail("a declaration is not accepted");
        } else if (Starts("</")) {
            EndTag();
        } else {
            StartTag();
        }
    }

    void StartTag() {
        ++at;
        Open tag;
        tag.qname = Name();
        if (tag.qname.empty())
            return Fail("a \"<\" does not start a tag");
        if (haveRoot && open.empty())
            return Fail("there is a second root element");
        if (open.size() >= kMaxDepth)
            return Fail("the elements are nested too deeply");
        std::vector<std::pair<std::string, std::string>> attributes;
        bool empty = false;
        for (;;) {
            const std::size_t before = at;
            SkipSpace();
            if (at >= xml.size())
                return Fail("the tag <" + tag.qname + "> is not closed");
            if (Starts("/>")) {
                at += 2;
                empty = true;
                break;
            }
            if (xml[at] == '>') {
                ++at;
                break;
            }
            if (at == before && !attributes.empty())
                return Fail("the attributes of <" + tag.qname + "> are not apart");
            if (!Attribute(tag.qname, attributes))
                return;
        }
        for (auto& [name, value] : attributes) {
            if (name == "xmlns" || name.compare(0, 6, "xmlns:") == 0) {
                std::string prefix = name.size() > 6 ? name.substr(6) : std::string();
                if (!prefix.empty() && value.empty())
                    return Fail("the prefix " + prefix + " is bound to no namespace");
                bindings[prefix].push_back(std::move(value));
                tag.declared.push_back(std::move(prefix));
            } else if (name == "name") {
                tag.element.nameAttribute = std::move(value);
            }
        }
        // Its own declarations apply to its name.
        open.push_back(std::move(tag));
        Element& element = open.back().element;
        const std::string& qname = open.back().qname;
        const std::size_t colon = qname.find(':');
        std::string prefix;
        if (colon == std::string::npos) {
            element.name = qname;
        } else {
            prefix = qname.substr(0, colon);
            element.name = qname.substr(colon + 1);
            if (prefix.empty() || element.name.empty() ||
                element.name.find(':') != std::string::npos)
                return Fail("the name <" + qname + "> is not a qualified name");
        }
        if (prefix == "xml") {
            element.space = kXmlNamespace;
        } else {
            const auto bound = bindings.find(prefix);
            if (bound != bindings.end() && !bound->second.empty())
                element.space = bound->second.back();
            else if (!prefix.empty())
                return Fail("the prefix of <" + qname + "> is not declared");
        }
        haveRoot = true;
        if (empty)
            Close();
    }

    bool Attribute(const std::string& tag, std::vector<std::pair<std::string, std::string>>& out) {
        std::string name = Name();
        SkipSpace();
        if (name.empty() || at >= xml.size() || xml[at] != '=') {
            Fail("an attribute of <" + tag + "> has no value");
            return false;
        }
        ++at;
        SkipSpace();
        const char quote = at < xml.size() ? xml[at] : '\0';
        if (quote != '"' && quote != '\'') {
            Fail("an attribute of <" + tag + "> is not in quotes");
            return false;
        }
        ++at;
        std::string value;
        while (at < xml.size() && xml[at] != quote && error.empty()) {
            if (xml[at] == '<') {
                Fail("an attribute of <" + tag + "> holds a \"<\"");
            } else if (xml[at] == '&') {
                Reference(value);
            } else {
                value += xml[at++];
            }
        }
        if (!error.empty())
            return false;
        if (at >= xml.size()) {
            Fail("an attribute of <" + tag + "> is not closed");
            return false;
        }
        ++at;
        out.emplace_back(std::move(name), std::move(value));
        return true;
    }

    void EndTag() {
        at += 2;
        const std::string name = Name();
        SkipSpace();
        if (at >= xml.size() || xml[at] != '>')
            return Fail("the end tag </" + name + "> is not closed");
        ++at;
        if (open.empty())
            return Fail("the end tag </" + name + "> closes nothing");
        if (open.back().qname != name)
            return Fail("</" + name + "> closes <" + open.back().qname + ">");
        Close();
    }

    void Close() {
        Open& top = open.back();
        for (const std::string& prefix : top.declared)
            bindings[prefix].pop_back();
        Element element = std::move(top.element);
        open.pop_back();
        if (open.empty())
            rootElement = std::move(element);
        else
            open.back().element.children.push_back(std::move(element));
    }

    std::string_view xml;
    std::size_t at = 0;
    std::vector<Open> open;
    // Each prefix ("" for the default) to its namespaces, innermost last.
    std::unordered_map<std::string, std::vector<std::string>> bindings;
    bool haveRoot = false;
    Element rootElement;
};

// "HTTP/1.1 404 Not Found" gives 404; anything else 0.
int StatusCode(const Element* status) {
    if (!status)
        return 0;
    const std::string line = Trimmed(status->text);
    const std::size_t space = line.find(' ');
    if (line.compare(0, 5, "HTTP/") != 0 || space == std::string::npos || line.size() < space + 4)
        return 0;
    int code = 0;
    for (std::size_t i = space + 1; i < space + 4; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return 0;
        code = code * 10 + (line[i] - '0');
    }
    if (line.size() > space + 4 && line[space + 4] != ' ')
        return 0;
    return code;
}

std::string FirstHref(const Element* holder) {
    const Element* href = holder ? holder->Child(kDav, "href") : nullptr;
    return href ? Trimmed(href->text) : std::string();
}

void ReadProperties(const Element& prop, DavResponse& response) {
    for (const Element& property : prop.children) {
        if (property.Is(kDav, "getetag")) {
            response.etag = Trimmed(property.text);
        } else if (property.Is(kCalDav, "calendar-data")) {
            // Servers indent it; the reader wants BEGIN:VCALENDAR first.
            response.calendarData = Trimmed(property.text);
        } else if (property.Is(kDav, "displayname")) {
            response.displayName = Trimmed(property.text);
        } else if (property.Is(kDav, "resourcetype")) {
            response.isCalendar = property.Child(kCalDav, "calendar") != nullptr;
        } else if (property.Is(kCalDav, "supported-calendar-component-set")) {
            response.takesEvents = false;
            for (const Element& comp : property.children)
                if (comp.Is(kCalDav, "comp") && comp.nameAttribute == "VEVENT")
                    response.takesEvents = true;
        } else if (property.Is(kDav, "current-user-principal")) {
            response.principalHref = FirstHref(&property);
        } else if (property.Is(kCalDav, "calendar-home-set")) {
            response.calendarHomeHref = FirstHref(&property);
        }
    }
}

DavResponse ReadResponse(const Element& element) {
    DavResponse response;
    response.takesEvents = true; // until a component set says otherwise
    response.href = FirstHref(&element);
    int firstStatus = 0;
    int successStatus = 0;
    for (const Element& propstat : element.children) {
        if (!propstat.Is(kDav, "propstat"))
            continue;
        const int status = StatusCode(propstat.Child(kDav, "status"));
        if (!firstStatus)
            firstStatus = status;
        // Properties the server could not give come back with a 404 and no value.
        if (status < 200 || status > 299)
            continue;
        if (!successStatus)
            successStatus = status;
        if (const Element* prop = propstat.Child(kDav, "prop"))
            ReadProperties(*prop, response);
    }
    response.status = StatusCode(element.Child(kDav, "status"));
    if (!response.status)
        response.status = successStatus ? successStatus : firstStatus;
    return response;
}

// The part of a URL before its path: "https://h:8080" of "https://h:8080/a".
std::size_t PathStart(const std::string& url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string::npos)
        return 0;
    const std::size_t end = url.find_first_of("/?#", scheme + 3);
    return end == std::string::npos ? url.size() : end;
}

bool HasScheme(const std::string& href) {
    const std::size_t colon = href.find(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = href[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
            return false;
    }
    return true;
}

// "/a/./b/../c" gives "/a/c"; the query stays as it is.
std::string WithoutDotSegments(const std::string& pathAndQuery) {
    const std::size_t queryStart = pathAndQuery.find_first_of("?#");
    const std::string path = pathAndQuery.substr(0, queryStart);
    std::vector<std::string> segments;
    std::size_t start = 1; // past the leading '/'
    bool endsAsDirectory = false;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string segment = path.substr(start, end - start);
        endsAsDirectory = segment == "." || segment == "..";
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& segment : segments)
        out += "/" + segment;
    if (endsAsDirectory || out.empty())
        out += "/";
    if (queryStart != std::string::npos)
        out += pathAndQuery.substr(queryStart);
    return out;
}

} // namespace

std::string PropfindCurrentUserPrincipal() {
    return Propfind("    <d:current-user-principal/>\n");
}

std::string PropfindCalendarHomeSet() {
    return Propfind("    <c:calendar-home-set/>\n");
}

std::string PropfindCalendars() {
    return Propfind("    <d:displayname/>\n    <d:resourcetype/>\n"
                    "    <c:supported-calendar-component-set/>\n");
}

std::string PropfindEtags() {
    return Propfind("    <d:getetag/>\n    <d:resourcetype/>\n");
}

std::string SyncCollection(const std::string& token) {
    return std::string(kHead) + "<d:sync-collection" + kNamespaces + ">\n" +
           (token.empty() ? "  <d:sync-token/>\n"
                          : "  <d:sync-token>" + Escaped(token) + "</d:sync-token>\n") +
           "  <d:sync-level>1</d:sync-level>\n  <d:prop>\n    <d:getetag/>\n  </d:prop>\n"
           "</d:sync-collection>\n";
}

std::string CalendarMultiget(const std::vector<std::string>& hrefs) {
    std::string body = std::string(kHead) + "<c:calendar-multiget" + kNamespaces +
                       ">\n  <d:prop>\n    <d:getetag/>\n    <c:calendar-data/>\n  </d:prop>\n";
    for (const std::string& href : hrefs)
        body += "  <d:href>" + Escaped(href) + "</d:href>\n";
    return body + "</c:calendar-multiget>\n";
}

std::string MkCalendar(const std::string& displayName) {
    return std::string(kHead) + "<c:mkcalendar" + kNamespaces +
           ">\n  <d:set>\n    <d:prop>\n      <d:displayname>" + Escaped(displayName) +
           "</d:displayname>\n      <c:supported-calendar-component-set>\n"
           "        <c:comp name=\"VEVENT\"/>\n      </c:supported-calendar-component-set>\n"
           "    </d:prop>\n  </d:set>\n</c:mkcalendar>\n";
}

Multistatus ReadMultistatus(std::string_view xml) {
    Multistatus result;
    Element root;
    Reader reader(xml);
    if (!reader.Read(root)) {
        result.error = reader.error;
        return result;
    }
    if (!root.Is(kDav, "multistatus")) {
        result.error = "the root element is not a DAV multistatus";
        return result;
    }
    for (const Element& child : root.children) {
        if (child.Is(kDav, "response"))
            result.responses.push_back(ReadResponse(child));
        else if (child.Is(kDav, "sync-token"))
            result.syncToken = Trimmed(child.text);
    }
    return result;
}

std::string ResolveHref(const std::string& baseUrl, const std::string& href) {
    if (HasScheme(href))
        return href;
    const std::size_t pathStart = PathStart(baseUrl);
    const std::string origin = baseUrl.substr(0, pathStart);
    if (href.compare(0, 2, "//") == 0) // the same scheme, another host
        return baseUrl.substr(0, baseUrl.find(':') + 1) + href;
    if (!href.empty() && href[0] == '/')
        return origin + WithoutDotSegments(href);
    std::string basePath = baseUrl.substr(pathStart);
    basePath = basePath.substr(0, basePath.find_first_of("?#"));
    if (href.empty())
        return origin + (basePath.empty() ? "/" : basePath);
    if (href[0] == '?')
        return origin + (basePath.empty() ? "/" : basePath) + href;
    const std::size_t slash = basePath.rfind('/');
    const std::string directory = slash == std::string::npos ? "/" : basePath.substr(0, slash + 1);
    return origin + WithoutDotSegments(directory + href);
}

std::string PathOfUrl(const std::string& url) {
    std::string path = url.substr(PathStart(url));
    path = path.substr(0, path.find('#'));
    if (path.empty() || path[0] != '/')
        path.insert(0, "/");
    return path;
}
