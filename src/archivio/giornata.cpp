// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/giornata.h"

#include "archivio/testi.h"
#include "params/telegrammi.h"

#include <QDateTime>
#include <QDir>

#include <utility>

namespace brenk {

namespace {

const SchedaCampo& codice_brenk = scheda(Campo::CodiceBrenk);

} // namespace

std::optional<QString> Giornata::imposta_registro(const std::optional<QString>& percorso)
{
    QSet<int> codici;
    if (percorso) {
        if (const auto problema = codici_scritti(*percorso, codici))
            return problema;
    }
    registro_ = percorso;
    return std::nullopt;
}

Risposta Giornata::collegamento(const Valori& mostrati)
{
    Risposta r = lasciato(mostrati);
    sito_ = r.valori.value_or(mostrati);
    return r;
}

// In a series the window keeps the site's values over the unit's own.
Risposta Giornata::letto(bool attendibile, const Valori& mostrati)
{
    if (!serie_ || !attendibile)
        return {};
    if (sito_.vuoti())
        sito_ = mostrati;
    return {sito_, nota_serie};
}

// The unit's code, if it may have reached it, is used from now on. In a
// series the window shows its values again, with the next free code when
// that one is used; without one it stays empty, as a disconnect leaves it.
Risposta Giornata::lasciato(const Valori& mostrati)
{
    const auto codice = std::exchange(codice_unita_, std::nullopt);
    if (codice)
        usati_.insert(*codice);
    if (!serie_)
        return {};
    Risposta r{mostrati};
    if (codice)
        prossimo_codice(*codice, r);
    return r;
}

// The first code after `usato` that no unit has today and the record does
// not hold; after the last, the series ends.
void Giornata::prossimo_codice(int usato, Risposta& r) const
{
    QSet<int> occupati = usati_;
    if (registro_) {
        if (const auto problema = codici_scritti(*registro_, occupati))
            r.messaggi << *problema;
    }
    int prossimo = usato + 1;
    while (prossimo <= codice_brenk.valori.massimo && occupati.contains(prossimo))
        ++prossimo;
    if (prossimo <= codice_brenk.valori.massimo) {
        r.valori->testo(Campo::CodiceBrenk) = QString::number(prossimo);
        return;
    }
    r.valori->testo(Campo::CodiceBrenk).clear();
    r.serie_finita = true;
    r.messaggi << messaggio_fine_serie.arg(usato);
}

// A code another unit has, by the record or since this morning; the unit
// connected may have its own again.
std::optional<QString> Giornata::rifiuto(int codice) const
{
    if (codice_unita_ == codice)
        return std::nullopt;
    if (registro_) {
        QSet<int> codici;
        if (const auto problema = codici_scritti(*registro_, codici))
            return problema;
        if (codici.contains(codice))
            return messaggio_codice_registrato.arg(codice).arg(QDir::toNativeSeparators(*registro_));
    }
    if (usati_.contains(codice))
        return messaggio_codice_usato.arg(codice);
    return std::nullopt;
}

std::optional<QString> Giornata::programmazione(int codice, const Valori& inviati, const Unita& unita)
{
    if (auto r = rifiuto(codice))
        return r;
    lavoro_ = Lavoro{unita, inviati, codice};
    return std::nullopt;
}

void Giornata::fabbrica(const Unita& unita, const Valori& inviati)
{
    lavoro_ = Lavoro{unita, inviati, std::nullopt};
}

// The unit connected now holds `codice`; a code it held before stays used.
void Giornata::raggiunta(int codice)
{
    if (codice_unita_ && *codice_unita_ != codice)
        usati_.insert(*codice_unita_);
    codice_unita_ = codice;
}

// A code byte on its way may be stored whether or not its "K" comes back.
void Giornata::inviata(int indirizzo)
{
    if (!lavoro_)
        return;
    ++lavoro_->inviate;
    lavoro_->in_volo = true;
    if (lavoro_->codice && porta_il_codice(indirizzo)) {
        lavoro_->codice_scritto = true;
        raggiunta(*lavoro_->codice);
    }
}

void Giornata::confermata(int /*indirizzo*/)
{
    if (!lavoro_)
        return;
    ++lavoro_->confermate;
    lavoro_->in_volo = false;
}

void Giornata::detto(const QString& messaggio)
{
    if (lavoro_)
        lavoro_->detti << messaggio;
}

void Giornata::verificata()
{
    if (lavoro_)
        lavoro_->verificato = true;
}

std::optional<QString> Giornata::conclusa()
{
    if (!lavoro_)
        return std::nullopt;
    const Lavoro l = *std::exchange(lavoro_, std::nullopt);
    const QString esito = l.verificato ? esito_verificato
        : l.detti.isEmpty()            ? esito_non_verificato
                                       : l.detti.join(u' ');
    return annota_lavoro(l, esito);
}

std::optional<QString> Giornata::interrotta(bool confermata_in_volo)
{
    if (!lavoro_)
        return std::nullopt;
    Lavoro l = *std::exchange(lavoro_, std::nullopt);
    if (l.in_volo && confermata_in_volo)
        ++l.confermate;
    return annota_lavoro(l, esito_interrotto.arg(l.confermate));
}

std::optional<QString> Giornata::annota_lavoro(const Lavoro& l, const QString& esito) const
{
    if (!registro_ || l.inviate == 0)
        return std::nullopt;
    return annota(*registro_, {QDateTime::currentDateTime(), l.unita.porta, l.unita.dispositivo, l.unita.tipo,
                               esito, l.codice_scritto, l.valori});
}

} // namespace brenk
