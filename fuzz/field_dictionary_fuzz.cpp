// Any bytes as an export's field dictionary: every field read has a number
// that is a column (1 to 1000), a name of 30 and a type of 7 characters
// without the NULs old programs pad with, and a width that fits 16 bits; a
// line that breaks a limit stops the export with an error a user is told.
#include "fuzz/fuzz_input.h"
#include "tabulo/field_dictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const zlt::tabulo::FieldDictionary dictionary = zlt::tabulo::readFieldDictionary(zlt::fuzz::textOf(data, size));
    for (const zlt::tabulo::FieldLine& field : dictionary.fields) {
        FUZZ_CHECK(field.number >= 1 && field.number <= zlt::tabulo::LastFieldNumber);
        FUZZ_CHECK(field.record.name.size() == 30 && field.record.type.size() == 7);
        FUZZ_CHECK(field.record.name.find('\0') == std::string::npos && field.record.type.find('\0') == std::string::npos);
        FUZZ_CHECK(field.record.width >= -32768 && field.record.width <= 32767);
    }
    if (dictionary.stop)
        FUZZ_CHECK(dictionary.stop->number() == zlt::error_number::SubscriptOutOfRange ||
                   dictionary.stop->number() == zlt::error_number::Overflow);
    return 0;
}
