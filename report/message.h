#pragma once

// A text for the user as a message: a source text in Chinese with %1, %2, … and what goes in
// them. Composed once here; the window translates it with Qt, the page with its table (both
// from korvane-sheet_en.ts), and the command line and the drawings print it as it is.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// The marker the translation tools look for, in the context "report"; it leaves the text as it
// is. Used in namespace report, outside classes, so that the context is the namespace.
#ifndef QT_TR_NOOP
#define QT_TR_NOOP(text) text
#endif

namespace report {

struct Message
{
    /// How a message is shown: translated with its arguments put in, as it is (a number, a
    /// name), a value of the uniform-density formulas (shown apart, in grey), or its arguments
    /// one after another with the source between them.
    enum class Style { Text, Literal, Formula, Join };

    std::string source; ///< UTF-8
    std::vector<Message> args;
    Style style = Style::Text;

    Message() = default;
    /// A text to translate, with its arguments.
    Message(const char *text, std::initializer_list<Message> arguments = {});
    /// A text shown as it is.
    static Message literal(std::string text);
    static Message number(std::int64_t value);
    static Message formula(std::string text);
    static Message join(std::vector<Message> parts, std::string separator);

    bool empty() const { return source.empty() && args.empty(); }
    friend bool operator==(const Message &a, const Message &b)
    {
        return a.source == b.source && a.style == b.style && a.args == b.args;
    }
};

/// Messages shown one after another, as one line.
using Line = std::vector<Message>;

/// Puts the arguments into a source text: %1 to %99, as Qt reads them, in one pass (an
/// argument's own %1 stays as it is; a number beyond the arguments stays too).
std::string substitute(const std::string &source, const std::vector<std::string> &args);

/// The message put together: `source` gives a text message's source in the words wanted (its
/// translation), `literal` a literal's or a formula value's text, and the arguments go in.
std::string compose(const Message &message,
    const std::function<std::string(const std::string &)> &source,
    const std::function<std::string(const Message &)> &literal);

/// The message in its own words, untranslated: what the command line and the drawings print.
std::string plain(const Message &message);
std::string plain(const Line &line);

/// The message for the page: a string for a literal, {"formula": …} for a formula value,
/// {"join": separator, "args": […]}, else {"source": …, "args": […]}.
nlohmann::ordered_json messageJson(const Message &message);
nlohmann::ordered_json lineJson(const Line &line);

} // namespace report
