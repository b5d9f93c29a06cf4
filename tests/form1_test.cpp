// The window: controls against the layout table, focus, and what a click shows.

#include "ui/form1.h"
#include "ui/icon.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// What one message box showed before the watcher dismissed it.
struct Shown
{
    QString text;
    QString title;
    Qt::WindowModality modality = Qt::NonModal;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Dismisses every message box with its OK button as soon as it is up, and keeps what it showed,
// so a click that opens boxes can be tested without hanging.
class BoxWatcher : public QObject
{
public:
    BoxWatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, &BoxWatcher::dismiss);
        m_timer.start(5);
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Shown &shown : m_shown)
            result << shown.text;
        return result;
    }
    const QList<Shown> &shown() const { return m_shown; }

private:
    void dismiss()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        Shown shown { box->text(), box->windowTitle(), box->windowModality(), {}, box->icon() };
        for (QAbstractButton *button : box->buttons())
            shown.buttons << button->text();
        m_shown << shown;
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }

    QTimer m_timer;
    QList<Shown> m_shown;
};

const QStringList kInputs { "Text4", "Text3", "Text5", "Text1" };

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void noOtherControls();
    void noteFitsItsBox();
    void controlsStayWhenResized();
    void icon();
    void focusChain();
    void enterDoesNothing();
    void calculate_data();
    void calculate();
    void spaceOnButtonClicks();
    void copyFromMessageBox();
    void runtimeErrorKeepsWindow_data();
    void runtimeErrorKeepsWindow();

private:
    template <typename T> T *control(const QString &name) const
    {
        return m_window->findChild<T *>(name, Qt::FindDirectChildrenOnly);
    }
    QLineEdit *box(const QString &name) const { return control<QLineEdit>(name); }
    void type(const QStringList &values);

    ui::Form1 *m_window = nullptr;
};

void Form1Test::init()
{
    m_window = new ui::Form1;
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void Form1Test::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void Form1Test::type(const QStringList &values)
{
    for (int i = 0; i < values.size(); ++i)
        box(kInputs[i])->setText(values[i]);
}

void Form1Test::window()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("Form1"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane"));
    // 7020 x 5145 twips at 15 twips to the pixel.
    QCOMPARE(m_window->size(), QSize(468, 343));
    for (const QString &name : kInputs + QStringList { "Text2" }) {
        QVERIFY2(box(name)->text().isEmpty(), qPrintable(name));
        QVERIFY2(!box(name)->isReadOnly(), qPrintable(name));
    }
}

void Form1Test::controls_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");

    const auto row = [](const char *name, const char *kind, const char *caption, int left, int top,
                         int width, int height) {
        QTest::newRow(name) << QString::fromLatin1(kind) << QString::fromUtf8(caption)
                            << QRect(left, top, width, height);
    };
    row("Label1", "label", "Korvane v1.0", 2040, 240, 2655, 495);
    row("Label6", "label",
        "说明:        最大布管圆   DL=Di-2*b     b=0.25*d      Di为壳内径  d为官子外径    "
        "b最小取8                    最小管圆      DX=d0+2*b      b=0.25*d      d0为中心管外径 "
        "d为官子外径    b最小取8",
        240, 840, 1335, 2655);
    row("Text4", "text box", "", 3120, 960, 1095, 375);
    row("Label7", "label", "mm", 4320, 960, 615, 375);
    row("Label3", "label", "壳内经", 2040, 1080, 855, 255);
    row("Text3", "text box", "", 3120, 1680, 1095, 375);
    row("Label8", "label", "mm", 4320, 1680, 615, 375);
    row("Label2", "label", "管心距", 2040, 1800, 855, 255);
    row("Text5", "text box", "", 3120, 2400, 1095, 375);
    row("Label9", "label", "mm", 4320, 2400, 615, 375);
    row("Label4", "label", "管外经", 2040, 2520, 855, 255);
    row("Text1", "text box", "", 3120, 3000, 1095, 375);
    row("Label10", "label", "mm", 4320, 3000, 615, 375);
    row("Label5", "label", "中心管外径", 2040, 3120, 975, 375);
    row("Command1", "command button", "计算", 2040, 4080, 1215, 375);
    row("Text2", "text box", "", 3600, 4080, 855, 375);
    row("Label11", "label", "根", 4680, 4200, 615, 375);
}

void Form1Test::controls()
{
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);

    const QString name = QString::fromLatin1(QTest::currentDataTag());
    QWidget *widget = control<QWidget>(name);
    QVERIFY(widget);
    QVERIFY(widget->isVisible());
    QCOMPARE(widget->geometry(),
        QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));

    if (kind == "label") {
        auto *label = qobject_cast<QLabel *>(widget);
        QVERIFY(label);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    } else if (kind == "text box") {
        auto *edit = qobject_cast<QLineEdit *>(widget);
        QVERIFY(edit);
        QCOMPARE(edit->text(), caption);
    } else {
        auto *button = qobject_cast<QPushButton *>(widget);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

void Form1Test::noOtherControls()
{
    QStringList names;
    for (QWidget *child : m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        names << child->objectName();
    names.sort();
    QStringList expected { "Command1", "Label1", "Label10", "Label11", "Label2", "Label3", "Label4",
        "Label5", "Label6", "Label7", "Label8", "Label9", "Text1", "Text2", "Text3", "Text4",
        "Text5" };
    expected.sort();
    QCOMPARE(names, expected);
}

void Form1Test::noteFitsItsBox()
{
    auto *note = control<QLabel>("Label6");
    QVERIFY(note->wordWrap());
    // The whole note, wrapped to the label's width, must show: nothing cut off at the bottom.
    QVERIFY2(note->heightForWidth(note->width()) <= note->height(),
        qPrintable(QString("needs %1 of %2")
                       .arg(note->heightForWidth(note->width()))
                       .arg(note->height())));
}

void Form1Test::controlsStayWhenResized()
{
    QList<QRect> before;
    const QList<QWidget *> children = m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children)
        before << child->geometry();
    for (QSize size : { QSize(900, 700), QSize(200, 150) }) {
        m_window->resize(size);
        QCoreApplication::processEvents();
        for (int i = 0; i < children.size(); ++i)
            QCOMPARE(children[i]->geometry(), before[i]);
    }
}

void Form1Test::icon()
{
    const QIcon icon = ui::windowIcon();
    QVERIFY(!icon.isNull());
    const QImage image = icon.pixmap(QSize(64, 64), 1.0).toImage();
    QCOMPARE(image.size(), QSize(64, 64));
    // Drawn, not blank: the corner is transparent and the middle is not.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QVERIFY(qAlpha(image.pixel(32, 32)) > 0);
}

void Form1Test::focusChain()
{
    QCOMPARE(QApplication::focusWidget(), box("Text4"));
    QStringList visited;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList { "Text3", "Text5", "Text1", "Command1", "Text2", "Text4" }));
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
}

void Form1Test::enterDoesNothing()
{
    BoxWatcher watcher;
    type({ "600", "32", "25", "57" });
    for (const QString &name : kInputs + QStringList { "Text2" }) {
        box(name)->setFocus();
        QTest::keyClick(box(name), Qt::Key_Return);
        QTest::keyClick(box(name), Qt::Key_Enter);
    }
    QTest::qWait(50);
    QVERIFY(watcher.texts().isEmpty());
    QCOMPARE(box("Text2")->text(), QString());
    QCOMPARE(m_window->state().di, 0.0);
}

void Form1Test::calculate_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("result");

    QTest::newRow("centre tube 57")
        << QStringList { "600", "32", "25", "57" }
        << QStringList { "总的管束283", "中心去掉的管束7", " 最后管束276" } << "276";
    QTest::newRow("centre tube too small")
        << QStringList { "400", "25", "19", "25" }
        << QStringList { "中心管外径过小", "总的管束199", "中心去掉的管束7", " 最后管束192" }
        << "192";
    QTest::newRow("no centre tube")
        << QStringList { "600", "32", "25", "" } << QStringList {} << "283";
    QTest::newRow("text after the numbers")
        << QStringList { " 6 0 0mm", "32.0", "2.5e1", "0" } << QStringList {} << "283";
    QTest::newRow("empty boxes") << QStringList { "", "", "", "" } << QStringList {} << "0";
    // A Chinese input method in full-width mode: the same figures, the boxes left as typed.
    QTest::newRow("full width") << QStringList { "６００", "３２", "２５", "５７" }
                                << QStringList { "总的管束283", "中心去掉的管束7", " 最后管束276" }
                                << "276";
    QTest::newRow("full width with an ideographic space") << QStringList { "\u3000６００\u3000",
        "３２．０", "２．５Ｅ１", "" } << QStringList {} << "283";
}

void Form1Test::calculate()
{
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, boxes);
    QFETCH(QString, result);

    BoxWatcher watcher;
    type(inputs);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);

    QCOMPARE(watcher.texts(), boxes);
    for (const Shown &shown : watcher.shown()) {
        QCOMPARE(shown.title, QStringLiteral("Korvane"));
        QCOMPARE(shown.modality, Qt::ApplicationModal);
        QCOMPARE(shown.buttons, QStringList { "确定" });
        QCOMPARE(shown.icon, QMessageBox::NoIcon);
    }
    // The bare number, nothing around it.
    QCOMPARE(box("Text2")->text(), result);
    for (int i = 0; i < kInputs.size(); ++i)
        QCOMPARE(box(kInputs[i])->text(), inputs[i]);
    QVERIFY(m_window->isVisible());
}

void Form1Test::spaceOnButtonClicks()
{
    BoxWatcher watcher;
    type({ "600", "32", "25", "57" });
    auto *button = control<QPushButton>("Command1");
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(watcher.texts().size(), 3);
    QCOMPARE(box("Text2")->text(), QStringLiteral("276"));
}

void Form1Test::copyFromMessageBox()
{
    QStringList copied;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        // The shortcut answers only once the box is the active window.
        if (!box || !box->isVisible() || QApplication::activeWindow() != box)
            return;
        QApplication::clipboard()->clear();
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        copied << QApplication::clipboard()->text();
        box->button(QMessageBox::Ok)->click();
    });
    timer.start(5);
    type({ "600", "32", "25", "57" });
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(copied, (QStringList { "总的管束283", "中心去掉的管束7", " 最后管束276" }));

    copied.clear();
    type({ "600", "0", "25", "" });
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(copied, QStringList { "实时错误 '6':\n\n溢出" });
}

void Form1Test::runtimeErrorKeepsWindow_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("zero pitch") << QStringList { "600", "0", "25", "" }
                                << QStringList { "实时错误 '6':\n\n溢出" };
    QTest::newRow("zero pitch, centre tube")
        << QStringList { "0", "0", "25", "57" } << QStringList { "实时错误 '6':\n\n溢出" };
    QTest::newRow("too many rows")
        << QStringList { "1000", "0.5", "0", "" } << QStringList { "实时错误 '9':\n\n下标越界" };
    QTest::newRow("negative tube") << QStringList { "1000", "25", "-19", "" }
                                   << QStringList { "实时错误 '5':\n\n无效的过程调用或参数" };
    QTest::newRow("shell beyond a double")
        << QStringList { "1e400", "32", "25", "" } << QStringList { "实时错误 '6':\n\n溢出" };
}

void Form1Test::runtimeErrorKeepsWindow()
{
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, boxes);

    BoxWatcher watcher;
    box("Text2")->setText("earlier");
    type(inputs);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);

    QCOMPARE(watcher.texts(), boxes);
    const Shown &report = watcher.shown().constLast();
    QCOMPARE(report.title, QStringLiteral("Korvane"));
    QCOMPARE(report.modality, Qt::ApplicationModal);
    QCOMPARE(report.buttons, QStringList { "确定" });
    QVERIFY(m_window->isVisible());
    QCOMPARE(box("Text2")->text(), QStringLiteral("earlier"));
    for (int i = 0; i < kInputs.size(); ++i)
        QCOMPARE(box(kInputs[i])->text(), inputs[i]);

    // Ready for the next click.
    type({ "600", "32", "25", "" });
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(watcher.texts().size(), boxes.size());
    QCOMPARE(box("Text2")->text(), QStringLiteral("283"));
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
