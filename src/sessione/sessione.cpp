// SPDX-License-Identifier: GPL-3.0-or-later
#include "sessione/sessione.h"

#include "link/dispositivo_seriale.h"
#include "link/testi.h"
#include "ops/lettura.h"
#include "ops/operazioni.h"
#include "params/telegrammi.h"
#include "sessione/testi.h"
#include "sessione/valori_mostrati.h"

#include <QStandardPaths>

namespace brenk {

Sessione::Sessione(Finestra& finestra, QObject* parent)
    : Sessione(finestra, std::make_unique<DispositivoSeriale>(), orologio_reale(), parent)
{
}

Sessione::Sessione(Finestra& finestra, std::unique_ptr<Dispositivo> dispositivo, Orologio& orologio, QObject* parent)
    : QObject(parent), finestra_(finestra), porta_(std::move(dispositivo), orologio)
{
    connect(&porta_, &PortaSeriale::persa, this, &Sessione::porta_persa);
}

// ---- The buttons ----

// Every task goes through the guard, which tells the operator of an
// unexpected error.
void Sessione::avvia(const QString& nome, Task<void> operazione)
{
    if (esecutore_.in_corso())
        return;
    guasto_detto_ = false;
    esecutore_.avvia(custodita(contesto_, nome, std::move(operazione)));
}

void Sessione::connetti(const QString& nome)
{
    avvia(nome, connetti_in_giornata(nome));
}

void Sessione::programma(const QString& nome)
{
    avvia(nome, programma_in_giornata(nome));
}

void Sessione::fabbrica(const QString& nome, Banda banda)
{
    avvia(nome, fabbrica_in_giornata(nome, banda));
}

void Sessione::trasmetti(const QString& nome)
{
    avvia(nome, trasmetti_in_giornata());
}

void Sessione::disconetti()
{
    const Valori prima = valori();
    congeda(contesto_, 'E');
    rispondi(giornata_.lasciato(prima));
}

void Sessione::esci()
{
    if (std::exchange(in_uscita_, true))
        return;
    porta_.al_termine_dello_scambio([this] {
        interrompi_giornata(porta_.buffer() == "K");
        esecutore_.abbandona();
        congeda(contesto_, 'E');
        emit uscita();
    });
}

void Sessione::congedo_immediato()
{
    if (!porta_.aperta())
        return;
    interrompi_giornata(false);
    esecutore_.abbandona();
    congeda(contesto_, 'E');
}

void Sessione::scegli_porta(int numero)
{
    porta_.chiudi_porta();
    if (numero)
        porta_.imposta_numero(numero);
}

void Sessione::mostra_file(const Valori& v, const QString& sito)
{
    sito_ = sito;
    metti_valori(finestra_, v, !blocco_.letti);
    file_ = valori();
}

void Sessione::file_salvato(const QString& sito)
{
    sito_ = sito;
    file_ = valori();
}

bool Sessione::mostra_il_file() const
{
    if (!file_)
        return false;
    std::array confronto{valori(), *file_};
    for (Valori& v : confronto) {
        v.testo(Campo::Text1).clear();
        if (giornata_.serie())
            v.testo(Campo::CodiceBrenk).clear();
    }
    return confronto[0].campi == confronto[1].campi && confronto[0].coppie == confronto[1].coppie;
}

void Sessione::imposta_serie(bool accesa)
{
    rispondi(giornata_.imposta_serie(accesa));
}

void Sessione::correggi_assegnato(const QString& a_chi)
{
    const int codice = valori().testo(Campo::CodiceBrenk).toInt();
    if (!giornata_.registro() || !giornata_.occupato(codice))
        return;
    if (const auto problema = giornata_.assegna(codice, a_chi))
        dire(*problema);
    else
        finestra_.mostra_nota(nota_assegnato.arg(codice));
}

bool Sessione::usa_registro(const std::optional<QString>& indirizzo)
{
    rispondi(giornata_.imposta_registro(indirizzo, sito_));
    emit registro_cambiato();
    return giornata_.registro();
}

Valori Sessione::valori() const
{
    return valori_di(finestra_);
}

QString Sessione::tipo() const
{
    if (!blocco_.letti)
        return {};
    return tipo_letto(*blocco_.letti);
}

// ---- The day ----

Unita Sessione::unita() const
{
    return {nome_com.arg(porta_.numero()), porta_.dispositivo(), tipo()};
}

// Values as typed, with the band the read showed; the note; the end of the
// series; then the messages, once no operation runs.
void Sessione::rispondi(const Risposta& r)
{
    if (r.valori)
        metti_valori(finestra_, *r.valori, false);
    if (r.codice)
        finestra_.imposta_testo(Campo::CodiceBrenk, *r.codice);
    if (!r.nota.isEmpty())
        finestra_.mostra_nota(r.nota);
    if (r.serie_finita)
        emit serie_finita();
    for (const QString& m : r.messaggi)
        dire(m);
}

// Hands-free only on the site's values: a series begun on an empty window
// takes them from the first read, for the operator to check.
Task<void> Sessione::connetti_in_giornata(QString nome)
{
    const bool con_valori = !valori().vuoti();
    rispondi(giornata_.collegamento(valori()));
    co_await brenk::connetti(contesto_);
    rispondi(giornata_.letto(blocco_.letti.has_value(), valori()));
    if (!automatica() || !con_valori || !blocco_.letti)
        co_return;
    auto nota = co_await turno(nome);
    co_await in_automatico(nome, std::move(nota));
}

Task<void> Sessione::programma_in_giornata(QString nome)
{
    co_await registrata(nome, brenk::programma(contesto_));
    if (automatica())
        co_await in_automatico(nome, esito_verificato());
}

// ---- The hands-free series ----

// Unit after unit, while each ends with what to tell of it and "Automatica"
// stays ticked: left, the next one read, its turn. A failure leaves the
// connection as it is, for the operator.
Task<void> Sessione::in_automatico(QString nome, std::optional<QString> nota)
{
    while (nota && automatica()) {
        const bool letta = co_await prossima(*nota);
        nota.reset();
        if (letta)
            nota = co_await turno(nome);
    }
    if (porta_.aperta() && !nota)
        finestra_.mostra_nota(nota_automatica_ferma);
}

// The unit read is programmed, unless the site holds it already: what to
// tell of it once it is left; none when it failed.
Task<std::optional<QString>> Sessione::turno(QString nome)
{
    if (const auto codice = giornata_.del_sito())
        co_return nota_gia_del_sito.arg(*codice);
    co_await registrata(nome, brenk::programma(contesto_));
    co_return esito_verificato();
}

std::optional<QString> Sessione::esito_verificato() const
{
    if (!verificata_ || !giornata_.codice_unita())
        return std::nullopt;
    return nota_verificato_prossimo.arg(*giornata_.codice_unita());
}

// The unit is left as by "Disconetti", the window gets the next code, and
// `nota` stays while the next unit is awaited and read. False when the
// series has no code left, or the read could not be trusted.
Task<bool> Sessione::prossima(QString nota)
{
    const Valori prima = valori();
    congeda(contesto_, 'E');
    const Risposta r = giornata_.collegamento(prima);
    rispondi(r);
    if (r.serie_finita)
        co_return false;
    finestra_.mostra_nota(nota);
    co_await connetti_la_prossima(contesto_);
    rispondi(giornata_.letto(blocco_.letti.has_value(), valori()));
    co_return blocco_.letti.has_value();
}

Task<void> Sessione::trasmetti_in_giornata()
{
    const Valori prima = valori();
    co_await trasmissione_di_prova(contesto_);
    rispondi(giornata_.lasciato(prima));
}

Task<void> Sessione::fabbrica_in_giornata(QString nome, Banda banda)
{
    const auto inviati = std::span(blocco_fabbrica(banda)).first(std::tuple_size_v<Letti>);
    giornata_.fabbrica(unita(), valori_inviati(Letti{}, inviati, {}));
    co_await registrata(std::move(nome), carica_fabbrica(contesto_, banda));
}

// The code the bytes carry and what they hold, as a read will show them.
std::optional<QString> Sessione::programmazione_al_via(std::span<const std::uint8_t> scritture)
{
    const Valori inviati = valori_inviati(*blocco_.letti, scritture, valori());
    return giornata_.programmazione(codice_dei_telegrammi(scritture), inviati, unita());
}

// The operation, then its end to the day, however it ends: an unexpected
// error is told by the guard, and the record still gets the line.
Task<void> Sessione::registrata(QString nome, Task<void> operazione)
{
    verificata_ = false;
    co_await custodita(contesto_, std::move(nome), std::move(operazione));
    const auto problema = giornata_.conclusa();
    emit registro_cambiato();
    if (problema)
        co_await finestra_.messaggio(*problema, Icona::Esclamazione);
}

// The program ends under a programming or loading: its line goes to the
// record now, with the lines it could not take before, or to a file beside
// the settings; what went wrong to standard error.
void Sessione::interrompi_giornata(bool confermata_in_volo)
{
    const auto cartella = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    for (const auto& problema : {giornata_.interrotta(confermata_in_volo), giornata_.salva_sospese(cartella)})
        if (problema)
            qWarning("%s", qUtf8Printable(*problema));
}

// ---- The port and the messages ----

// The device vanished: the connection is over, though the fields keep their
// values, and nothing is confirmed any more. The operator hears of it once:
// from the running operation if it tells of the port's failure, from here
// otherwise.
void Sessione::porta_persa(const ErrorePorta& errore)
{
    finestra_.imposta_stato(stato_non_connesso);
    finestra_.mostra_conferma({});
    if (!guasto_detto_)
        perdita_ = errore;
    avvisa_perdita();
}

// Told by the operation now running or the last one: the port the failure
// came from can only come back through the next operation.
void Sessione::guasto_porta_detto()
{
    guasto_detto_ = true;
    perdita_.reset();
}

// What waits to be told is told once the operation is over.
void Sessione::al_cambio_di_operazione()
{
    emit cambiata();
    QMetaObject::invokeMethod(this, &Sessione::avvisa_perdita, Qt::QueuedConnection);
}

// A loss that the operation did not tell.
void Sessione::avvisa_perdita()
{
    if (perdita_ && !esecutore_.in_corso())
        dire(messaggio_porta_persa.arg(std::exchange(perdita_, {})->descrizione));
    di_quel_che_resta();
}

void Sessione::dire(const QString& testo)
{
    da_dire_ << testo;
    di_quel_che_resta();
}

void Sessione::di_quel_che_resta()
{
    if (!da_dire_.isEmpty() && !esecutore_.in_corso())
        avvia(nome_avvisi, avvisi_in_sospeso());
}

Task<void> Sessione::avvisi_in_sospeso()
{
    while (!da_dire_.isEmpty())
        co_await finestra_.messaggio(da_dire_.takeFirst(), Icona::Esclamazione);
}

} // namespace brenk
