#include "ui/form1.h"

#include "runtime/error.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

#include <exception>

namespace ui {

namespace {

    // The client area, 7020 x 5145 twips.
    constexpr QSize kClientSize { 7020 / kTwipsPerPixel, 5145 / kTwipsPerPixel };

    // The note sits in a narrow label; its runs of blanks are part of the text and push the
    // pieces onto separate lines when it wraps.
    const char kNote[] = "说明:        最大布管圆   DL=Di-2*b     b=0.25*d      Di为壳内径  "
                         "d为官子外径    b最小取8                    最小管圆      DX=d0+2*b      "
                         "b=0.25*d      d0为中心管外径 d为官子外径    b最小取8";

    QLabel *addLabel(QWidget *parent, const char *name, const QString &caption, QRect geometry)
    {
        auto *label = new QLabel(caption, parent);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(geometry);
        return label;
    }

    QLineEdit *addTextBox(QWidget *parent, const char *name, QRect geometry)
    {
        auto *box = new QLineEdit(parent);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(geometry);
        return box;
    }

    /// A modal box over the whole application with the prompt, the title "Korvane" and one OK
    /// button reading "确定"; returns when it is dismissed.
    void showMessage(QWidget *parent, const QString &prompt, bool isError = false)
    {
        QMessageBox box(isError ? QMessageBox::Critical : QMessageBox::NoIcon,
            QString::fromUtf8(kTitle), prompt, QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.setWindowModality(Qt::ApplicationModal);
        // The interface is Chinese whatever the system's language.
        box.button(QMessageBox::Ok)->setText(QString::fromUtf8("确定"));
        // Ctrl+C copies the prompt, so a designer can paste a count or an error report elsewhere.
        QShortcut copy(QKeySequence::Copy, &box);
        QObject::connect(&copy, &QShortcut::activated, &box,
            [prompt] { QGuiApplication::clipboard()->setText(prompt); });
        box.exec();
    }

} // namespace

Form1::Form1(QWidget *parent)
    : QWidget(parent)
    , m_form(*this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kTitle));
    // Nine-point type from a font with Chinese and Latin letters alike, so the note fits its
    // narrow label as the layout intends.
    QFont small = font();
    small.setFamilies(
        { QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC") });
    small.setPixelSize(12);
    setFont(small);

    // Top to bottom, as the controls stand on the window.
    QLabel *title =
        addLabel(this, "Label1", QStringLiteral("Korvane v1.0"), twips(2040, 240, 2655, 495));
    QFont titleFont = title->font();
    titleFont.setPixelSize(20);
    titleFont.setBold(true);
    title->setFont(titleFont);
    QLabel *note = addLabel(this, "Label6", QString::fromUtf8(kNote), twips(240, 840, 1335, 2655));
    note->setWordWrap(true);
    // A point smaller, so the whole note fits the box with this font's taller lines.
    QFont noteFont = note->font();
    noteFont.setPixelSize(11);
    note->setFont(noteFont);
    m_Text4 = addTextBox(this, "Text4", twips(3120, 960, 1095, 375));
    addLabel(this, "Label7", QStringLiteral("mm"), twips(4320, 960, 615, 375));
    addLabel(this, "Label3", QString::fromUtf8("壳内经"), twips(2040, 1080, 855, 255));
    m_Text3 = addTextBox(this, "Text3", twips(3120, 1680, 1095, 375));
    addLabel(this, "Label8", QStringLiteral("mm"), twips(4320, 1680, 615, 375));
    addLabel(this, "Label2", QString::fromUtf8("管心距"), twips(2040, 1800, 855, 255));
    m_Text5 = addTextBox(this, "Text5", twips(3120, 2400, 1095, 375));
    addLabel(this, "Label9", QStringLiteral("mm"), twips(4320, 2400, 615, 375));
    addLabel(this, "Label4", QString::fromUtf8("管外经"), twips(2040, 2520, 855, 255));
    m_Text1 = addTextBox(this, "Text1", twips(3120, 3000, 1095, 375));
    addLabel(this, "Label10", QStringLiteral("mm"), twips(4320, 3000, 615, 375));
    addLabel(this, "Label5", QString::fromUtf8("中心管外径"), twips(2040, 3120, 975, 375));
    m_Command1 = new QPushButton(QString::fromUtf8("计算"), this);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    m_Command1->setGeometry(twips(2040, 4080, 1215, 375));
    // Not the default button: Enter in a text box does nothing.
    m_Command1->setAutoDefault(false);
    m_Command1->setDefault(false);
    m_Text2 = addTextBox(this, "Text2", twips(3600, 4080, 855, 375));
    addLabel(this, "Label11", QString::fromUtf8("根"), twips(4680, 4200, 615, 375));

    // Labels take no focus, so the chain runs over the boxes and the button only.
    setTabOrder(m_Text4, m_Text3);
    setTabOrder(m_Text3, m_Text5);
    setTabOrder(m_Text5, m_Text1);
    setTabOrder(m_Text1, m_Command1);
    setTabOrder(m_Command1, m_Text2);
    m_Text4->setFocus();

    connect(m_Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    resize(kClientSize);
}

void Form1::Command1_Click()
{
    // No exception may leave a Qt slot: a run-time error ends the calculation, not the program.
    try {
        m_form.Command1_Click();
    } catch (const runtime::RuntimeError &error) {
        showMessage(this, QString::fromStdString(runtime::report(error.number())), true);
    } catch (const std::exception &error) {
        showMessage(this, QString::fromLocal8Bit(error.what()), true);
    }
}

std::string Form1::text(engine::Box box) const
{
    return lineEdit(box)->text().toStdString();
}

void Form1::setText(engine::Box box, std::string_view utf8)
{
    lineEdit(box)->setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void Form1::messageBox(std::string_view prompt)
{
    showMessage(this, QString::fromUtf8(prompt.data(), static_cast<qsizetype>(prompt.size())));
}

QLineEdit *Form1::lineEdit(engine::Box box) const
{
    switch (box) {
    case engine::Box::Text1:
        return m_Text1;
    case engine::Box::Text2:
        return m_Text2;
    case engine::Box::Text3:
        return m_Text3;
    case engine::Box::Text4:
        return m_Text4;
    case engine::Box::Text5:
        break;
    }
    return m_Text5;
}

} // namespace ui
