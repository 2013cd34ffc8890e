// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/giornata.h"

#include "archivio/testi.h"
#include "params/telegrammi.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace brenk {

namespace {

const SchedaCampo& codice_brenk = scheda(Campo::CodiceBrenk);

} // namespace

Giornata::Giornata() = default;
Giornata::~Giornata() = default;

Risposta Giornata::imposta_serie(bool accesa)
{
    serie_ = accesa;
    return ripresa();
}

Risposta Giornata::imposta_registro(const std::optional<QString>& indirizzo, const QString& sito)
{
    registro_.reset();
    if (!indirizzo)
        return {};
    Risposta r;
    QString percorso = *indirizzo;
    QString nome_sito = sito;
    // An older CSV record goes on as the site it names, in a database beside it.
    if (percorso.endsWith(u'.' + estensione_registro, Qt::CaseInsensitive)) {
        r.messaggi << importa_csv(*indirizzo, percorso);
        nome_sito = QFileInfo(*indirizzo).completeBaseName();
        if (percorso.isEmpty())
            return r;
    }
    QString problema;
    registro_ = RegistroCodici::apri(percorso, nome_sito, problema);
    if (!registro_) {
        r.messaggi << problema;
        return r;
    }
    Risposta dopo = ripresa();
    dopo.messaggi = r.messaggi + dopo.messaggi;
    return dopo;
}

QString Giornata::nome_registro() const
{
    return registro_ ? registro_->nome() : QString();
}

QString Giornata::riepilogo() const
{
    if (!registro_)
        return {};
    const Riepilogo r = registro_->riepilogo();
    return r.ultimo_codice ? testo_riepilogo.arg(r.trasmettitori).arg(*r.ultimo_codice) : QString();
}

std::optional<QString> Giornata::assegna(int codice, const QString& a_chi)
{
    return registro_ ? registro_->assegna(codice, a_chi) : std::nullopt;
}

std::optional<QString> Giornata::esporta_csv(const QString& percorso)
{
    return registro_ ? registro_->esporta_csv(percorso) : std::nullopt;
}

std::variant<Foglio, QString> Giornata::foglio()
{
    return registro_ ? registro_->foglio() : std::variant<Foglio, QString>(Foglio{});
}

// A series with a record goes on from the highest code the site holds.
Risposta Giornata::ripresa() const
{
    if (!serie_ || !registro_)
        return {};
    const auto ultimo = registro_->riepilogo().ultimo_codice;
    if (!ultimo)
        return {};
    Risposta r;
    if (const auto libero = libero_dopo(*ultimo))
        r.codice = QString::number(*libero);
    else
        r.messaggi << messaggio_fine_serie.arg(*ultimo);
    r.serie_finita = !r.codice;
    return r;
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
    if (attendibile)
        letti_ = mostrati;
    if (!serie_ || !attendibile)
        return {};
    if (sito_.vuoti())
        sito_ = mostrati;
    return {sito_, {}, nota_serie};
}

std::optional<int> Giornata::del_sito() const
{
    if (!registro_ || !registro_->tiene(letti_))
        return std::nullopt;
    return letti_.testo(Campo::CodiceBrenk).toInt();
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
// not hold.
std::optional<int> Giornata::libero_dopo(int usato) const
{
    int prossimo = usato + 1;
    while (prossimo <= codice_brenk.valori.massimo
           && (usati_.contains(prossimo) || (registro_ && registro_->occupato(prossimo))))
        ++prossimo;
    if (prossimo > codice_brenk.valori.massimo)
        return std::nullopt;
    return prossimo;
}

// After the last code, the series ends.
void Giornata::prossimo_codice(int usato, Risposta& r) const
{
    if (const auto prossimo = libero_dopo(usato)) {
        r.valori->testo(Campo::CodiceBrenk) = QString::number(*prossimo);
        return;
    }
    r.valori->testo(Campo::CodiceBrenk).clear();
    r.serie_finita = true;
    r.messaggi << messaggio_fine_serie.arg(usato);
}

// Without a record, a code another unit has since this morning; the unit
// connected may have its own again, also connected anew: its read shows the
// code and the values written with it today. A record knows the units
// themselves.
std::optional<QString> Giornata::rifiuto(int codice) const
{
    const bool stesso = scritti_.contains(codice)
                        && RegistroCodici::stesso_trasmettitore(codice, letti_, scritti_.value(codice));
    if (!registro_ && codice_unita_ != codice && usati_.contains(codice) && !stesso)
        return messaggio_codice_usato.arg(codice);
    return std::nullopt;
}

// The record reserves the code before its first byte goes out, or names who
// holds it.
std::optional<QString> Giornata::programmazione(int codice, const Valori& inviati, const Unita& unita)
{
    if (auto r = rifiuto(codice))
        return r;
    Lavoro lavoro{unita, inviati, codice};
    if (registro_) {
        auto esito = registro_->riserva(codice, {unita.porta, unita.dispositivo, unita.tipo, letti_}, inviati,
                                        assegnato_a_);
        if (const auto* rifiutata = std::get_if<QString>(&esito))
            return *rifiutata;
        lavoro.prenotazione = std::get<Prenotazione>(esito);
    }
    lavoro_ = lavoro;
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
        letti_ = lavoro_->valori;
        scritti_.insert(*lavoro_->codice, lavoro_->valori);
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
    const QString esito = l.verificato        ? esito_verificato
                          : l.detti.isEmpty() ? esito_non_verificato
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

// A programming completes its reserved line (releasing the code when no
// byte of it went out); a factory loading that sent anything adds one. A
// line the record cannot take stays in memory until it can.
std::optional<QString> Giornata::annota_lavoro(const Lavoro& l, const QString& esito)
{
    if (!registro_ || (!l.prenotazione && l.inviate == 0))
        return std::nullopt;
    const Sospesa s{l.prenotazione,
                    {QDateTime::currentDateTime(), l.unita.porta, l.unita.dispositivo, l.unita.tipo, esito,
                     l.codice_scritto, l.valori}};
    riprova();
    const auto problema = scrivi(s);
    if (!problema)
        return std::nullopt;
    sospese_ << s;
    return *problema + u' ' + riga_in_sospeso;
}

std::optional<QString> Giornata::scrivi(const Sospesa& s)
{
    if (s.prenotazione)
        return registro_->concludi(*s.prenotazione, s.riga.esito, s.riga.codice_scritto);
    return registro_->annota(s.riga);
}

void Giornata::riprova()
{
    sospese_.removeIf([this](const Sospesa& s) { return !scrivi(s); });
}

std::optional<QString> Giornata::salva_sospese(const QString& cartella)
{
    if (registro_)
        riprova();
    if (sospese_.isEmpty())
        return std::nullopt;
    const QString percorso = QDir(cartella).filePath(file_sospese);
    QDir().mkpath(cartella);
    for (const Sospesa& s : std::exchange(sospese_, {})) {
        if (const auto problema = annota(percorso, s.riga))
            return problema;
    }
    return messaggio_sospese.arg(QDir::toNativeSeparators(percorso));
}

} // namespace brenk
