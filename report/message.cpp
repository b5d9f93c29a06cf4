#include "report/message.h"

namespace report {

Message::Message(const char *text, std::initializer_list<Message> arguments)
    : source(text)
    , args(arguments)
{
}

Message Message::literal(std::string text)
{
    Message message;
    message.source = std::move(text);
    message.style = Style::Literal;
    return message;
}

Message Message::number(std::int64_t value)
{
    return literal(std::to_string(value));
}

Message Message::formula(std::string text)
{
    Message message = literal(std::move(text));
    message.style = Style::Formula;
    return message;
}

Message Message::join(std::vector<Message> parts, std::string separator)
{
    Message message;
    message.source = std::move(separator);
    message.args = std::move(parts);
    message.style = Style::Join;
    return message;
}

std::string substitute(const std::string &source, const std::vector<std::string> &args)
{
    std::string text;
    text.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        // One or two digits, as Qt reads %1 to %99.
        std::size_t end = i + 1, n = 0;
        while (source[i] == '%' && end < source.size() && end < i + 3 && source[end] >= '0'
            && source[end] <= '9')
            n = n * 10 + static_cast<std::size_t>(source[end++] - '0');
        if (n >= 1 && n <= args.size()) {
            text += args[n - 1];
            i = end - 1;
        } else {
            text += source[i];
        }
    }
    return text;
}

std::string compose(const Message &message,
    const std::function<std::string(const std::string &)> &source,
    const std::function<std::string(const Message &)> &literal)
{
    switch (message.style) {
    case Message::Style::Literal:
    case Message::Style::Formula:
        return literal(message);
    case Message::Style::Join: {
        std::string text;
        for (std::size_t i = 0; i < message.args.size(); ++i)
            text +=
                (i ? message.source : std::string()) + compose(message.args[i], source, literal);
        return text;
    }
    case Message::Style::Text:
        break;
    }
    std::vector<std::string> args;
    args.reserve(message.args.size());
    for (const Message &arg : message.args)
        args.push_back(compose(arg, source, literal));
    return substitute(source(message.source), args);
}

std::string plain(const Message &message)
{
    return compose(
        message, [](const std::string &text) { return text; },
        [](const Message &value) { return value.source; });
}

std::string plain(const Line &line)
{
    std::string text;
    for (const Message &message : line)
        text += plain(message);
    return text;
}

nlohmann::ordered_json messageJson(const Message &message)
{
    const auto argsJson = [&message] {
        nlohmann::ordered_json args = nlohmann::ordered_json::array();
        for (const Message &arg : message.args)
            args.push_back(messageJson(arg));
        return args;
    };
    switch (message.style) {
    case Message::Style::Literal:
        return message.source;
    case Message::Style::Formula:
        return { { "formula", message.source } };
    case Message::Style::Join:
        return { { "join", message.source }, { "args", argsJson() } };
    case Message::Style::Text:
        break;
    }
    return { { "source", message.source }, { "args", argsJson() } };
}

nlohmann::ordered_json lineJson(const Line &line)
{
    nlohmann::ordered_json parts = nlohmann::ordered_json::array();
    for (const Message &message : line)
        parts.push_back(messageJson(message));
    return parts;
}

} // namespace report
