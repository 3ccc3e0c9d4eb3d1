#include "shell/XsltTransform.h"

#include "framework/ComPtr.h"
#include "storage/FileBytes.h"
#include "storage/HtmlEncoding.h"
#include "storage/XmlCheck.h"

#include <windows.h>

#include <msxml2.h>

namespace {

const wchar_t* const kDocumentClasses[] = {L"Msxml2.DOMDocument.6.0", L"Msxml2.DOMDocument.3.0"};

std::wstring Wide(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Utf8(const wchar_t* text) {
    if (!text)
        return std::string();
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

ComPtr<IXMLDOMDocument> NewDocument() {
    ComPtr<IXMLDOMDocument> document;
    for (const wchar_t* name : kDocumentClasses) {
        CLSID id{};
        if (SUCCEEDED(CLSIDFromProgID(name, &id)) &&
            SUCCEEDED(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                       reinterpret_cast<void**>(document.Receive()))))
            break;
    }
    return document;
}

// "file: reason (line n)" from the document's parse error. Where the
// library names no line (Wine's does not), our own check of the file says
// what is wrong where.
std::string ParseFailure(IXMLDOMDocument& document, const std::string& path) {
    ComPtr<IXMLDOMParseError> error;
    ComString text;
    long line = 0;
    std::string said;
    if (SUCCEEDED(document.get_parseError(error.Receive())) && error) {
        if (SUCCEEDED(error->get_reason(text.Receive())))
            said = Utf8(text.Get());
        error->get_line(&line);
    }
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == ' '))
        said.pop_back();
    std::string bytes;
    if (line <= 0 && ReadFileBytes(path, bytes) == LoadOutcome::Loaded) {
        if (const std::optional<XmlProblem> problem = FindXmlProblem(bytes)) {
            said = problem->reason;
            line = problem->line;
        }
    }
    std::string reason = path + ": " + (said.empty() ? "it could not be read" : said);
    if (line > 0)
        reason += " (line " + std::to_string(line) + ")";
    return reason;
}

bool Load(IXMLDOMDocument& document, const std::string& path, std::string& reason) {
    document.put_async(VARIANT_FALSE);
    // Otherwise the library drops whitespace-only text while loading: the
    // blank of an <xsl:text> </xsl:text>, a day line of blanks.
    document.put_preserveWhiteSpace(VARIANT_TRUE);
    ComString name(Wide(path).c_str());
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = name.Get();
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (SUCCEEDED(document.load(source, &loaded)) && loaded == VARIANT_TRUE)
        return true;
    reason = ParseFailure(document, path);
    return false;
}

std::string ComFailure(HRESULT result) {
    ComPtr<IErrorInfo> info;
    ComString text;
    if (GetErrorInfo(0, info.Receive()) == S_OK && info &&
        SUCCEEDED(info->GetDescription(text.Receive())) && text.Get())
        return Utf8(text.Get());
    char code[32];
    wsprintfA(code, "error 0x%08lX", static_cast<unsigned long>(result));
    return code;
}

// COM for the calling thread while it lives; the program's entry point has
// it already, tests may not.
class ComScope {
  public:
    ComScope() : initialised(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool initialised;
};

} // namespace

TransformResult TransformXmlFile(const std::string& xmlPath, const std::string& stylesheetPath) {
    ComScope com;
    TransformResult result;
    ComPtr<IXMLDOMDocument> xml = NewDocument();
    ComPtr<IXMLDOMDocument> stylesheet = NewDocument();
    if (!xml || !stylesheet) {
        result.reason = "there is no XML library (MSXML) on this computer";
        return result;
    }
    if (!Load(*xml.Get(), xmlPath, result.reason) ||
        !Load(*stylesheet.Get(), stylesheetPath, result.reason))
        return result;
    ComString html;
    const HRESULT transformed = xml->transformNode(stylesheet.Get(), html.Receive());
    if (FAILED(transformed)) {
        result.reason = stylesheetPath + ": " + ComFailure(transformed);
        return result;
    }
    result.html = DeclareUtf8(Utf8(html.Get()));
    result.done = true;
    return result;
}
