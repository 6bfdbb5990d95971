#include "cli/Arguments.h"

#include <cerrno>
#include <cstdlib>

namespace SimCli {

std::optional<int32_t> ToInteger(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 0);  // decimal, or 0x hex
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::string Quote(const std::string& text)
{
    return "\"" + text + "\"";
}

CArguments::CArguments(std::vector<std::string> words) : m_words(std::move(words)) {}

void CArguments::Fail(const std::string& message) const
{
    throw UsageError{m_strContext, message};
}

void CArguments::Enter(const std::string& word)
{
    m_strContext += m_strContext.empty() ? word : " " + word;
}

std::string CArguments::Command(const char* what, std::initializer_list<const char*> names)
{
    std::string word = Word(what);
    bool known = false;
    std::string list;
    for (const char* name : names) {
        known = known || word == name;
        list += list.empty() ? name : std::string("|") + name;
    }
    if (!known)
        Fail(std::string("expected ") + what + " (" + list + "), got " + Quote(word));
    Enter(word);
    return word;
}

std::string CArguments::Word(const char* what)
{
    if (m_next >= m_words.size())
        Fail(std::string("expected ") + what);
    return m_words[m_next++];
}

std::optional<std::string> CArguments::OptionalWord()
{
    if (m_next >= m_words.size())
        return std::nullopt;
    return m_words[m_next++];
}

int32_t CArguments::Integer(const char* what)
{
    std::string word = Word(what);
    std::optional<int32_t> value = ToInteger(word);
    if (!value)
        Fail("expected an integer, got " + Quote(word));
    return *value;
}

int32_t CArguments::IntegerIn(const char* what, int32_t low, int32_t high)
{
    int32_t value = Integer(what);
    if (value < low || value > high)
        Fail(std::string(what) + " must be " + std::to_string(low) + " to " + std::to_string(high) + ", got " +
             std::to_string(value));
    return value;
}

bool CArguments::Switch(const char* what)
{
    std::string word = Word(what);
    if (word == "1" || word == "on")
        return true;
    if (word == "0" || word == "off")
        return false;
    Fail("expected 0, 1, on or off, got " + Quote(word));
}

bool CArguments::Flag(const char* name)
{
    for (size_t i = m_next; i < m_words.size(); ++i) {
        if (m_words[i] == name) {
            m_words.erase(m_words.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

std::optional<std::string> CArguments::Option(const char* name)
{
    for (size_t i = m_next; i < m_words.size(); ++i) {
        if (m_words[i] != name)
            continue;
        if (i + 1 >= m_words.size())
            Fail(std::string(name) + ": expected a value");
        std::string value = m_words[i + 1];
        m_words.erase(m_words.begin() + static_cast<std::ptrdiff_t>(i),
                      m_words.begin() + static_cast<std::ptrdiff_t>(i + 2));
        return value;
    }
    return std::nullopt;
}

std::optional<int32_t> CArguments::IntegerOption(const char* name, int32_t low, int32_t high)
{
    std::optional<std::string> word = Option(name);
    if (!word)
        return std::nullopt;
    std::optional<int32_t> value = ToInteger(*word);
    if (!value)
        Fail(std::string(name) + ": expected an integer, got " + Quote(*word));
    if (*value < low || *value > high)
        Fail(std::string(name) + " must be " + std::to_string(low) + " to " + std::to_string(high) + ", got " +
             std::to_string(*value));
    return value;
}

void CArguments::End()
{
    if (m_next < m_words.size()) {
        const std::string& word = m_words[m_next];
        Fail(word.rfind("--", 0) == 0 ? "unknown option " + Quote(word) : "unexpected argument " + Quote(word));
    }
}

}  // namespace SimCli
