// SPDX-License-Identifier: GPL-3.0-or-later
// The device operations against a transmitter whose memory, replies and
// faults come from the input, through the real port logic on an in-process
// line and a virtual clock: every wait, the 4000 ms time-out and the quiet
// time run in virtual milliseconds, so thousands of exchanges take no time.
//
// The input is read, and each input runs on its bench, as
// banco_dispositivo.h says; it also holds the checks of the messages.
//
// What must hold, besides no crash and no sanitizer report:
// - the transmitter receives an optional "L", then "R",a (a <= 62) and
//   "W",a,v (a <= 63) commands, then at most one final "E" or "Q"; nothing
//   else, and only a dropped line may cut the last command short;
// - the reads and writes run 0, 1, 2, ... in order: the connect's reads (at
//   most three of the block), then the writes, only after a whole read and
//   only when a read could be trusted, then the read-back (at most three
//   reads) only after the last write; writes that stop before the last
//   address end with a message, no read-back;
// - a programming writes its fixed values and a checksum that matches the
//   bytes it wrote; a factory loading writes the factory block;
// - on the wire, a write leaves only after a "K" that reached the PC after
//   the previous write had left;
// - nothing ends silently with wrong values: a connect without a message
//   shows the transmitter's memory as it is, and a programming or a factory
//   loading ends either with a message or verified, and verified means the
//   transmitter holds every value written (up to address 62);
// - a programming writes only what the window shows: each option pair as
//   its selected button, the plain whole numbers as typed;
// - fleg is 0 after a programming; each operation shows only the messages
//   it may show; the error path only after a dropped line or a disconnect;
// - after "Disconetti" or "TX": " Non Connesso", the port closed, the
//   fields empty.
// To study one input: BRENK_FUZZ_RACCONTA=1 prints how it ended (time,
// messages, confirmation); BRENK_FUZZ_REGISTRO=1 adds every byte at the
// PC's end, with its time, to a failure's report.
//
// A forged reply (one byte in place of the one due, or a withheld reply
// whose place another byte fills) is the one fault no exchange can tell;
// the value checks leave out inputs that have one. So is a path that loses
// bit 7 of every reply, as the telegrams' checks hold without it: a read
// through it must show the note that no byte came above 127.

#include "banco_dispositivo.h"
#include "params/fabbrica.h"
#include "params/numero.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>
#include <utility>

namespace {

void controlla_programmazione(const Banco& b, const std::array<int, 64>& v)
{
    static constexpr std::pair<int, int> fissi[] = {{ncicli, 2}, {Byt12, 3}, {Zelmbrenk, 1}, {Tipo_brenk, 78}};
    for (const auto& [indirizzo, valore] : fissi)
        richiedi(v[indirizzo] < 0 || v[indirizzo] == valore, b, "fixed value not written");
    if (std::any_of(v.begin() + Zelmbrenk + 1, v.begin() + Tipo_brenk, [](int x) { return x > 0; }))
        fallisce(b, "addresses 37 to 59 not zeroed");
    if (v[totck] >= 0 && v[totck] != complemento(std::accumulate(v.begin(), v.begin() + Zelmbrenk + 1, 0LL)))
        fallisce(b, "checksum does not match the bytes written");
}

// Whether every reply up to number `ultima` (counting "R" and "W" from 0)
// is the transmitter's own: no byte forged in place of the one due (a
// replaced reply, a read reply hit on the line), no reply withheld while
// something else speaks on the line (`altre_voci`) and fills its place.
bool risposte_sincere(const Scenario& s, int ultima)
{
    const auto& o = s.opzioni;
    if ((o.risposta_colpita && *o.risposta_colpita <= ultima) || o.bit7_perso)
        return false;
    const bool altre_voci = o.annunci_da_collegato || o.rumore_ogni_ms || !o.conferme_ritardate.isEmpty()
                            || !o.rimbalzi.isEmpty() || o.annuncio_dopo_silenzio_ms || o.extra_dopo
                            || o.spazzatura.contains('K') || o.reset_dopo_letture || o.reset_dopo_conferme
                            || o.l_non_sentite > 0 || o.eco
                            || std::any_of(o.risposte_sostituite.begin(), o.risposte_sostituite.end(),
                                           [](const QByteArray& r) { return r.size() > 1; });
    const auto& r = o.risposte_sostituite;
    return std::none_of(r.keyBegin(), r.keyEnd(), [&](int n) {
        return n <= ultima && (r.value(n).size() == 1 || (r.value(n).isEmpty() && altre_voci));
    });
}

// The PC's bytes parsed into commands as they left, each write against the
// "K"s that arrived since the previous one left.
void controlla_conferme(const Banco& b)
{
    int resto = 0;               // bytes still due of the command being sent
    bool dopo_scrittura = false; // the last command sent was a write
    bool confermata = false;     // a "K" has arrived since it left whole
    for (const auto& p : b.linea.registro()) {
        if (!p.dal_pc) {
            confermata = confermata || p.byte == 'K';
        } else if (resto > 0) {
            if (--resto == 0)
                confermata = false;
        } else {
            richiedi(p.byte != 'W' || !dopo_scrittura || confermata, b, "a write left before its acknowledgement");
            dopo_scrittura = p.byte == 'W';
            resto = p.byte == 'W' ? 2 : p.byte == 'R' ? 1 : 0;
            confermata = false;
        }
    }
}

// The window shows the transmitter's memory as it is.
void controlla_valori(const Banco& b, const Memoria& m, const char* cosa)
{
    for (int a = 0; a <= Zelmbrenk; ++a)
        richiedi(b.blocco[a] == (a == ByteT3 ? m[ByteT3] / 2.0 : m[static_cast<std::size_t>(a)]), b, cosa);
    richiedi(b.blocco[Tipo_brenk] == m[Tipo_brenk] && b.blocco[brenkVU] == m[brenkVU], b, cosa);
}

void controlla_scritti(const Banco& b, const QMap<Campo, QString>& chiesti, const std::array<int, 64>& v)
{
    static constexpr std::pair<int, Opzione> coppie[] = {{TONIHL, Opzione::Opt_toni_bassi},
                                                         {Ning, Opzione::Opt_bat_si},
                                                         {TxSM, Opzione::Opt_tx_mult}};
    for (const auto& [indirizzo, uno] : coppie)
        if (v[indirizzo] >= 0)
            richiedi(b.finestra.selezionata(static_cast<Opzione>(static_cast<int>(uno) - 1)) != (v[indirizzo] == 1)
                         && b.finestra.selezionata(uno) == (v[indirizzo] == 1),
                     b, "an option written that the window does not show");
    static constexpr std::pair<int, Campo> campi[] = {{tempopre_rap, Campo::txb_tmp_rap},
                                                      {tempopre_amp, Campo::txb_amp},
                                                      {ntxtot, Campo::Cmb_n_tx_tot},
                                                      {Filtropre, Campo::Cmb_tmr_p_all},
                                                      {Codicerep, Campo::cmb_Zelmrep}};
    for (const auto& [indirizzo, campo] : campi) {
        bool intero = false;
        const int n = chiesti.value(campo).toInt(&intero);
        if (v[indirizzo] >= 0 && intero && n >= 0 && n <= 255)
            richiedi(v[indirizzo] == n, b, "a value written that the window does not show");
    }
}

void connetti(Banco& b, const Scenario& s)
{
    const Memoria prima = b.tx().memoria();
    esegui(b, brenk::connetti(b.contesto));
    const QStringList m = messaggi_da(b, 0);
    controlla_messaggi_connessione(b, m);
    if (m.size() < 2 && !b.disconnesso)
        richiedi(b.finestra.stato == atteso::connesso && b.fleg == 0 && b.porta.aperta(), b, "connect did not connect");
    if (m.isEmpty() && !b.disconnesso && risposte_sincere(s, risposte_di_lettura - 1))
        controlla_valori(b, prima, "a read without a message shows values the transmitter does not hold");
    if (s.opzioni.bit7_perso && b.blocco.letti)
        richiedi("nota: " + b.finestra.nota == atteso::nota_ottavo_bit, b, "a read without bit 7 shown with no note");
}

void prepara_campi(Banco& b, const Scenario& s)
{
    static constexpr Campo campi[] = {Campo::CodiceBrenk, Campo::FqTx,          Campo::txb_tmp_rap,
                                      Campo::txb_amp,     Campo::Cmb_n_ing_all, Campo::Cmb_n_tx_tot,
                                      Campo::cmb_Zelmrep, Campo::Cmb_tmr_p_all};
    for (qsizetype i = 0; i < s.testi.size() && i < qsizetype(std::size(campi)); ++i)
        if (!s.testi[i].isEmpty())
            b.finestra.imposta_testo(campi[i], s.testi[i]);
    if (s.toni_bassi)
        b.finestra.seleziona(Opzione::Opt_toni_bassi);
}

// A writing ends with a message or verified; verified, the transmitter
// holds what it received, and the window shows it. The read-back's checksum
// message may come with a verified writing: a transmitter read as the old
// type that is of the new one keeps its old checksum.
void controlla_verdetto(const Banco& b, const Scenario& s, qsizetype primo_messaggio)
{
    QStringList m = messaggi_da(b, primo_messaggio);
    m.removeAll(atteso::fuori_range);
    richiedi(!b.finestra.conferma.isEmpty() || !m.isEmpty(), b, "a writing ended neither verified nor with a message");
    if (b.finestra.conferma.isEmpty())
        return;
    m.removeAll(atteso::errore_lettura);
    richiedi(m.isEmpty(), b, "verified, and a message too");
    for (const auto& c : comandi_in(b.ricevuti(), b))
        if (c.lettera == 'W' && c.indirizzo <= ultima_lettura)
            richiedi(b.tx().memoria()[static_cast<std::size_t>(c.indirizzo)] == c.valore, b,
                     "verified, yet the transmitter holds another value");
    if (risposte_sincere(s, std::numeric_limits<int>::max()))
        controlla_valori(b, b.tx().memoria(), "verified, yet the window shows another value");
}

// A programming changes no value the operator sees but those the operator
// changed: one that fails leaves the window as the operator left it, one
// verified shows each value as asked (a typed frequency on its grid).
void controlla_campi_dopo(const Banco& b, const Scenario& s, const QMap<Campo, QString>& chiesti)
{
    if (b.disconnesso)
        return;
    richiedi(!b.finestra.conferma.isEmpty() || b.finestra.testi == chiesti, b,
             "a programming not verified changed the fields");
    if (b.finestra.conferma.isEmpty() || !risposte_sincere(s, std::numeric_limits<int>::max()))
        return;
    for (auto c = chiesti.cbegin(); c != chiesti.cend(); ++c)
        if (c.key() != Campo::FqTx && c.key() != Campo::Cmb_N_ing_bat)
            richiedi(valore_numerico(b.finestra.testi.value(c.key())) == valore_numerico(*c), b,
                     "verified, yet a field shows another value than asked");
}

void operazione(Banco& b, const Scenario& s, QMap<Campo, QString>& chiesti)
{
    const qsizetype primo = b.finestra.messaggi.size();
    switch (s.operazione) {
    case Operazione::Nessuna:
        break;
    case Operazione::Programma: {
        // Without a trusted read nothing may be written.
        const bool letto = b.blocco.letti.has_value();
        prepara_campi(b, s);
        chiesti = b.finestra.testi;
        esegui(b, programma(b.contesto));
        if (!letto)
            richiedi(messaggi_da(b, primo) == QStringList{atteso::senza_lettura}, b,
                     "programming without a trusted read");
        controlla_campi_dopo(b, s, chiesti);
        richiedi(b.fleg == 0 && !b.finestra.progresso_visibile, b, "programming left fleg or the bar");
        controlla_messaggi_programmazione(b, messaggi_da(b, primo));
        controlla_verdetto(b, s, primo);
        break;
    }
    case Operazione::Uhf:
    case Operazione::Vhf:
        esegui(b, carica_fabbrica(b.contesto, s.operazione == Operazione::Uhf ? Banda::UHF : Banda::VHF));
        controlla_messaggi_fabbrica(b, messaggi_da(b, primo));
        controlla_verdetto(b, s, primo);
        break;
    case Operazione::Tx:
    case Operazione::Disconnetti:
        congeda(b.contesto, s.operazione == Operazione::Tx ? 'Q' : 'E');
        richiedi(!b.porta.aperta() && b.finestra.stato == atteso::non_connesso, b, "still connected");
        richiedi(std::all_of(b.finestra.testi.cbegin(), b.finestra.testi.cend(), std::mem_fn(&QString::isEmpty)), b,
                 "fields not emptied");
        richiedi(messaggi_da(b, primo).isEmpty(), b, "message on a disconnect");
        break;
    }
}

// The shape of everything on the line: read, writes, read-back.
void controlla_linea(const Banco& b, const Scenario& s, bool nuovo, qsizetype primo_messaggio,
                     const QMap<Campo, QString>& chiesti)
{
    const auto comandi = comandi_in(b.ricevuti(), b);
    qsizetype i = !comandi.isEmpty() && comandi.first().lettera == 'L' ? 1 : 0;
    const qsizetype letture = serie(b, comandi, i, 'R');
    const qsizetype inizio_scritture = i;
    const qsizetype scritture = serie(b, comandi, i, 'W');
    std::array<int, 64> valori;
    valori.fill(-1);
    for (qsizetype a = 0; a < scritture; ++a)
        valori[static_cast<std::size_t>(a)] = comandi[inizio_scritture + a].valore;
    const qsizetype riletture = serie(b, comandi, i, 'R');
    if (i < comandi.size() && (comandi[i].lettera == 'E' || comandi[i].lettera == 'Q'))
        ++i;
    richiedi(i == comandi.size(), b, "commands out of their order");
    richiedi(scritture == 0 || (letture > 0 && letture % (ultima_lettura + 1) == 0), b,
             "writes after an incomplete read");

    const bool fabbrica = s.operazione == Operazione::Uhf || s.operazione == Operazione::Vhf;
    const qsizetype tutte = fabbrica ? dimensione_blocco : nuovo ? 62 : 34;
    const QStringList m = messaggi_da(b, primo_messaggio);
    const bool time_out = std::any_of(m.begin(), m.end(), [&b](const QString& t) { return scrittura_fallita(b, t); });
    richiedi(scritture <= tutte, b, "more writes than the block has");
    richiedi(riletture == 0 || (scritture == tutte && !time_out), b, "read-back after failed writes");
    richiedi(scritture == 0 || scritture == tutte || time_out, b, "writes stopped without the time-out message");
    if (s.operazione == Operazione::Programma) {
        controlla_programmazione(b, valori);
        controlla_scritti(b, chiesti, valori);
    } else if (fabbrica) {
        const auto attesi = blocco_fabbrica(s.operazione == Operazione::Uhf ? Banda::UHF : Banda::VHF);
        for (std::size_t a = 0; a < valori.size(); ++a)
            richiedi(valori[a] < 0 || valori[a] == attesi[a], b, "factory block not written as it is");
    } else {
        richiedi(scritture == 0, b, "writes without a writing operation");
    }
}

void disconnetti_dopo(Banco& b, int byte_ricevuti)
{
    auto premi = [&b] {
        if (!std::exchange(b.disconnesso, true))
            congeda(b.contesto, 'E');
    };
    if (byte_ricevuti == 0)
        b.orologio.pianifica(0, premi);
    else
        QObject::connect(&b.tx(), &Trasmettitore::ricevuto, &b.linea, [&b, byte_ricevuti, premi] {
            if (b.tx().registro_ricevuti().size() == byte_ricevuti)
                b.orologio.pianifica(b.orologio.adesso_ms(), premi);
        });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static int argc = 1;
    static char nome[] = "fuzz_dispositivo";
    static char* argv[] = {nome, nullptr};
    // Kept to the end: Qt's own statics may go before it otherwise.
    static const auto* applicazione = new QCoreApplication(argc, argv);
    return applicazione != nullptr ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione)
{
    const Scenario s = leggi_scenario(Ingresso(dati, dimensione));
    Banco b(s.opzioni);
    if (s.disconnetti_dopo)
        disconnetti_dopo(b, *s.disconnetti_dopo);

    connetti(b, s);
    const qsizetype primo = b.finestra.messaggi.size();
    const bool nuovo = b.blocco[Tipo_brenk] == tipo_nuovo;
    QMap<Campo, QString> chiesti;
    // What the buttons may start now, as the status supervision allows.
    if (b.finestra.stato == atteso::connesso && b.fleg == 0 && !b.esecutore.in_corso())
        operazione(b, s, chiesti);
    assesta(b);
    richiedi(!b.esecutore.in_corso(), b, "an operation is still running");
    controlla_linea(b, s, nuovo, primo, chiesti);
    controlla_conferme(b);
    if (qEnvironmentVariableIsSet("BRENK_FUZZ_RACCONTA"))
        std::fprintf(stderr, "%.1f ms, %zu bytes at the PC's end, messages \"%s\", confirmation \"%s\"\n",
                     b.orologio.adesso_ms(), b.linea.registro().size(),
                     qPrintable(b.finestra.testi_messaggi().join(QStringLiteral("\" \""))),
                     qPrintable(b.finestra.conferma));
    return 0;
}
