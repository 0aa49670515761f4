#include "engines/mail/smtp/netrc.h"

#include <vector>

#include "platform/ascii.h"

namespace zlt::mail {

namespace {

// Tokens separated by blanks; a quoted token may hold blanks and \" escapes.
// A macro definition runs to the next empty line and holds no tokens.
std::vector<std::string> tokens(std::string_view text)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        if (isAsciiWhitespace(text[i])) {
            ++i;
            continue;
        }
        std::string token;
        if (text[i] == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size())
                    ++i;
                token += text[i];
            }
            ++i;
        } else {
            while (i < text.size() && !isAsciiWhitespace(text[i]))
                token += text[i++];
        }
        if (token == "macdef") {
            const size_t end = text.find("\n\n", i);
            i = end == std::string_view::npos ? text.size() : end + 2;
            continue;
        }
        out.push_back(std::move(token));
    }
    return out;
}

}  // namespace

std::optional<std::string> netrcPassword(std::string_view netrcText, std::string_view machine, std::string_view login)
{
    const std::vector<std::string> words = tokens(netrcText);
    bool inEntry = false;
    std::optional<std::string> entryLogin, entryPassword;
    std::optional<std::string> found;
    auto closeEntry = [&] {
        if (inEntry && !found && entryLogin == login && entryPassword)
            found = entryPassword;
        inEntry = false;
        entryLogin.reset();
        entryPassword.reset();
    };
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "machine" && hasValue) {
            closeEntry();
            inEntry = words[++i] == machine;
        } else if (word == "default") {
            closeEntry();
            inEntry = true;
        } else if (word == "login" && hasValue) {
            entryLogin = words[++i];
        } else if (word == "password" && hasValue) {
            entryPassword = words[++i];
        } else if (word == "account" && hasValue) {
            ++i;
        }
    }
    closeEntry();
    return found;
}

}  // namespace zlt::mail
