// SPDX-License-Identifier: GPL-3.0-or-later
// A technician's day: the series ("Serie"), in which "Connetti" and
// "Disconetti" keep the window's values and each verified programming hands
// out the next code, and the record ("Registro") of every programming and
// factory loading. The operations themselves know nothing of either.

#include "ui/principale.h"

#include "archivio/registro.h"
#include "ops/operazioni.h"
#include "params/numero.h"
#include "ui_principale.h"

namespace brenk {

namespace {

constexpr int ultimo_codice = 1023;

} // namespace

// The next unit is read as always (its type, band and hidden bytes reach the
// block); in a series the window then shows the series' values again, with
// the next code if the last unit was verified and not disconnected.
Task<void> Principale::connetti_in_giornata()
{
    if (std::exchange(serie_da_avanzare_, false))
        co_await avanza_serie();
    const Valori prima = valori();
    co_await connetti(contesto_);
    if (ui_->Chk_serie->isChecked() && blocco_.letti) {
        metti_valori(prima, false);
        mostra_nota(nota_serie);
    }
}

// A verified unit keeps its code, and its confirmation, until it goes.
void Principale::disconetti_in_giornata()
{
    const Valori prima = valori();
    congeda(contesto_, 'E');
    if (ui_->Chk_serie->isChecked())
        metti_valori(prima, false);
    if (serie_da_avanzare_ && !occupato()) {
        serie_da_avanzare_ = false;
        avvia(avanza_serie());
    }
}

Task<void> Principale::programma_in_giornata()
{
    const bool libero = co_await codice_libero();
    if (!libero)
        co_return;
    co_await registrata(programma(contesto_));
    serie_da_avanzare_ = verificato_ && ui_->Chk_serie->isChecked();
}

Task<void> Principale::fabbrica_in_giornata(Banda banda)
{
    co_await registrata(carica_fabbrica(contesto_, banda));
}

// The operation, then its line in the record once its outcome is known: the
// confirmation, or what the operator was told.
Task<void> Principale::registrata(Task<void> operazione)
{
    messaggi_visti_.clear();
    verificato_ = false;
    co_await std::move(operazione);
    if (!ui_->Chk_registro->isChecked())
        co_return;
    const QString esito = verificato_ ? esito_verificato
        : messaggi_visti_.isEmpty()   ? esito_non_verificato
                                      : messaggi_visti_.join(u' ');
    const RigaRegistro riga{QDateTime::currentDateTime(), nome_com.arg(porta_.numero()),
                            porta_.dispositivo(), ui_->lab_tipo_brenk->text(), esito, valori()};
    if (const auto problema = annota(registro_, riga))
        co_await messaggio(*problema, Icona::Esclamazione);
}

// In a series with a record, no two verified units get one code.
Task<bool> Principale::codice_libero()
{
    if (!ui_->Chk_serie->isChecked() || !ui_->Chk_registro->isChecked())
        co_return true;
    QSet<int> codici;
    const auto problema = codici_verificati(registro_, codici);
    const int codice = static_cast<int>(valore_numerico(testo(Campo::CodiceBrenk)));
    const QString rifiuto = problema ? *problema
        : codici.contains(codice)    ? messaggio_codice_registrato.arg(codice)
                                     : QString();
    if (!rifiuto.isEmpty())
        co_await messaggio(rifiuto, Icona::Esclamazione);
    co_return rifiuto.isEmpty();
}

// The code the next unit gets; after the last one the series stops.
Task<void> Principale::avanza_serie()
{
    const int codice = static_cast<int>(valore_numerico(testo(Campo::CodiceBrenk)));
    if (codice < ultimo_codice) {
        imposta_testo(Campo::CodiceBrenk, QString::number(codice + 1));
        co_return;
    }
    ui_->Chk_serie->setChecked(false);
    co_await messaggio(messaggio_fine_serie.arg(codice), Icona::Esclamazione);
}

} // namespace brenk
