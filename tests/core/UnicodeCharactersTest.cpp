// The generated tables against the Unicode Character Database they were made
// from, code point by code point; needs Debian's unicode-data.
#include "core/UnicodeCharacters.h"
#include "core/Utf8.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const char kRegenerate[] = "; the tables are older than the installed Unicode data: "
                           "run scripts/generate-unicode-tables";

// The fields of every data line of a UCD file, without comments.
std::vector<std::vector<std::string>> DataLines(const std::string& name) {
    std::ifstream file(std::string(ORVIK_UNICODE_DATA) + "/" + name);
    EXPECT_TRUE(file) << name << " is missing: install Debian's unicode-data";
    std::vector<std::vector<std::string>> lines;
    std::string line;
    while (std::getline(file, line)) {
        line = line.substr(0, line.find('#'));
        if (line.find(';') == std::string::npos)
            continue;
        std::vector<std::string> fields;
        std::istringstream stream(line);
        for (std::string field; std::getline(stream, field, ';');) {
            const std::size_t start = field.find_first_not_of(' ');
            fields.push_back(start == std::string::npos ? "" : field.substr(start));
        }
        lines.push_back(fields);
    }
    return lines;
}

char32_t CodePoint(const std::string& hex) {
    return static_cast<char32_t>(std::stoul(hex, nullptr, 16));
}

constexpr char32_t kCodePoints = 0x110000;

TEST(UnicodeCharacters, FoldCaseIsTheSimpleCaseFolding) {
    std::vector<char32_t> folded(kCodePoints);
    for (char32_t c = 0; c < kCodePoints; ++c)
        folded[c] = c;
    int mappings = 0;
    for (const auto& fields : DataLines("CaseFolding.txt")) {
        if (fields[1] == "C" || fields[1] == "S") {
            folded[CodePoint(fields[0])] = CodePoint(fields[2]);
            ++mappings;
        }
    }
    ASSERT_GT(mappings, 1400);
    for (char32_t c = 0; c < kCodePoints; ++c)
        ASSERT_EQ(FoldCase(c), folded[c]) << "U+" << std::hex << c << kRegenerate;
    EXPECT_EQ(FoldCase(kInvalidByte + 'A'), kInvalidByte + 'A');
}

TEST(UnicodeCharacters, WordCharactersAreLettersAndDecimalDigits) {
    std::vector<bool> word(kCodePoints);
    char32_t rangeStart = 0;
    for (const auto& fields : DataLines("UnicodeData.txt")) {
        const char32_t c = CodePoint(fields[0]);
        const std::string& name = fields[1];
        // Blocks such as CJK and Hangul are given by their first and last code point.
        if (name.find(", First>") != std::string::npos) {
            rangeStart = c;
            continue;
        }
        const char32_t first = name.find(", Last>") != std::string::npos ? rangeStart : c;
        const std::string& category = fields[2];
        for (char32_t k = first; k <= c; ++k)
            word[k] = category[0] == 'L' || category == "Nd";
    }
    ASSERT_TRUE(word[0x4E00] && word[0xAC00] && word[0x0661]) << "CJK, Hangul, Arabic-Indic";
    for (char32_t c = 0; c < kCodePoints; ++c)
        ASSERT_EQ(IsLetterOrDigit(c), word[c]) << "U+" << std::hex << c << kRegenerate;
    EXPECT_FALSE(IsLetterOrDigit(kInvalidByte + 'A'));
}

} // namespace
