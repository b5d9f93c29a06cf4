#include "layout_ui/messages.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <string>
#include <vector>

namespace layout_ui {

namespace {

    /// The message with its arguments rendered by `argument`, literal text by `literal` and
    /// its translated source by `source`.
    template <class Argument, class Literal, class Source>
    std::string render(
        const report::Message &message, Argument &&argument, Literal &&literal, Source &&source)
    {
        using Style = report::Message::Style;
        switch (message.style) {
        case Style::Literal:
        case Style::Formula:
            return literal(message);
        case Style::Join: {
            std::string text;
            for (std::size_t i = 0; i < message.args.size(); ++i)
                text += (i ? message.source : std::string()) + argument(message.args[i]);
            return text;
        }
        case Style::Text:
            break;
        }
        std::vector<std::string> args;
        for (const report::Message &arg : message.args)
            args.push_back(argument(arg));
        return report::substitute(source(translated(message.source.c_str())), args);
    }

    std::string plainOf(const report::Message &message)
    {
        return render(
            message, plainOf, [](const report::Message &m) { return m.source; },
            [](const QString &text) { return text.toStdString(); });
    }

    std::string richOf(const report::Message &message)
    {
        return render(
            message, richOf,
            [](const report::Message &m) {
                const QString text = QString::fromStdString(m.source);
                if (m.style != report::Message::Style::Formula)
                    return text.toHtmlEscaped().toStdString();
                // The space before a value stays outside its grey.
                const QString value = text.trimmed();
                return text.left(text.indexOf(value)).toStdString()
                    + QStringLiteral("<span style=\"color:#8a8a8a\">%1</span>")
                          .arg(value.toHtmlEscaped())
                          .toStdString();
            },
            [](const QString &text) { return text.toHtmlEscaped().toStdString(); });
    }

} // namespace

QString translated(const char *source)
{
    return QCoreApplication::translate("report", source);
}

QString rendered(const report::Message &message)
{
    return QString::fromStdString(plainOf(message));
}

QString rendered(const report::Line &line)
{
    QString text;
    for (const report::Message &message : line)
        text += rendered(message);
    return text;
}

QString renderedRich(const report::Message &message)
{
    return QString::fromStdString(richOf(message));
}

QString withoutKey(const QString &label)
{
    static const QRegularExpression key(QStringLiteral("\\(&.\\)|&(?=.)"));
    return QString(label).remove(key).trimmed();
}

} // namespace layout_ui
