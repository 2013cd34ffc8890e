// SPDX-License-Identifier: GPL-3.0-or-later
// A technician's day: the window tells the day's rules (archivio/giornata.h)
// what happens on the line and shows what they answer. The operations
// themselves know nothing of series or record.

#include "ui/principale.h"

#include "link/testi.h"
#include "ops/operazioni.h"
#include "ui_principale.h"

namespace brenk {

void Principale::collega_giornata()
{
    connect(ui_->Chk_serie, &QCheckBox::toggled, this, [this](bool accesa) { giornata_.imposta_serie(accesa); });
}

// Values as typed, with the band the read showed; the note; the end of the
// series; then the messages, once no operation runs.
void Principale::mostra_risposta(const Risposta& r)
{
    if (r.valori)
        metti_valori(*r.valori, false);
    if (!r.nota.isEmpty())
        mostra_nota(r.nota);
    if (r.serie_finita)
        ui_->Chk_serie->setChecked(false);
    for (const QString& m : r.messaggi)
        dire(m);
}

Unita Principale::unita() const
{
    return {nome_com.arg(porta_.numero()), porta_.dispositivo(), ui_->lab_tipo_brenk->text()};
}

Task<void> Principale::connetti_in_giornata()
{
    mostra_risposta(giornata_.collegamento(valori()));
    co_await connetti(contesto_);
    mostra_risposta(giornata_.letto(blocco_.letti.has_value()));
}

void Principale::disconetti_in_giornata()
{
    const Valori prima = valori();
    congeda(contesto_, 'E');
    mostra_risposta(giornata_.lasciato(prima));
}

Task<void> Principale::trasmetti_in_giornata()
{
    const Valori prima = valori();
    co_await trasmissione_di_prova(contesto_);
    mostra_risposta(giornata_.lasciato(prima));
}

Task<void> Principale::programma_in_giornata()
{
    if (const auto rifiuto = giornata_.programmazione(valori(), unita())) {
        co_await messaggio(*rifiuto, Icona::Esclamazione);
        co_return;
    }
    co_await registrata(ui_->cmd_programma->text(), programma(contesto_));
}

Task<void> Principale::fabbrica_in_giornata(const QPushButton* pulsante, Banda banda)
{
    giornata_.fabbrica(unita());
    co_await registrata(pulsante->text(), carica_fabbrica(contesto_, banda));
}

// The operation, then its end to the day, however it ends: an unexpected
// error is told by the guard, and the record still gets the line.
Task<void> Principale::registrata(QString nome, Task<void> operazione)
{
    co_await custodita(contesto_, std::move(nome), std::move(operazione));
    if (const auto problema = giornata_.conclusa(valori()))
        co_await messaggio(*problema, Icona::Esclamazione);
}

// The program ends under a programming or loading: its line goes to the
// record now, or the reason it could not to standard error.
void Principale::interrompi_giornata()
{
    if (const auto problema = giornata_.interrotta())
        qWarning("%s", qUtf8Printable(*problema));
}

} // namespace brenk
