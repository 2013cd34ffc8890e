// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/esecutore.h"

#include "ops/operazioni.h"
#include "ops/testi.h"

#include <QtGlobal>

namespace brenk {

namespace {

QString descrizione(const std::exception_ptr& errore)
{
    try {
        std::rethrow_exception(errore);
    } catch (const ErrorePorta& e) {
        return e.testo();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return eccezione_sconosciuta;
    }
}

} // namespace

void Esecutore::riferisci(const std::exception_ptr& errore)
{
    qCritical("%s", qUtf8Printable(riga_errore_sfuggito.arg(descrizione(errore))));
}

Task<void> custodita(Contesto& c, QString nome, Task<void> operazione)
{
    std::exception_ptr errore;
    try {
        co_await std::move(operazione);
    } catch (...) {
        errore = std::current_exception();
    }
    if (!errore)
        co_return;
    qCritical("%s", qUtf8Printable(riga_errore_imprevisto.arg(nome, descrizione(errore))));
    c.fleg = 0;
    c.finestra.mostra_progresso(false);
    c.finestra.mostra_nota({});
    co_await c.messaggio(messaggio_errore_imprevisto.arg(nome), Icona::Esclamazione);
}

} // namespace brenk
