// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The text cursor at rest. While nobody types or clicks, a blinking caret
// wakes the program twice a second only to repaint itself. As desktops do to
// save power, after a while without a key or a mouse button pressed anywhere
// in the program the caret stops blinking and stays drawn; the next key or
// click lets it blink again at the desktop's own rate.

#include <QObject>
#include <QTimer>

#include <chrono>

namespace brenk {

class RiposoCursore : public QObject {
    Q_OBJECT
public:
    // How long the caret blinks after the last key or click.
    static constexpr std::chrono::milliseconds attesa_predefinita{10000};

    explicit RiposoCursore(QObject* parent = nullptr);
    // Gives the caret back its blinking.
    ~RiposoCursore() override;

    void imposta_attesa(std::chrono::milliseconds attesa);
    bool a_riposo() const { return a_riposo_; }
    // How long the caret still blinks before it rests; negative at rest.
    std::chrono::milliseconds resto() const { return attesa_.remainingTimeAsDuration(); }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void riposa();
    void risveglia();

    QTimer attesa_;
    bool a_riposo_ = false;
};

} // namespace brenk
