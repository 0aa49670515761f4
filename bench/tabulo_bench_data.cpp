// The tabulo benchmark's two helpers over one record generator, so both
// sides see the same cells:
//   tabulo_bench_data export <folder> <records>   writes STOCK.DIC and STOCK.PHD
//   tabulo_bench_data floor <file.xlsx> <records> writes the same cells with
//     libxlsxwriter alone, in constant-memory mode, from values in memory:
//     the floor any workbook writer over that library has to stand on.
#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int Fields = 20;

enum class Kind { Text, Number, Date };

struct Value {
    Kind kind = Kind::Text;
    std::string text;  // as the host writes it
    double number = 0;
    int day = 0, month = 0, year = 0;
};

struct FieldSpec {
    const char* name;
    const char* type;
    int width;
};

constexpr FieldSpec Dictionary[Fields] = {
    {"Code", "TEXT", 8},          {"Description", "TEXT", 30},   {"Qty", "NUMBER", 6},
    {"Price", "FIXED2", 10},      {"Cost", "FIXED4", 10},        {"Received", "DATE", 10},
    {"Barcode", "NUMBER", 14},    {"Dept", "TEXT", 4},           {"Supplier", "TEXT", 24},
    {"On hand", "NUMBER", 7},     {"Sales", "FIXED2", 12},       {"Margin", "FIXED4", 9},
    {"Last sold", "DATE", 10},    {"Alt barcode", "NUMBER", 14}, {"Location", "TEXT", 10},
    {"Weight", "NUMBER", 8},      {"Flag", "TEXT", 4},           {"Units", "NUMBER", 6},
    {"Note", "TEXT", 30},         {"Sequence", "NUMBER", 8},
};

std::string format(const char* pattern, double a, double b = 0)
{
    char text[128];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

Value text(const std::string& s, bool quoted = false)
{
    Value v;
    v.text = quoted ? "\"" + s + "\"" : s;
    return v;
}

// Whether numbers and dates get their text too: the floor writes only
// their values.
bool hostText = true;

Value number(double n, const char* pattern)
{
    Value v;
    v.kind = Kind::Number;
    v.number = n;
    if (hostText)
        v.text = format(pattern, n);
    return v;
}

Value date(long i)
{
    Value v;
    v.kind = Kind::Date;
    v.day = static_cast<int>(i % 28) + 1;
    v.month = static_cast<int>(i / 28 % 12) + 1;
    v.year = 1995 + static_cast<int>(i / 336 % 30);
    if (hostText) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", v.day, v.month, v.year);
        v.text = buffer;
    }
    return v;
}

void record(long i, Value (&values)[Fields])
{
    const double d = static_cast<double>(i);
    values[0] = text(format("C%06.0f", d));
    values[1] = text(format("Item %.0f, size %.0f", d, static_cast<double>(i % 40)), true);
    values[2] = number(static_cast<double>(i % 500), "%.0f");
    values[3] = number(static_cast<double>(i % 100000) / 100, "%.2f");
    values[4] = number(static_cast<double>(i * 7 % 1000000) / 10000, "%.4f");
    values[5] = date(i);
    values[6] = number(9300000000000.0 + d, "%.0f");
    values[7] = text(format("D%02.0f", static_cast<double>(i % 60)));
    values[8] = text(format("Supplier %.0f, Pty Ltd", static_cast<double>(i % 997)), true);
    values[9] = number(static_cast<double>(i % 3000), "%.0f");
    values[10] = number(static_cast<double>(i * 13 % 10000000) / 100, "%.2f");
    values[11] = number(static_cast<double>(i % 10000) / 10000, "%.4f");
    values[12] = date(i * 3);
    values[13] = number(9400000000000.0 + d * 7, "%.0f");
    values[14] = text(format("Aisle %.0f", static_cast<double>(i % 25)));
    values[15] = number(static_cast<double>(i % 5000) / 1000, "%.3f");
    values[16] = text(i % 3 == 0 ? "Y" : "N");
    values[17] = number(static_cast<double>(i % 48 + 1), "%.0f");
    values[18] = text(format("Reorder when below %.0f, check %.0f", static_cast<double>(i % 90), d), true);
    values[19] = number(d, "%.0f");
}

// The cell's text: a quoted value without its quotes.
std::string cellText(const Value& v)
{
    return v.text.size() >= 2 && v.text.front() == '"' ? v.text.substr(1, v.text.size() - 2) : v.text;
}

int exportData(const std::string& folder, long records)
{
    FILE* dictionary = std::fopen((folder + "/STOCK.DIC").c_str(), "wb");
    FILE* data = std::fopen((folder + "/STOCK.PHD").c_str(), "wb");
    if (!dictionary || !data)
        return 1;
    std::fprintf(dictionary, "STOCK EXPORT DICTIONARY\r\n\r\n");
    for (int f = 0; f < Fields; ++f)
        std::fprintf(dictionary, "%3d    %-30s %-7s%7d\r\n", f + 1, Dictionary[f].name, Dictionary[f].type,
                     Dictionary[f].width);
    Value values[Fields];
    std::string line;
    for (long i = 0; i < records; ++i) {
        record(i, values);
        line.clear();
        for (int f = 0; f < Fields; ++f)
            line += (f ? "," : "") + values[f].text;
        line += "\r\n";
        std::fwrite(line.data(), 1, line.size(), data);
    }
    return std::fclose(dictionary) != 0 || std::fclose(data) != 0;
}

int writeFloor(const std::string& path, long records)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "STOCK");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* fixed2 = workbook_add_format(book);
    format_set_num_format(fixed2, "###,###,##0.00");
    lxw_format* fixed4 = workbook_add_format(book);
    format_set_num_format(fixed4, "###,###,##0.0000");
    lxw_format* dates = workbook_add_format(book);
    format_set_num_format(dates, "dd/mm/yyyy");
    lxw_format* columns[Fields] = {};
    for (int f = 0; f < Fields; ++f) {
        const std::string type = Dictionary[f].type;
        columns[f] = type == "FIXED2" ? fixed2 : type == "FIXED4" ? fixed4 : nullptr;
        worksheet_set_column(sheet, static_cast<lxw_col_t>(f), static_cast<lxw_col_t>(f), Dictionary[f].width + 1.0,
                             columns[f]);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (int f = 0; f < Fields; ++f)
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(f), Dictionary[f].name, bold);
    Value values[Fields];
    for (long i = 0; i < records; ++i) {
        record(i, values);
        const auto row = static_cast<lxw_row_t>(i + 1);
        for (int f = 0; f < Fields; ++f) {
            const Value& v = values[f];
            const auto column = static_cast<lxw_col_t>(f);
            if (v.kind == Kind::Number) {
                worksheet_write_number(sheet, row, column, v.number, columns[f]);
            } else if (v.kind == Kind::Date) {
                lxw_datetime when{v.year, v.month, v.day, 0, 0, 0};
                worksheet_write_datetime(sheet, row, column, &when, dates);
            } else {
                worksheet_write_string(sheet, row, column, cellText(v).c_str(), nullptr);
            }
        }
    }
    return workbook_close(book) == LXW_NO_ERROR ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s export <folder> <records> | floor <file.xlsx> <records>\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const long records = std::atol(argv[3]);
    if (mode == "export")
        return exportData(argv[2], records);
    if (mode == "floor") {
        hostText = false;
        return writeFloor(argv[2], records);
    }
    return 2;
}
