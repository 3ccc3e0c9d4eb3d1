#include "storage/CalendarFile.h"
#include "storage/FileBytes.h"
#include "storage/SafeSave.h"
#include "tests/support/DateHelpers.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Entries = std::vector<std::string>;

// "date=text" per entry, dates in the file form, so zero dates compare too.
Entries EntriesOf(const EventStore& store) {
    Entries entries;
    for (int i = 0; i < store.GetCount(); ++i)
        entries.push_back(store.GetDateAt(i).Format(0) + "=" + store.GetTextAt(i));
    return entries;
}

EventStore Parsed(std::string_view bytes) {
    EventStore store;
    ParseCalendar(bytes, store);
    return store;
}

EventStore StoreOf(const std::vector<std::pair<Date, std::string>>& entries) {
    EventStore store;
    for (const auto& entry : entries)
        store.Append(entry.first, entry.second);
    return store;
}

TEST(CalendarFile, WritesOneQuotedRecordPerEntry) {
    const struct {
        Date date;
        std::string text, record;
    } cases[] = {
        {Ymd(2024, 12, 25), "Bake \"Stollen\"\r\n11:00 Church",
         "\"12/25/2024\";\"Bake \"\"Stollen\"\"\n11:00 Church\"\r\n"},
        {Ymd(2024, 1, 5), "", "\"1/5/2024\";\"\"\r\n"},
        {Date(), "lost day", "\"invalid date\";\"lost day\"\r\n"},
        {Ymd(50, 3, 1), "fifty", "\"3/1/50\";\"fifty\"\r\n"},
        {Ymd(5, 3, 1), "five", "\"3/1/05\";\"five\"\r\n"},
        {Ymd(2026, 1, 1), "a\rb\n\"\"", "\"1/1/2026\";\"ab\n\"\"\"\"\"\r\n"},
        {Ymd(2026, 1, 1), "\x82\xa0;,\t\x1a", "\"1/1/2026\";\"\x82\xa0;,\t\x1a\"\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatCalendar(StoreOf({{c.date, c.text}})), c.record)
            << testing::PrintToString(c.text);
    }
}

TEST(CalendarFile, WritesEveryEntryInStoreOrder) {
    const EventStore store =
        StoreOf({{Ymd(2026, 5, 3), "three"}, {Ymd(2026, 5, 1), "one"}, {Ymd(2026, 5, 3), "again"}});
    EXPECT_EQ(FormatCalendar(store), "\"5/3/2026\";\"three\"\r\n"
                                     "\"5/1/2026\";\"one\"\r\n"
                                     "\"5/3/2026\";\"again\"\r\n");
    EXPECT_EQ(FormatCalendar(EventStore()), "");
}

TEST(CalendarFile, ReadsRecordsByTheRules) {
    const struct {
        const char* rule;
        std::string bytes;
        Entries entries;
    } cases[] = {
        {"two lines with quotes",
         "\"12/25/2024\";\"Bake \"\"Stollen\"\"\n11:00 Church\"\r\n",
         {"12/25/2024=Bake \"Stollen\"\r\n11:00 Church"}},
        {"empty text is skipped", "\"1/5/2024\";\"\"\r\n", {}},
        {"empty date is skipped", "\"\";\"text\"\r\n", {}},
        {"no text field", "\"1/5/2024\"\r\n", {}},
        {"unquoted fields are skipped", "12/25/2024;Xmas\r\n", {}},
        {"comma separates too", "\"12/25/2024\",\"Xmas\"\r\n", {"12/25/2024=Xmas"}},
        {"separators inside quotes are text", "\"1/2/2024\";\"a;b,c\"\r\n", {"1/2/2024=a;b,c"}},
        {"third field ignored", "\"1/2/2024\";\"text\";\"third\"\r\n", {"1/2/2024=text"}},
        {"quoted parts join, unquoted bytes dropped",
         " x\"1/2\"y\"/2024\" ; \"te\"-\"xt\"\r\n",
         {"1/2/2024=text"}},
        {"doubled quotes give one", "\"1/2/2024\";\"say \"\"hi\"\"\"\r\n", {"1/2/2024=say \"hi\""}},
        {"duplicates appended in file order",
         "\"1/2/2024\";\"a\"\r\n\"1/1/2024\";\"b\"\r\n\"1/2/2024\";\"c\"\r\n",
         {"1/2/2024=a", "1/1/2024=b", "1/2/2024=c"}},
        {"blank line does not end the file",
         "\"1/1/2024\";\"a\"\r\n\r\n\"1/2/2024\";\"b\"\r\n",
         {"1/1/2024=a", "1/2/2024=b"}},
        {"first byte CR does not end the file", "\r\n\"1/1/2024\";\"a\"\r\n", {"1/1/2024=a"}},
        {"lone CRs end records",
         "\"1/1/2024\";\"a\"\r\r\"1/2/2024\";\"b\"",
         {"1/1/2024=a", "1/2/2024=b"}},
        {"LF-only line ends",
         "\"1/1/2024\";\"a\"\n\n\"1/2/2024\";\"b\"\n",
         {"1/1/2024=a", "1/2/2024=b"}},
        {"LF inside quotes is a line break",
         "\"1/1/2024\";\"a\nb\n\"\n\"1/2/2024\";\"c\"\n",
         {"1/1/2024=a\r\nb\r\n", "1/2/2024=c"}},
        {"CR ends a record even inside quotes", "\"1/1/2024\";\"a\r\nb\"\r\n", {"1/1/2024=a"}},
        {"last record without line end", "\"1/1/2024\";\"a\"", {"1/1/2024=a"}},
        {"empty file", "", {}},
        {"only line ends", "\r\n\r\n\n\r", {}},
        {"two-digit years are 19xx", "\"3/1/50\";\"x\"\r\n", {"3/1/1950=x"}},
        {"unreadable date gives the zero date",
         "\"someday\";\"x\"\r\n\"invalid date\";\"y\"\r\n",
         {"invalid date=x", "invalid date=y"}},
        {"bytes unchanged", "\"1/1/2024\";\"\x82\xa0\x1a\t\xff\"", {"1/1/2024=\x82\xa0\x1a\t\xff"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EntriesOf(Parsed(c.bytes)), c.entries) << c.rule;
}

TEST(CalendarFile, RecordsHaveNoLengthLimit) {
    const std::string text(200000, 'x');
    const std::string bytes = "\"1/1/2024\";\"" + text + "\"\r\n\"1/2/2024\";\"next\"\r\n";
    EXPECT_EQ(EntriesOf(Parsed(bytes)), (Entries{"1/1/2024=" + text, "1/2/2024=next"}));
    const std::string longDate = "\"" + std::string(5000, '0') + "1/2/2024\";\"t\"";
    EXPECT_EQ(EntriesOf(Parsed(longDate)), (Entries{"1/2/2024=t"}));
}

TEST(CalendarFile, ReaderGivesRecordsAndFields) {
    CCsvReader reader("\"a\";\"b\"\r\n\r\nplain\r\n x,\"c\"\"d\"");
    ASSERT_TRUE(reader.ReadRecord());
    EXPECT_EQ(reader.Field(1), "b");
    EXPECT_EQ(reader.Field(2), "") << "a missing field is empty";
    EXPECT_FALSE(reader.HasUnquotedContent());
    ASSERT_TRUE(reader.ReadRecord()) << "empty records are passed over";
    EXPECT_EQ(reader.Field(0), "") << "unquoted bytes are no content";
    EXPECT_EQ(reader.Field(1), "") << "no field is left from the record before";
    EXPECT_TRUE(reader.HasUnquotedContent());
    ASSERT_TRUE(reader.ReadRecord());
    EXPECT_EQ(reader.Field(1), "c\"d");
    EXPECT_FALSE(reader.ReadRecord());
    EXPECT_FALSE(reader.ReadRecord()) << "the end stays the end";
}

// The reader's rules written the plain way, one rule a pass: a record's
// fields (at least one), and whether it has bytes outside quotes.
struct ModelRecord {
    std::vector<std::string> fields{""};
    bool unquotedContent = false;
    bool operator==(const ModelRecord& other) const {
        return fields == other.fields && unquotedContent == other.unquotedContent;
    }
};

std::vector<ModelRecord> ModelRecords(const std::string& bytes) {
    std::vector<std::string> raw{""};
    bool quoted = false;
    for (const char c : bytes) {
        if (c == '"')
            quoted = !quoted;
        if (c == '\r' || (c == '\n' && !quoted)) {
            raw.emplace_back();
            quoted = false;
        } else {
            raw.back() += c;
        }
    }
    std::vector<ModelRecord> records;
    for (const std::string& record : raw) {
        if (record.empty())
            continue;
        ModelRecord model;
        quoted = false;
        for (std::size_t k = 0; k < record.size(); ++k) {
            const char c = record[k];
            if (c == '"' && quoted && k + 1 < record.size() && record[k + 1] == '"')
                model.fields.back() += record[k++];
            else if (c == '"')
                quoted = !quoted;
            else if (quoted)
                model.fields.back() += c == '\n' ? std::string("\r\n") : std::string(1, c);
            else if (c == ';' || c == ',')
                model.fields.emplace_back();
            else if (c != ' ' && c != '\t')
                model.unquotedContent = true;
        }
        records.push_back(model);
    }
    return records;
}

TEST(CalendarFile, RandomBytesAreCutAsTheRulesSay) {
    const std::size_t kFieldsCompared = 6;
    std::mt19937 random(20261209);
    // Runs of plain bytes up to 20 long: the reader scans them eight bytes
    // at a time, so the separators land on every place of a word.
    const char special[] = "\"\";,\r\n \t";
    std::uniform_int_distribution<std::size_t> pieces(0, 12), pick(0, sizeof special - 1),
        run(1, 20);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        for (std::size_t n = pieces(random); n > 0; --n) {
            const std::size_t which = pick(random);
            bytes += which < sizeof special - 1 ? std::string(1, special[which])
                                                : std::string(run(random), 'a');
        }
        std::vector<ModelRecord> read;
        CCsvReader reader(bytes);
        while (reader.ReadRecord()) {
            ModelRecord record;
            record.fields.clear();
            for (std::size_t n = 0; n < kFieldsCompared; ++n)
                record.fields.push_back(reader.Field(static_cast<int>(n)));
            record.unquotedContent = reader.HasUnquotedContent();
            read.push_back(record);
        }
        std::vector<ModelRecord> expected = ModelRecords(bytes);
        for (ModelRecord& record : expected)
            record.fields.resize(kFieldsCompared);
        EXPECT_TRUE(read == expected) << testing::PrintToString(bytes);
    }
}

// Texts as the store holds them: line breaks CR LF only.
std::string RandomDayText(std::mt19937& random) {
    static const char* const pieces[] = {"a", "Z",    " ",  "\"",       "\"\"",    ";",
                                         ",", "\r\n", "\t", "\x82\xa0", "11:00 x", "'",
                                         "ü", "Ж",    "😀",  "€"};
    std::uniform_int_distribution<int> length(0, 12), piece(0, 15);
    std::string text;
    for (int n = length(random); n > 0; --n)
        text += pieces[piece(random)];
    return text;
}

TEST(CalendarFile, RandomStoresSurviveWriteAndRead) {
    std::mt19937 random(20240101);
    for (int round = 0; round < 200; ++round) {
        EventStore store, expected;
        std::uniform_int_distribution<int> count(0, 30), day(0, 40), zero(0, 20);
        for (int n = count(random); n > 0; --n) {
            // A small range of days gives duplicates; now and then the zero date.
            const Date date = zero(random) == 0 ? Date() : Ymd(2024, 2, 1 + day(random));
            const std::string text = RandomDayText(random);
            store.Append(date, text);
            if (!text.empty())
                expected.Append(date, text);
        }
        const std::string written = FormatCalendar(store);
        const EventStore read = Parsed(written);
        ASSERT_EQ(EntriesOf(read), EntriesOf(expected)) << testing::PrintToString(written);
        EXPECT_EQ(FormatCalendar(read), FormatCalendar(expected));
        EXPECT_EQ(FormatCalendar(Parsed(FormatCalendar(read))), FormatCalendar(read));
    }
}

TEST(CalendarFile, LineBreaksComeBackAsCrLf) {
    const struct {
        std::string text, readBack;
    } cases[] = {
        {"a\r\nb", "a\r\nb"}, {"a\nb", "a\r\nb"}, {"a\rb", "ab"}, {"\r\n", "\r\n"}, {"\r", ""},
    };
    for (const auto& c : cases) {
        const EventStore read = Parsed(FormatCalendar(StoreOf({{Ymd(2026, 2, 2), c.text}})));
        EXPECT_EQ(EntriesOf(read),
                  c.readBack.empty() ? Entries{} : Entries{"2/2/2026=" + c.readBack})
            << testing::PrintToString(c.text);
    }
}

using CalendarFileOnDisk = TempFolderTest;

TEST_F(CalendarFileOnDisk, LoadReplacesTheStore) {
    const EventStore saved = StoreOf({{Ymd(2024, 12, 25), "Bake \"Stollen\"\r\n11:00 Church"},
                                      {Ymd(2024, 1, 5), ""},
                                      {Ymd(2024, 1, 6), "\x1a stops text-mode reads"}});
    std::string error;
    ASSERT_TRUE(SaveFileSafely(PathOf("diary.csv"), FormatCalendar(saved), error)) << error;

    EventStore store = StoreOf({{Ymd(2000, 1, 1), "old document"}, {Ymd(2000, 1, 2), "more"}});
    const std::uint64_t versionBefore = store.Version();
    EXPECT_EQ(ReadCalendarFile(PathOf("diary.csv"), store, Windows1252ToUtf8), LoadOutcome::Loaded);
    EXPECT_EQ(EntriesOf(store), (Entries{"12/25/2024=Bake \"Stollen\"\r\n11:00 Church",
                                         "1/6/2024=\x1a stops text-mode reads"}));
    EXPECT_GT(store.Version(), versionBefore) << "what was built from the old entries is stale";
}

TEST_F(CalendarFileOnDisk, LegacyFileIsReadConvertedAndWrittenAsUtf8) {
    WriteBytes(PathOf("old.csv"), "\"3/5/2026\";\"Gr\xfc\xdf Gott\n\x80 12\"\r\n");
    EventStore store;
    ASSERT_EQ(ReadCalendarFile(PathOf("old.csv"), store, Windows1252ToUtf8), LoadOutcome::Loaded);
    EXPECT_EQ(EntriesOf(store), Entries{"3/5/2026=Grüß Gott\r\n€ 12"});
    EXPECT_EQ(FormatCalendar(store), "\"3/5/2026\";\"Grüß Gott\n€ 12\"\r\n");

    // Where the program runs in the legacy code page, the bytes are its texts.
    ASSERT_EQ(ReadCalendarFile(PathOf("old.csv"), store, nullptr), LoadOutcome::Loaded);
    EXPECT_EQ(EntriesOf(store), Entries{"3/5/2026=Gr\xfc\xdf Gott\r\n\x80 12"});
}

TEST_F(CalendarFileOnDisk, FileThatCannotBeReadLeavesTheStoreAlone) {
    // A folder of that name exists but cannot be read as a file, on every system.
    std::filesystem::create_directory(folder / "folder.csv");
    const struct {
        std::string path;
        LoadOutcome outcome;
    } cases[] = {{PathOf("no such file.csv"), LoadOutcome::NotFound},
                 {PathOf("no folder/diary.csv"), LoadOutcome::NotFound},
                 {PathOf("folder.csv"), LoadOutcome::Unreadable}};
    for (const auto& c : cases) {
        EventStore store = StoreOf({{Ymd(2000, 1, 1), "current document"}});
        EXPECT_EQ(ReadCalendarFile(c.path, store, Windows1252ToUtf8), c.outcome) << c.path;
        EXPECT_EQ(EntriesOf(store), (Entries{"1/1/2000=current document"})) << c.path;
    }
}

TEST_F(CalendarFileOnDisk, EmptyFileIsAnEmptyDocument) {
    WriteBytes(PathOf("empty.csv"), "");
    EventStore store = StoreOf({{Ymd(2000, 1, 1), "old document"}});
    EXPECT_EQ(ReadCalendarFile(PathOf("empty.csv"), store, Windows1252ToUtf8), LoadOutcome::Loaded);
    EXPECT_EQ(store.GetCount(), 0);
}

TEST_F(CalendarFileOnDisk, FilesOfEverySizeAreReadWhole) {
    // Around the first block the reader takes before it asks for the rest.
    const std::size_t block = 1 << 16;
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, block - 1, block, block + 1,
                             2 * block + 3, std::size_t{3'000'001}}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7 + i / 251);
        WriteBytes(PathOf("sized.bin"), bytes);
        std::string read = "left from before";
        ASSERT_EQ(ReadFileBytes(PathOf("sized.bin"), read), LoadOutcome::Loaded) << size;
        EXPECT_TRUE(read == bytes) << size << " bytes came back as " << read.size();
    }
}

} // namespace
