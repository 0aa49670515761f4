#include "common/registry/registry.h"

#include <algorithm>

#include "common/registry/key_path.h"

namespace zlt::registry {

struct Registry::Node {
    struct NamedValue {
        std::string name;
        Value value;
    };

    std::string name;
    std::uint64_t order = 0;
    std::map<std::string, std::unique_ptr<Node>> subkeys;  // by folded name
    std::map<std::string, NamedValue> values;  // by folded name
};

Registry::Registry() : root_(std::make_unique<Node>()) {}
Registry::~Registry() = default;
Registry::Registry(Registry&&) noexcept = default;
Registry& Registry::operator=(Registry&&) noexcept = default;

Registry Registry::fromRegFile(std::string_view bytes, std::string_view sourceName)
{
    Registry registry;
    registry.apply(parseRegFile(bytes, sourceName).statements);
    return registry;
}

Registry::Node* Registry::findNode(std::string_view key) const
{
    const auto names = splitKeyPath(key);
    return names ? findNode(*names, names->size()) : nullptr;
}

Registry::Node* Registry::findNode(const std::vector<std::string>& names, size_t depth) const
{
    Node* node = root_.get();
    for (size_t i = 0; i < depth; ++i) {
        const std::string& name = names[i];
        const auto found = node->subkeys.find(foldName(name));
        if (found == node->subkeys.end())
            return nullptr;
        node = found->second.get();
    }
    return node;
}

Registry::Node& Registry::makeNode(const std::vector<std::string>& names)
{
    Node* node = root_.get();
    for (const std::string& name : names) {
        auto& slot = node->subkeys[foldName(name)];
        if (!slot) {
            slot = std::make_unique<Node>();
            slot->name = name;
            slot->order = nextOrder_++;
        }
        node = slot.get();
    }
    return *node;
}

void Registry::apply(const std::vector<Statement>& statements)
{
    for (const Statement& statement : statements) {
        const auto names = splitKeyPath(statement.key);
        if (!names)
            continue;
        switch (statement.kind) {
        case Statement::Kind::CreateKey:
            makeNode(*names);
            break;
        case Statement::Kind::SetValue:
            makeNode(*names).values[foldName(statement.name)] = {statement.name, statement.value};
            break;
        case Statement::Kind::DeleteValue:
            if (Node* node = findNode(*names, names->size()))
                node->values.erase(foldName(statement.name));
            break;
        case Statement::Kind::DeleteKey:
            if (Node* parent = findNode(*names, names->size() - 1))
                parent->subkeys.erase(foldName(names->back()));
            break;
        }
    }
}

bool Registry::hasKey(std::string_view key) const
{
    return findNode(key) != nullptr;
}

const Value* Registry::value(std::string_view key, std::string_view name) const
{
    const Node* node = findNode(key);
    if (node == nullptr)
        return nullptr;
    const auto found = node->values.find(foldName(name));
    return found == node->values.end() ? nullptr : &found->second.value;
}

std::optional<std::string> Registry::stringValue(std::string_view key, std::string_view name) const
{
    const Value* found = value(key, name);
    if (found == nullptr || (found->type != value_type::String && found->type != value_type::ExpandString))
        return std::nullopt;
    const auto* text = std::get_if<std::string>(&found->data);
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

std::optional<std::uint32_t> Registry::dwordValue(std::string_view key, std::string_view name) const
{
    const Value* found = value(key, name);
    if (found == nullptr || !std::holds_alternative<std::uint32_t>(found->data))
        return std::nullopt;
    return std::get<std::uint32_t>(found->data);
}

std::vector<std::string> Registry::subkeys(std::string_view key) const
{
    const Node* node = findNode(key);
    if (node == nullptr)
        return {};
    std::vector<const Node*> children;
    for (const auto& [folded, child] : node->subkeys)
        children.push_back(child.get());
    std::ranges::sort(children, {}, &Node::order);
    std::vector<std::string> names;
    for (const Node* child : children)
        names.push_back(child->name);
    return names;
}

}  // namespace zlt::registry
