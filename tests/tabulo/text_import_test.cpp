// The spreadsheet layer's text import: how a data file is split into
// records and what each value becomes in a General column.
#include <gtest/gtest.h>

#include "engines/spreadsheet/excel/text_import.h"
#include "platform/testing/memory_file_system.h"

namespace zlt::excel {
namespace {

using Kind = ImportedValue::Kind;

TEST(TabuloTextImport, ValuesBecomeNumbersDatesOrText)
{
    const struct {
        std::string value;
        Kind kind;
        double number;
        CalendarDate date;
    } cases[] = {
        {"12", Kind::Number, 12, {}}, {" 12 ", Kind::Number, 12, {}}, {"-3.25", Kind::Number, -3.25, {}},
        {"3.25-", Kind::Number, -3.25, {}}, {"(7)", Kind::Number, -7, {}}, {"+.5", Kind::Number, 0.5, {}},
        {"1,234.5", Kind::Number, 1234.5, {}}, {"1,234,567", Kind::Number, 1234567, {}}, {"1e3", Kind::Number, 1000, {}},
        {"9300000000012", Kind::Number, 9300000000012, {}}, {"00123", Kind::Number, 123, {}},
        {"25/12/2002", Kind::Date, 0, {2002, 12, 25}}, {"1/2/03", Kind::Date, 0, {2003, 2, 1}},
        {"1-2-30", Kind::Date, 0, {1930, 2, 1}}, {"29/02/2000", Kind::Date, 0, {2000, 2, 29}},
        {"29/02/2002", Kind::Text, 0, {}}, {"25/12/1899", Kind::Text, 0, {}}, {"1/2", Kind::Text, 0, {}},
        {"1/2-2003", Kind::Text, 0, {}}, {"1,23", Kind::Text, 0, {}}, {"12,3456", Kind::Text, 0, {}},
        {"1.2.3", Kind::Text, 0, {}}, {"-", Kind::Text, 0, {}}, {"--5", Kind::Text, 0, {}}, {"1e", Kind::Text, 0, {}},
        {"inf", Kind::Text, 0, {}}, {"$12", Kind::Text, 0, {}}, {"   ", Kind::Text, 0, {}}, {"", Kind::Empty, 0, {}},
        {"1e999", Kind::Text, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const ImportedValue value = importedValue(c.value);
        EXPECT_EQ(value.kind, c.kind);
        if (c.kind == Kind::Number) {
            EXPECT_EQ(value.number, c.number);
        }
        if (c.kind == Kind::Date) {
            EXPECT_EQ(std::tie(value.date.year, value.date.month, value.date.day),
                      std::tie(c.date.year, c.date.month, c.date.day));
        }
    }
}

TEST(TabuloTextImport, LinesAreRecordsOfQuotedOrPlainValues)
{
    using Records = std::vector<std::vector<std::string>>;
    const struct {
        std::string text;
        std::string delimiters;
        bool consecutive;
        int startRow;
        Records records;
    } cases[] = {
        {"a,b\r\nc\rd\ne", ",", false, 1, {{"a", "b"}, {"c"}, {"d"}, {"e"}}},
        {"\"x, y\",\"say \"\"hi\"\"\",\"q\"tail,\"open", ",", false, 1, {{"x, y", "say \"hi\"", "qtail", "open"}}},
        {" \"a\",b\"c\"", ",", false, 1, {{" \"a\"", "b\"c\""}}},
        {"a,,b,\r\n\r\n,\r\n", ",", false, 1, {{"a", "", "b", ""}, {""}, {"", ""}}},
        {"a;b\tc d,e", ",", false, 1, {{"a;b\tc d", "e"}}},
        {"a;b\tc", ";\t", false, 1, {{"a", "b", "c"}}},
        {"a,,,b", ",", true, 1, {{"a", "b"}}},
        {"h1\r\nh2\r\nx\r\n\x1A", ",", false, 3, {{"x"}}},
        {"x\x1A", ",", false, 1, {{"x"}}},
        {"", ",", false, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        testing::MemoryFileSystem files;
        files.addFile("/d.csv", c.text);
        TextImportOptions options;
        for (const char d : c.delimiters)
            options.delimiters[static_cast<unsigned char>(d)] = true;
        options.consecutiveDelimiters = c.consecutive;
        options.startRow = c.startRow;
        const auto file = files.openRead("/d.csv");
        DelimitedTextReader reader(*file, options);
        Records records;
        for (std::vector<std::string_view> values; reader.next(values);)
            records.emplace_back(values.begin(), values.end());
        EXPECT_EQ(records, c.records);
    }
}

}  // namespace
}  // namespace zlt::excel
