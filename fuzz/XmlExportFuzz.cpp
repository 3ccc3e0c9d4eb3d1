// The XML export of a month made from any bytes (texts, stylesheet name,
// dates, code page): the document is always well-formed XML, with one event
// per grid day and one line element per line of its text.
#include "core/DayText.h"
#include "fuzz/Invariant.h"
#include "storage/XmlExport.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <bitset>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The code pages the export knows by name, first: a pick among them is
// likelier than among all numbers.
const unsigned kCodePages[] = {65001, 1252, 932, 936, 949, 950, 28591, 1250};

MonthExport MonthFrom(FuzzedDataProvider& input) {
    MonthExport month;
    const int displayedMonth = input.ConsumeIntegral<std::int16_t>();
    month.displayedDate = Date(displayedMonth, input.ConsumeIntegral<std::int16_t>());
    month.today = Date(input.ConsumeIntegral<std::uint32_t>());
    month.sundayFirst = input.ConsumeBool();
    month.encoding =
        EncodingNameForCodePage(input.ConsumeBool() ? input.PickValueInArray(kCodePages)
                                                    : input.ConsumeIntegral<unsigned>());
    month.xslTemplate = input.ConsumeRandomLengthString(300);
    // Up to a week of days: each more only repeats the work of one, at a cost.
    const int days = input.ConsumeIntegralInRange(0, 7);
    for (int i = 0; i < days; ++i) {
        const Date date(input.ConsumeIntegral<std::uint32_t>());
        month.days.push_back({date, input.ConsumeRandomLengthString(3000)});
    }
    return month;
}

// The lead bytes of the double-byte Windows code pages, by their own
// tables; none in the other code pages.
std::bitset<256> LeadBytesOf(const std::string& encoding) {
    std::bitset<256> leads;
    for (unsigned c = 0x81; c <= 0xFE; ++c) {
        if (encoding == "Shift_JIS")
            leads[c] = c <= 0x9F || (c >= 0xE0 && c <= 0xFC);
        else if (encoding == "GBK" || encoding == "EUC-KR" || encoding == "Big5")
            leads[c] = true;
    }
    return leads;
}

// A reader of a double-byte code page takes the byte after a lead byte as
// its trail; that byte must be a trail byte (0x40 or above), not the markup
// or the line end that the document means there.
bool LeadBytesHaveTrailBytes(const std::string& document, const std::string& encoding) {
    const std::bitset<256> leads = LeadBytesOf(encoding);
    if (leads.none())
        return true;
    for (std::size_t k = 0; k < document.size(); ++k) {
        if (!leads[static_cast<unsigned char>(document[k])])
            continue;
        if (k + 1 == document.size() || static_cast<unsigned char>(document[k + 1]) < 0x40)
            return false;
        ++k;
    }
    return true;
}

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

// The well-formed document as libxml2 reads it, or null. UTF-8 is checked
// by libxml2 itself; other code pages, whose double-byte pairs are checked
// above, are read as Latin-1, where every byte is a character, so that the
// markup is judged as their own reader would see it.
std::unique_ptr<xmlDoc, DocFree> Parse(const std::string& document, const std::string& encoding) {
    const char* readAs = encoding == "UTF-8" ? "UTF-8" : "ISO-8859-1";
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                        XML_PARSE_IGNORE_ENC | XML_PARSE_HUGE;
    return std::unique_ptr<xmlDoc, DocFree>(xmlReadMemory(
        document.data(), static_cast<int>(document.size()), "export.xml", readAs, options));
}

int CountChildren(const xmlNode* parent, const char* name) {
    int count = 0;
    for (const xmlNode* child = parent->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE &&
            std::strcmp(reinterpret_cast<const char*>(child->name), name) == 0)
            ++count;
    }
    return count;
}

void ReportIllFormed(const std::string& document) {
    const xmlError* error = xmlGetLastError();
    std::fprintf(stderr, "libxml2: %s", error && error->message ? error->message : "no message\n");
    std::fwrite(document.data(), 1, document.size() < 2000 ? document.size() : 2000, stderr);
    std::fputc('\n', stderr);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    xmlInitParser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const MonthExport month = MonthFrom(input);
    const std::string document = ExportXml(month);

    Require(LeadBytesHaveTrailBytes(document, month.encoding),
            "no double-byte character swallows markup");
    const auto doc = Parse(document, month.encoding);
    if (!doc)
        ReportIllFormed(document);
    Require(doc != nullptr, "the export is well-formed XML");

    const xmlNode* root = xmlDocGetRootElement(doc.get());
    Require(std::strcmp(reinterpret_cast<const char*>(root->name), "OrvikCalendar") == 0,
            "the root element is OrvikCalendar");
    Require(CountChildren(root, "event") == static_cast<int>(month.days.size()),
            "one event per grid day");
    std::size_t day = 0;
    for (const xmlNode* event = root->children; event; event = event->next) {
        if (event->type != XML_ELEMENT_NODE ||
            std::strcmp(reinterpret_cast<const char*>(event->name), "event") != 0)
            continue;
        const std::size_t lines = SplitLines(month.days[day++].text).size();
        Require(CountChildren(event, "line") == static_cast<int>(lines == 0 ? 1 : lines),
                "one line element per line of the day");
    }
    return 0;
}
