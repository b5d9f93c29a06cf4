#pragma once

// What the window tests share: waiting for a study, reading a count, korvane-layout's JSON for
// the same options, and setting options as a command line gives them.

#include "layout_ui/sheet_window.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

namespace window_support {

using layout_ui::SheetWindow;

/// Waits, without a fixed time, until the window shows what its inputs say.
inline bool settle(SheetWindow &window)
{
    return QTest::qWaitFor([&] { return !window.isBusy(); }, 60000);
}

inline QString field(const SheetWindow &window, const char *name)
{
    return window.findChild<QLineEdit *>(QLatin1String(name))->text();
}

/// korvane-layout's JSON for the same options.
inline QJsonObject layoutJson(const QStringList &options)
{
    QProcess program;
    QStringList args { QStringLiteral("--json") };
    for (const QString &option : options) {
        const auto equals = option.indexOf(QLatin1Char('='));
        args << QStringLiteral("--") + option.left(equals);
        // A switch such as gb151 comes alone.
        if (equals + 1 < option.size())
            args << option.mid(equals + 1);
    }
    program.start(QStringLiteral(KORVANE_LAYOUT), args);
    program.waitForFinished(60000);
    return QJsonDocument::fromJson(program.readAllStandardOutput()).object();
}

inline void apply(SheetWindow &window, const QStringList &options)
{
    for (const QString &option : options) {
        const auto equals = option.indexOf(QLatin1Char('='));
        QCOMPARE(window.setOption(option.left(equals), option.mid(equals + 1)), QString());
    }
}

} // namespace window_support
