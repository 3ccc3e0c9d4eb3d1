#include "storage/XmlCheck.h"

#include <cctype>
#include <vector>

namespace {

class Checker {
  public:
    explicit Checker(std::string_view xml) : xml(xml) {}

    std::optional<XmlProblem> Run() {
        if (StartsWith("\xEF\xBB\xBF"))
            at = 3; // a byte-order mark
        while (at < xml.size() && !problem) {
            if (xml[at] == '<')
                Markup();
            else if (xml[at] == '&')
                Reference();
            else
                Text();
        }
        if (!problem && !open.empty())
            Fail("the tag <" + open.back() + "> is not closed");
        if (!problem && !sawRoot)
            Fail("there is no root element");
        return problem;
    }

  private:
    bool StartsWith(std::string_view prefix) const {
        return xml.substr(at, prefix.size()) == prefix;
    }

    void Fail(const std::string& reason) {
        if (!problem)
            problem = XmlProblem{line, reason};
    }

    void Advance(std::size_t count) {
        for (; count > 0 && at < xml.size(); --count)
            line += xml[at++] == '\n';
    }

    // Skips to just after `end`; false when it never comes.
    bool SkipPast(std::string_view end) {
        const std::size_t found = xml.find(end, at);
        if (found == std::string_view::npos)
            return false;
        Advance(found + end.size() - at);
        return true;
    }

    void Text() {
        if (open.empty() && !std::isspace(static_cast<unsigned char>(xml[at])))
            return Fail(sawRoot ? "there is text after the root element"
                                : "there is text before the root element");
        Advance(1);
    }

    void Reference() {
        std::size_t end = at + 1;
        while (end < xml.size() && (std::isalnum(static_cast<unsigned char>(xml[end])) ||
                                    xml[end] == '#' || xml[end] == '_' || xml[end] == '-'))
            ++end;
        if (end == at + 1 || end >= xml.size() || xml[end] != ';')
            return Fail("an \"&\" does not start a reference such as &amp;");
        Advance(end + 1 - at);
    }

    std::string Name() {
        const std::size_t start = at;
        while (at < xml.size() && !std::isspace(static_cast<unsigned char>(xml[at])) &&
               xml[at] != '>' && xml[at] != '/' && xml[at] != '=' && xml[at] != '<')
            Advance(1);
        return std::string(xml.substr(start, at - start));
    }

    void SkipSpace() {
        while (at < xml.size() && std::isspace(static_cast<unsigned char>(xml[at])))
            Advance(1);
    }

    void Markup() {
        if (StartsWith("<!--")) {
            if (!SkipPast("-->"))
                Fail("a comment is not closed");
        } else if (StartsWith("<![CDATA[")) {
            if (!SkipPast("]]>"))
                Fail("a CDATA section is not closed");
        } else if (StartsWith("<?") || StartsWith("<!")) {
            if (!SkipPast(">"))
                Fail("a declaration is not closed");
        } else if (StartsWith("</")) {
            EndTag();
        } else {
            StartTag();
        }
    }

    void EndTag() {
        Advance(2);
        const std::string name = Name();
        SkipSpace();
        if (at >= xml.size() || xml[at] != '>')
            return Fail("the end tag </" + name + "> is not closed");
        if (open.empty() || open.back() != name)
            return Fail(open.empty() ? "the end tag </" + name + "> closes nothing"
                                     : "</" + name + "> closes <" + open.back() + ">");
        open.pop_back();
        Advance(1);
    }

    void StartTag() {
        Advance(1);
        const std::string name = Name();
        if (name.empty())
            return Fail("a \"<\" does not start a tag");
        if (open.empty() && sawRoot)
            return Fail("there is a second root element <" + name + ">");
        for (;;) {
            SkipSpace();
            if (at >= xml.size())
                return Fail("the tag <" + name + "> is not closed");
            if (StartsWith("/>")) {
                Advance(2);
                sawRoot = true;
                return;
            }
            if (xml[at] == '>') {
                Advance(1);
                open.push_back(name);
                sawRoot = true;
                return;
            }
            if (!Attribute(name))
                return;
        }
    }

    bool Attribute(const std::string& tag) {
        const std::string name = Name();
        SkipSpace();
        if (name.empty() || at >= xml.size() || xml[at] != '=') {
            Fail("an attribute of <" + tag + "> has no value");
            return false;
        }
        Advance(1);
        SkipSpace();
        const char quote = at < xml.size() ? xml[at] : '\0';
        if (quote != '"' && quote != '\'') {
            Fail("the value of " + name + " in <" + tag + "> is not in quotes");
            return false;
        }
        Advance(1);
        while (at < xml.size() && xml[at] != quote) {
            if (xml[at] == '<') {
                Fail("the value of " + name + " in <" + tag + "> holds a \"<\"");
                return false;
            }
            Advance(1);
        }
        if (at >= xml.size()) {
            Fail("the value of " + name + " in <" + tag + "> is not closed");
            return false;
        }
        Advance(1);
        return true;
    }

    std::string_view xml;
    std::size_t at = 0;
    int line = 1;
    std::vector<std::string> open;
    bool sawRoot = false;
    std::optional<XmlProblem> problem;
};

} // namespace

std::optional<XmlProblem> FindXmlProblem(std::string_view xml) {
    return Checker(xml).Run();
}
