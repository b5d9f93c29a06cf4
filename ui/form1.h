#pragma once

#include "engine/tube_count.h"

#include <QWidget>

#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

/// Twips per device-independent pixel: 1440 twips to the inch at 96 dpi.
constexpr int kTwipsPerPixel = 15;

/// A rectangle given in twips, in device-independent pixels; Qt scales it for high-DPI screens.
constexpr QRect twips(int left, int top, int width, int height)
{
    return { left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
        height / kTwipsPerPixel };
}

/// The application title, the caption of the window and of every message box.
inline constexpr char kTitle[] = "Korvane";

/// The main window: four input boxes, the Calculate button and the result box, at fixed
/// positions. It holds the calculation state and shows what the Calculate command asks for.
class Form1 : public QWidget, private engine::Host
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);

    /// The calculation state; it lives as long as the window.
    const engine::Form1 &state() const { return m_form; }

public slots:
    /// The Calculate button. A run-time error ends the calculation with a modal report; the
    /// window stays open with every box as it was.
    void Command1_Click();

private:
    std::string text(engine::Box box) const override;
    void setText(engine::Box box, std::string_view utf8) override;
    void messageBox(std::string_view prompt) override;

    QLineEdit *lineEdit(engine::Box box) const;

    engine::Form1 m_form;
    QLineEdit *m_Text1 = nullptr;
    QLineEdit *m_Text2 = nullptr;
    QLineEdit *m_Text3 = nullptr;
    QLineEdit *m_Text4 = nullptr;
    QLineEdit *m_Text5 = nullptr;
    QPushButton *m_Command1 = nullptr;
};

} // namespace ui
