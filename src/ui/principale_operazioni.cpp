// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the device operations: the buttons that start
// them in the session, the way out, and the Finestra they work on.

#include "ui/principale.h"

#include "ops/operazioni.h"
#include "ui/avvisi.h"
#include "ui/testi.h"
#include "ui_principale.h"

#include <QCloseEvent>
#include <QComboBox>

namespace brenk {

void Principale::collega_pulsanti()
{
    Sessione& s = *sessione_;
    connect(ui_->Cmd_connetti, &QPushButton::clicked, this, [this, &s] { s.connetti(ui_->Cmd_connetti->text()); });
    connect(ui_->cmd_programma, &QPushButton::clicked, this, [this, &s] {
        if (focusWidget() == ui_->cmd_programma)
            parcheggia(ui_->Cmd_disconetti); // not the option button after it
        ui_->cmd_programma->setEnabled(false);
        s.programma(ui_->cmd_programma->text());
    });
    connect(ui_->Cmd_init_uhf, &QPushButton::clicked, this,
            [this, &s] { s.fabbrica(ui_->Cmd_init_uhf->text(), Banda::UHF); });
    connect(ui_->Cmd_init_vhf, &QPushButton::clicked, this,
            [this, &s] { s.fabbrica(ui_->Cmd_init_vhf->text(), Banda::VHF); });
    connect(ui_->Cmd_tx, &QPushButton::clicked, this, [this, &s] { s.trasmetti(ui_->Cmd_tx->text()); });
    connect(ui_->Cmd_disconetti, &QPushButton::clicked, &s, &Sessione::disconetti);
    connect(ui_->Command4, &QPushButton::clicked, this, &QWidget::close);
    connect(&segnali_, &SegnaliDiUscita::arrivato, this, &QWidget::close);
    connect(&s, &Sessione::cambiata, this, &Principale::rivaluta);
    connect(&s, &Sessione::uscita, this, &Principale::uscita);
    connect(&s, &Sessione::serie_finita, ui_->Chk_serie, [this] { ui_->Chk_serie->setChecked(false); });
    for (QPushButton* pulsante : findChildren<QPushButton*>())
        pulsante->installEventFilter(this); // Return presses it: see premuto_con_invio
}

// The confirmation of a writing holds for what the window shows: the first
// change of a field or an option takes it away, however it is made (typed,
// pasted, dropped, set by an assistive technology). An operation fills the
// fields before it confirms.
void Principale::collega_conferma()
{
    const auto togli = [this] {
        mostra_conferma({});
        rivaluta(); // the file label too
    };
    for (QWidget* campo : campi_) {
        if (auto* casella = qobject_cast<QComboBox*>(campo))
            connect(casella, &QComboBox::editTextChanged, this, togli);
        else
            connect(static_cast<QLineEdit*>(campo), &QLineEdit::textChanged, this, togli);
    }
    for (QRadioButton* pulsante : opzioni_)
        connect(pulsante, &QRadioButton::toggled, this, togli);
}

// Closing the window is leaving the program, as "ESCI" and the signals to
// end are: the window goes at once, the session ends the connection and the
// program ends by `uscita`.
void Principale::closeEvent(QCloseEvent* evento)
{
    evento->ignore();
    hide();
    sessione_->esci();
}

QString Principale::testo(Campo c) const
{
    if (auto* casella = qobject_cast<QComboBox*>(campo(c)))
        return casella->currentText();
    return static_cast<QLineEdit*>(campo(c))->text();
}

void Principale::imposta_testo(Campo c, const QString& testo)
{
    if (auto* casella = qobject_cast<QComboBox*>(campo(c)))
        casella->setEditText(testo);
    else
        static_cast<QLineEdit*>(campo(c))->setText(testo);
}

bool Principale::selezionata(Opzione o) const
{
    return opzione(o)->isChecked();
}

// A button already selected stays so and stores nothing, as a second click
// on it would.
void Principale::seleziona(Opzione o)
{
    if (!opzione(o)->isChecked())
        opzione(o)->setChecked(true);
}

// Radio buttons of one group keep one selected: each lets go of the group
// while it is cleared. The first button stays reachable with Tab.
void Principale::nessuna_scelta(Opzione o)
{
    const auto primo = static_cast<Opzione>(static_cast<int>(o) / 2 * 2);
    for (Opzione b : {primo, static_cast<Opzione>(static_cast<int>(primo) + 1)}) {
        opzione(b)->setAutoExclusive(false);
        opzione(b)->setChecked(false);
        opzione(b)->setAutoExclusive(true);
    }
    opzione(primo)->setFocusPolicy(Qt::StrongFocus);
}

void Principale::imposta_stato(const QString& stato)
{
    if (ui_->txb_stato_con->text() != stato)
        ui_->txb_stato_con->setText(stato);
}

// Shown once a read has stored the type, which the supervision then reads.
void Principale::imposta_tipo(const QString& tipo)
{
    ui_->lab_tipo_brenk->setText(tipo);
    rivaluta();
}

void Principale::mostra_progresso(bool visibile)
{
    ui_->ProgressBar1->setVisible(visibile);
    rivaluta();
}

void Principale::imposta_massimo_progresso(int massimo)
{
    ui_->ProgressBar1->setMaximum(massimo);
}

// QProgressBar repaints at once for every new value. Painting from the event
// loop instead lets the request that follows leave for the line first.
void Principale::imposta_progresso(int valore)
{
    rivaluta();
    const bool in_coda = progresso_.has_value();
    progresso_ = valore;
    if (!in_coda)
        QMetaObject::invokeMethod(
            this, [this] { ui_->ProgressBar1->setValue(*std::exchange(progresso_, {})); }, Qt::QueuedConnection);
}

void Principale::mostra_conferma(const QString& testo)
{
    ui_->lab_verifica->annuncia(testo, QColor(0xC8, 0xF0, 0xC8));
}

void Principale::mostra_nota(const QString& testo)
{
    ui_->lab_verifica->annuncia(testo, QColor(0xFF, 0xF0, 0xB0));
}

void Principale::beep()
{
    avvisi_.beep();
}

Task<void> Principale::messaggio(const QString& testo, Icona icona)
{
    rivaluta();
    return avvisi_.messaggio(testo, icona);
}

} // namespace brenk
