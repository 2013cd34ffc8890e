// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the device operations: the buttons that start
// them, the way out, a port that vanishes, and the Finestra they work on.

#include "ui/principale.h"

#include "ops/operazioni.h"
#include "ui/avvisi.h"
#include "ui/testi.h"
#include "ui_principale.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QComboBox>

namespace brenk {

void Principale::collega_pulsanti()
{
    connect(ui_->Cmd_connetti, &QPushButton::clicked, this,
            [this] { avvia(ui_->Cmd_connetti, connetti_in_giornata()); });
    connect(ui_->cmd_programma, &QPushButton::clicked, this, [this] {
        ui_->cmd_programma->setEnabled(false);
        avvia(ui_->cmd_programma, programma_in_giornata());
    });
    connect(ui_->Cmd_init_uhf, &QPushButton::clicked, this,
            [this] { avvia(ui_->Cmd_init_uhf, fabbrica_in_giornata(ui_->Cmd_init_uhf, Banda::UHF)); });
    connect(ui_->Cmd_init_vhf, &QPushButton::clicked, this,
            [this] { avvia(ui_->Cmd_init_vhf, fabbrica_in_giornata(ui_->Cmd_init_vhf, Banda::VHF)); });
    connect(ui_->Cmd_tx, &QPushButton::clicked, this, [this] { avvia(ui_->Cmd_tx, trasmetti_in_giornata()); });
    // A running operation notices the closed port by itself.
    connect(ui_->Cmd_disconetti, &QPushButton::clicked, this, &Principale::disconetti_in_giornata);
    connect(ui_->Command4, &QPushButton::clicked, this, &QWidget::close);
    connect(&segnali_, &SegnaliDiUscita::arrivato, this, &QWidget::close);
    connect(&porta_, &PortaSeriale::persa, this, &Principale::porta_persa);
}

// The confirmation of a writing holds for what the window shows: the first
// change of a field or an option takes it away, however it is made (typed,
// pasted, dropped, set by an assistive technology). An operation fills the
// fields before it confirms.
void Principale::collega_conferma()
{
    const auto togli = [this] { mostra_conferma({}); };
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
// end are. The window goes at once; the exchange in flight ends first, so
// that the transmitter takes the farewell "E" as a letter and not as an
// address or a value; then the running operation is dropped without a word
// (the record still gets its line), and the program ends by `uscita`.
void Principale::closeEvent(QCloseEvent* evento)
{
    evento->ignore();
    hide();
    if (std::exchange(in_uscita_, true))
        return;
    porta_.al_termine_dello_scambio([this] {
        interrompi_giornata();
        esecutore_.abbandona();
        congeda(contesto_, 'E');
        emit uscita();
    });
}

// When nothing can wait any more (the session ends under the program), the
// farewell goes at once.
void Principale::congedo_immediato()
{
    if (!porta_.aperta())
        return;
    interrompi_giornata();
    esecutore_.abbandona();
    congeda(contesto_, 'E');
}

// The device vanished: the connection is over, though the fields keep their
// values, and nothing is confirmed any more. The operator hears of it once:
// from the running operation if it tells of the port's failure, from here
// otherwise.
void Principale::porta_persa(const ErrorePorta& errore)
{
    imposta_stato(stato_non_connesso);
    mostra_conferma({});
    if (!guasto_detto_)
        perdita_ = errore;
    avvisa_perdita();
}

// Told by the operation now running or the last one: the port the failure
// came from can only come back through the next operation.
void Principale::guasto_porta_detto()
{
    guasto_detto_ = true;
    perdita_.reset();
}

// The operation is named after its button.
void Principale::avvia(const QPushButton* pulsante, Task<void> operazione)
{
    avvia(pulsante->text(), std::move(operazione));
}

// Every task the window starts goes through the guard, which tells the
// operator of an unexpected error.
void Principale::avvia(const QString& nome, Task<void> operazione)
{
    if (esecutore_.in_corso())
        return;
    guasto_detto_ = false;
    esecutore_.avvia(custodita(contesto_, nome, std::move(operazione)));
}

// An operation started or ended: the status table may change, and what
// waits to be told is told once it is over.
void Principale::al_cambio_di_operazione()
{
    rivaluta();
    QMetaObject::invokeMethod(this, &Principale::avvisa_perdita, Qt::QueuedConnection);
}

// A loss that the operation did not tell.
void Principale::avvisa_perdita()
{
    if (perdita_ && !esecutore_.in_corso())
        dire(messaggio_porta_persa.arg(std::exchange(perdita_, {})->descrizione));
    di_quel_che_resta();
}

void Principale::dire(const QString& testo)
{
    da_dire_ << testo;
    di_quel_che_resta();
}

void Principale::di_quel_che_resta()
{
    if (!da_dire_.isEmpty() && !esecutore_.in_corso())
        avvia(nome_avvisi, avvisi_in_sospeso());
}

Task<void> Principale::avvisi_in_sospeso()
{
    while (!da_dire_.isEmpty())
        co_await messaggio(da_dire_.takeFirst(), Icona::Esclamazione);
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
        QMetaObject::invokeMethod(this, [this] { ui_->ProgressBar1->setValue(*std::exchange(progresso_, {})); },
                                  Qt::QueuedConnection);
}

void Principale::mostra_conferma(const QString& testo)
{
    if (!testo.isEmpty())
        giornata_.verificata();
    mostra_al_posto_della_barra(testo, QColor(0xC8, 0xF0, 0xC8));
}

void Principale::mostra_nota(const QString& testo)
{
    mostra_al_posto_della_barra(testo, QColor(0xFF, 0xF0, 0xB0));
}

// The confirmation and the note take the progress bar's place over the help
// line, in a label of the same size: nothing else moves. The label has no
// name of its own: assistive technology reads its text, and hears that it
// changed.
void Principale::mostra_al_posto_della_barra(const QString& testo, QColor sfondo)
{
    QPalette colori = ui_->lab_verifica->palette();
    colori.setColor(QPalette::Window, sfondo);
    ui_->lab_verifica->setPalette(colori);
    ui_->lab_verifica->setText(testo);
    ui_->lab_verifica->setVisible(!testo.isEmpty());
    QAccessibleEvent annuncio(ui_->lab_verifica, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&annuncio);
}

void Principale::beep()
{
    avvisi_.beep();
}

Task<void> Principale::messaggio(const QString& testo, Icona icona)
{
    rivaluta();
    giornata_.detto(testo);
    return avvisi_.messaggio(testo, icona);
}

} // namespace brenk
