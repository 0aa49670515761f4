#pragma once
// The registry as the programs read it: keys and values built from one or
// more .reg files, looked up by full key path ("HKEY_CURRENT_USER\Software"
// or "HKCU\Software") and value name, case-blind. "" names a key's default
// value.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/registry/reg_file.h"

namespace zlt::registry {

class Registry {
public:
    Registry();
    ~Registry();
    Registry(Registry&&) noexcept;
    Registry& operator=(Registry&&) noexcept;

    // The keys and values of a .reg file; throws zlt::RunTimeError as
    // parseRegFile does.
    static Registry fromRegFile(std::string_view bytes, std::string_view sourceName = {});

    // Carries out the statements in order: a later value overrides an
    // earlier one, a deleted key takes its subkeys with it, and a key comes
    // with the keys above it.
    void apply(const std::vector<Statement>& statements);

    bool hasKey(std::string_view key) const;
    const Value* value(std::string_view key, std::string_view name) const;

    // A string or expand-string value (not expanded); nullopt when the value
    // is missing or of another type.
    std::optional<std::string> stringValue(std::string_view key, std::string_view name) const;
    std::optional<std::uint32_t> dwordValue(std::string_view key, std::string_view name) const;

    // The names of the key's direct subkeys, as first written, in the order
    // they were created; empty for a missing key.
    std::vector<std::string> subkeys(std::string_view key) const;

private:
    struct Node;

    Node* findNode(std::string_view key) const;
    // The key of the first depth names; the root of all keys for depth 0.
    Node* findNode(const std::vector<std::string>& names, size_t depth) const;
    Node& makeNode(const std::vector<std::string>& names);

    std::unique_ptr<Node> root_;
    std::uint64_t nextOrder_ = 0;
};

}  // namespace zlt::registry
