// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The title window `TITOLO`: names the configurator, shows a picture and
// waits for "Continua", which hands over to the main window for good.

#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class TITOLO;
}

namespace brenk {

class Titolo : public QWidget {
    Q_OBJECT
public:
    // `principale` is shown when the operator presses "Continua".
    explicit Titolo(QWidget& principale, QWidget* parent = nullptr);
    ~Titolo() override;

private:
    void Command1_Click();

    std::unique_ptr<Ui::TITOLO> ui_;
    QWidget& principale_;
    QTimer Timer_titolo;
};

} // namespace brenk
