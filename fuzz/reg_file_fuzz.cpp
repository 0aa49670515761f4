// Any bytes as the user's .reg file: read, carried out and asked for the
// mail account, as Sendwell does. A file that deletes nothing leaves every
// key it names there, each value as the last line that set it.
#include <map>
#include <utility>

#include "common/registry/key_path.h"
#include "common/registry/mail_account.h"
#include "common/registry/reg_file.h"
#include "common/registry/registry.h"
#include "fuzz/fuzz_input.h"
#include "platform/run_time_error.h"

using namespace zlt::registry;

namespace {

// The key as the registry finds it, whichever spelling and root form named it.
std::string foldedKey(const std::vector<std::string>& names)
{
    std::string key;
    for (const std::string& name : names)
        key += foldName(name) + '\\';
    return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RegFile file;
    try {
        file = parseRegFile(zlt::fuzz::textOf(data, size), "user.reg");
    } catch (const zlt::RunTimeError& error) {
        FUZZ_CHECK(error.number() == zlt::error_number::AutomationError);
        return 0;
    }
    Registry registry;
    registry.apply(file.statements);
    if (const auto name = mailProfileName(registry))
        findMailAccount(registry, *name);

    for (const Statement& statement : file.statements)
        if (statement.kind == Statement::Kind::DeleteKey || statement.kind == Statement::Kind::DeleteValue)
            return 0;
    std::map<std::pair<std::string, std::string>, const Value*> lastSet;
    for (const Statement& statement : file.statements) {
        const auto names = splitKeyPath(statement.key);
        if (!names)
            continue;
        FUZZ_CHECK(registry.hasKey(statement.key));
        if (statement.kind == Statement::Kind::SetValue)
            lastSet[{foldedKey(*names), foldName(statement.name)}] = &statement.value;
    }
    for (const Statement& statement : file.statements) {
        const auto names = splitKeyPath(statement.key);
        if (statement.kind != Statement::Kind::SetValue || !names)
            continue;
        const Value* stored = registry.value(statement.key, statement.name);
        FUZZ_CHECK(stored && *stored == *lastSet.at({foldedKey(*names), foldName(statement.name)}));
    }
    return 0;
}
