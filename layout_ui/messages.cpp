#include "layout_ui/messages.h"

#include "report/summary.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <string>
#include <vector>

namespace layout_ui {

namespace {

    std::string translatedSource(const std::string &source)
    {
        return translated(source.c_str()).toStdString();
    }

} // namespace

QString translated(const char *source)
{
    return QCoreApplication::translate("report", source);
}

QString rendered(const report::Message &message)
{
    return QString::fromStdString(report::compose(
        message, translatedSource, [](const report::Message &value) { return value.source; }));
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
    const auto escaped = [](const std::string &source) {
        return translated(source.c_str()).toHtmlEscaped().toStdString();
    };
    return QString::fromStdString(
        report::compose(message, escaped, [](const report::Message &value) {
            const QString text = QString::fromStdString(value.source);
            if (value.style != report::Message::Style::Formula)
                return text.toHtmlEscaped().toStdString();
            // The space before a value stays outside its grey.
            const QString shown = text.trimmed();
            return text.left(text.indexOf(shown)).toStdString()
                + QStringLiteral("<span style=\"color:#8a8a8a\">%1</span>")
                      .arg(shown.toHtmlEscaped())
                      .toStdString();
        }));
}

report::Wording drawingWording()
{
    report::Wording wording;
    // A loaded translation is what makes the window English.
    wording.ascii = translated(report::kBafflesName) != QString::fromUtf8(report::kBafflesName);
    if (wording.ascii)
        wording.render = [](const report::Message &message) {
            return rendered(message).toStdString();
        };
    return wording;
}

QString withoutKey(const QString &label)
{
    static const QRegularExpression key(QStringLiteral("\\(&.\\)|&(?=.)"));
    return QString(label).remove(key).trimmed();
}

} // namespace layout_ui
