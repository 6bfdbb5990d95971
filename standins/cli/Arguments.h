// The words of one kestrel-sim command, taken apart with errors that name the
// command and say what was expected.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace SimCli {

// A command line that cannot be run: exit code 2.
struct UsageError {
    std::string context;  // e.g. "set percent"
    std::string message;  // e.g. expected an integer, got "abc"
};

// An action that could not be done: exit code 1.
struct Failure {
    std::string context;
    std::string message;
};

class CArguments {
public:
    explicit CArguments(std::vector<std::string> words);

    // The command's name so far, for messages ("agent save").
    const std::string& Context() const { return m_strContext; }
    bool Empty() const { return m_words.empty(); }

    // Adds a word that the caller took itself to the context.
    void Enter(const std::string& word);
    // The next word, one of the names given, which also becomes part of the
    // context.
    std::string Command(const char* what, std::initializer_list<const char*> names);
    // The next word as a value.
    std::string Word(const char* what);
    std::optional<std::string> OptionalWord();
    int32_t Integer(const char* what);
    int32_t IntegerIn(const char* what, int32_t low, int32_t high);
    bool Switch(const char* what);  // 0|1|on|off

    // "--name" anywhere among the words; removed when found.
    bool Flag(const char* name);
    // "--name VALUE" anywhere among the words.
    std::optional<std::string> Option(const char* name);
    std::optional<int32_t> IntegerOption(const char* name, int32_t low, int32_t high);

    // Fails if words are left over.
    void End();

    [[noreturn]] void Fail(const std::string& message) const;

private:
    std::vector<std::string> m_words;
    size_t m_next = 0;
    std::string m_strContext;
};

std::string Quote(const std::string& text);
// A decimal or 0x-hexadecimal 32-bit integer, the whole text.
std::optional<int32_t> ToInteger(const std::string& text);

}  // namespace SimCli
