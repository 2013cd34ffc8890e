// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/titolo.h"

#include "ui/aspetto.h"
#include "ui/disegni.h"
#include "ui/testi.h"
#include "ui_titolo.h"

namespace brenk {

namespace {

} // namespace

Titolo::Titolo(QWidget& principale, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TITOLO>()), principale_(principale)
{
    ui_->setupUi(this);
    setWindowTitle(QString());
    setWindowIcon(icona_programma());
    setFixedSize(size());

    setFont(carattere(8.25));
    ui_->Label24->setFont(carattere(14.25));
    ui_->Label28->setText(etichetta_versione);
    ui_->Label28->setFont(carattere(9.75));
    ui_->Label27->setFont(carattere(9.75));
    ui_->Command1->setFont(carattere(12));
    ui_->Image1->setPixmap(QPixmap::fromImage(disegna_trasmettitore()));

    connect(&Timer_titolo, &QTimer::timeout, this, [this] { ui_->lab_fabbrica->setText(fabbrica); });
    Timer_titolo.start(100);
    connect(ui_->Command1, &QPushButton::clicked, this, &Titolo::Command1_Click);
    ui_->Command1->setFocus();
}

Titolo::~Titolo() = default;

// The main window is shown before this one closes, so that the program never
// finds itself without a visible window.
void Titolo::Command1_Click()
{
    Timer_titolo.stop();
    principale_.show();
    close();
}

} // namespace brenk
