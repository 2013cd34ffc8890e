// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The device fuzzer's input: what it asks of the transmitter, the line and
// the operator.
//
// Input, in order:
// - the operation after the connect: none, programming, "UHF", "VHF", "TX",
//   "Disconetti" (byte modulo 6);
// - fault flags: junk before "K", "k" for "K", wrong checksum, an extra
//   byte, a limit on acknowledgements, a hang-up, a disconnect, low tones;
// - more fault flags: a late acknowledgement, announcements while linked,
//   noise while linked, an address that stores another value, an idle-timer
//   announcer, a path that loses bit 7, telegrams whose check bytes do not
//   match them;
// - the limit on acknowledgements, the read the extra byte follows, the
//   extra byte, the received byte the line drops on (2 bytes), the received
//   byte after which "Disconetti" is pressed (2 bytes);
// - the late write's number, its delay in ms (2 bytes); the noise's period
//   (10 ms and more) and byte; the faulty address;
// - the transmitter's fault flags: a reset after n read replies, a reset
//   after n acknowledgements, replies held back by a delay, the first "L"
//   unheard, a read reply hit on the line, a cable that echoes, one address
//   answered late, one address's reply reflected; then the n of the resets,
//   the replies' delay in ms, the number of the hit read reply (2 bytes),
//   the late address and its delay, the reflected address and its delay,
//   the idle announcer's time;
// - the memory: a base (zeros, UHF, VHF, old type) and 64 bytes xored in,
//   but for the type, a new type's checksum and the telegrams' check bytes;
// - the junk (length modulo 4, bytes);
// - replies replaced (count modulo 8; each: command number in 2 bytes,
//   length modulo 4, bytes), so a reply can be silent or several bytes;
// - the rest: the field texts for a programming, one a line.
//
// Then the bench one input runs on: the configurator's side without a
// screen, the line, the transmitter at its far end; how time passes on it,
// how a failed check reports what happened, and what each operation may
// tell the operator.

#include "banco_virtuale.h"
#include "testi.h"
#include "trasmettitore.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <optional>

namespace {

using namespace brenk;

enum class Operazione { Nessuna, Programma, Uhf, Vhf, Tx, Disconnetti };

struct Scenario {
    Operazione operazione = Operazione::Nessuna;
    OpzioniSimulatore opzioni;
    std::optional<int> disconnetti_dopo; // bytes received by the transmitter
    bool toni_bassi = false;
    QStringList testi;
};

class Ingresso {
public:
    Ingresso(const std::uint8_t* dati, std::size_t dimensione) : dati_(dati), resto_(dimensione) {}

    int byte()
    {
        if (resto_ == 0)
            return 0;
        --resto_;
        return *dati_++;
    }
    int parola()
    {
        const int alto = byte();
        return alto * 256 + byte();
    }
    QByteArray byte(std::size_t quanti)
    {
        quanti = std::min(quanti, resto_);
        QByteArray b(reinterpret_cast<const char*>(dati_), static_cast<qsizetype>(quanti));
        dati_ += quanti;
        resto_ -= quanti;
        return b;
    }
    QByteArray resto() { return byte(resto_); }

private:
    const std::uint8_t* dati_;
    std::size_t resto_;
};

// The type stays the base's, and a new type's checksum is kept right: a
// wrong one is the fault of its own flag, and any type but "N" reads as old.
// The telegrams' check bytes are kept right unless `telegrammi_rotti`.
Memoria memoria(Ingresso& in, bool telegrammi_rotti)
{
    static constexpr Contenuto basi[] = {Contenuto::Zeri, Contenuto::UHF, Contenuto::VHF, Contenuto::Vecchio};
    Memoria m = memoria_predefinita(basi[in.byte() % 4]);
    const std::uint8_t tipo = m[Tipo_brenk];
    for (auto& b : m)
        b = static_cast<std::uint8_t>(b ^ in.byte());
    m[Tipo_brenk] = tipo;
    for (const int primo : {Byt1, Byte1}) {
        const auto t = telegramma(m[primo + 2], m[primo + 3], m[primo + 4], m[primo + 5]);
        if (!telegrammi_rotti)
            std::copy(t.begin() + 6, t.begin() + 8, m.begin() + primo + 6);
    }
    if (tipo == tipo_nuovo)
        m[totck] = complemento(std::accumulate(m.begin(), m.begin() + Zelmbrenk + 1, 0LL));
    return m;
}

// Each value is read whether or not its flag takes it; the two of a pair in
// order, as a braced list evaluates them.
Scenario leggi_scenario(Ingresso in)
{
    const auto se = [](int bit, auto& opzione, const auto& valore) {
        if (bit)
            opzione = valore;
    };
    Scenario s;
    s.operazione = static_cast<Operazione>(in.byte() % 6);
    const int guasti = in.byte();
    const int altri_guasti = in.byte();
    auto& o = s.opzioni;
    o.k_minuscola = guasti & 2;
    o.checksum_errato = guasti & 4;
    s.toni_bassi = guasti & 128;
    o.annunci_da_collegato = altri_guasti & 2;
    o.bit7_perso = altri_guasti & 32;
    se(guasti & 16, o.conferme_max, in.byte());
    se(guasti & 8, o.extra_dopo, in.byte());
    o.byte_extra = static_cast<std::uint8_t>(in.byte());
    se(guasti & 32, o.riaggancia_dopo, 1 + in.parola());
    se(guasti & 64, s.disconnetti_dopo, in.parola());
    se(altri_guasti & 1, o.conferme_ritardate, QMap<int, int>{{in.byte(), in.parola()}});
    se(altri_guasti & 4, o.rumore_ogni_ms, 10 + in.byte());
    o.byte_rumore = static_cast<std::uint8_t>(in.byte());
    se(altri_guasti & 8, o.indirizzo_guasto, in.byte() % 64);
    const int guasti_del_trasmettitore = in.byte();
    const int dopo_risposte = in.byte();
    se(guasti_del_trasmettitore & 1, o.reset_dopo_letture, dopo_risposte);
    se(guasti_del_trasmettitore & 2, o.reset_dopo_conferme, dopo_risposte);
    se(guasti_del_trasmettitore & 4, o.ritardo_risposte_ms, in.byte());
    o.l_non_sentite = guasti_del_trasmettitore & 8 ? 1 : 0;
    se(guasti_del_trasmettitore & 16, o.risposta_colpita, in.parola() % 512);
    o.eco = guasti_del_trasmettitore & 32;
    se(guasti_del_trasmettitore & 64, o.ritardi_indirizzo, QMap<int, int>{{in.byte() % (Tipo_brenk + 3), in.byte()}});
    se(guasti_del_trasmettitore & 128, o.rimbalzi, QMap<int, int>{{in.byte() % (Tipo_brenk + 3), in.byte()}});
    se(altri_guasti & 16, o.annuncio_dopo_silenzio_ms, 1 + in.byte());
    o.memoria = memoria(in, altri_guasti & 64);
    se(guasti & 1, o.spazzatura, in.byte(static_cast<std::size_t>(in.byte() % 4)));
    for (int n = in.byte() % 8; n > 0; --n) {
        const int numero = in.parola();
        o.risposte_sostituite.insert(numero, in.byte(static_cast<std::size_t>(in.byte() % 4)));
    }
    s.testi = QString::fromUtf8(in.resto()).split(QLatin1Char('\n'));
    return s;
}

namespace atteso = brenk::prova::atteso;

// The operator's patience with a line that stays silent: longer than the
// 4000 ms a write may wait for its acknowledgement.
constexpr double pazienza_ms = 4500;
// After the last operation, at most for the last bytes to reach the
// transmitter: more than the 2400-baud line time of every request there is.
constexpr double assestamento_ms = 10000;
constexpr int ultima_lettura = 62;
// A doubtful read is read again, three reads of the block at most.
constexpr int letture_massime = 3;
constexpr int risposte_di_lettura = letture_massime * (ultima_lettura + 1);

// A command as the transmitter received it; -1 for a part that never came.
struct Comando {
    char lettera;
    int indirizzo = -1;
    int valore = -1;
};

// Everything one input runs on, the transmitter at the far end.
struct Banco : brenk::prova::BancoVirtuale {
    explicit Banco(const OpzioniSimulatore& opzioni) : BancoVirtuale(opzioni)
    {
        // As the window does: a port that vanished ends the connection.
        QObject::connect(&porta, &PortaSeriale::persa, [this] { finestra.imposta_stato(atteso::non_connesso); });
    }
    bool disconnesso = false;
};

[[noreturn]] void fallisce(const Banco& b, const char* cosa)
{
    std::fprintf(stderr, "%s\nstatus \"%s\", fleg %d, port %s, %.1f ms\nmessages:\n", cosa,
                 qPrintable(b.finestra.stato), b.fleg, b.porta.aperta() ? "open" : "closed", b.orologio.adesso_ms());
    for (const auto& m : b.finestra.messaggi)
        std::fprintf(stderr, "  \"%s\"\n", qPrintable(m.testo));
    std::fprintf(stderr, "received by the transmitter: %s\n", b.ricevuti().toHex(' ').constData());
    std::fprintf(stderr, "arrived at the PC: %s\n", b.arrivati().toHex(' ').constData());
    if (qEnvironmentVariableIsSet("BRENK_FUZZ_REGISTRO"))
        for (const auto& p : b.linea.registro())
            std::fprintf(stderr, "%10.3f %s %02x\n", p.ms, p.dal_pc ? "PC>" : "<TX", p.byte);
    std::abort();
}

void richiedi(bool condizione, const Banco& b, const char* cosa)
{
    if (!condizione)
        fallisce(b, cosa);
}

// The commands in `byte`, as sent or received.
QList<Comando> comandi_in(const QByteArray& r, const Banco& b)
{
    QList<Comando> comandi;
    for (qsizetype i = 0; i < r.size();) {
        const char lettera = r.at(i++);
        Comando c{lettera};
        const int parti = lettera == 'W' ? 2 : lettera == 'R' ? 1 : 0;
        const bool finale = lettera == 'E' || lettera == 'Q';
        richiedi(lettera != 'L' || i == 1, b, "\"L\" after the start");
        richiedi(!finale || i == r.size(), b, "bytes after the final letter");
        richiedi(parti > 0 || lettera == 'L' || finale, b, "unknown letter on the line");
        if (parti >= 1 && i < r.size())
            c.indirizzo = static_cast<std::uint8_t>(r.at(i++));
        if (parti == 2 && i < r.size())
            c.valore = static_cast<std::uint8_t>(r.at(i++));
        if ((parti >= 1 && c.indirizzo < 0) || (parti == 2 && c.valore < 0))
            richiedi(b.linea.riagganciata(), b, "command cut short on a live line");
        richiedi(c.indirizzo <= (lettera == 'R' ? ultima_lettura : 63), b, "address out of range");
        comandi.append(c);
    }
    return comandi;
}

// Time passes until the operation ends. A line silent for longer than the
// operator's patience (a read never answered, a "K" that never comes) is
// ended with "Disconetti", as the operator would.
void esegui(Banco& b, Task<void> operazione)
{
    richiedi(b.esecutore.avvia(std::move(operazione)), b, "operation refused");
    const auto finita_o_muta = [&b] {
        return !b.esecutore.in_corso() || b.orologio.adesso_ms() - b.linea.ultimo_dal_pc_ms() > pazienza_ms;
    };
    while (!b.avanza_finche(finita_o_muta, std::numeric_limits<double>::infinity()) || b.esecutore.in_corso()) {
        richiedi(!b.disconnesso, b, "operation did not end after Disconetti");
        b.disconnesso = true;
        congeda(b.contesto, 'E');
    }
    if (b.disconnesso)
        richiedi(!b.porta.aperta() && b.finestra.stato == atteso::non_connesso, b, "still connected after Disconetti");
}

// Time passes until every byte the PC sent has reached the transmitter (a
// PC that took stray bytes for replies may be many requests ahead of a
// line paced at 2400 baud), or the line is gone.
void assesta(Banco& b)
{
    const auto inviati = std::count_if(b.linea.registro().begin(), b.linea.registro().end(),
                                       [](const auto& p) { return p.dal_pc; });
    b.avanza_finche([&b, inviati] { return b.tx().registro_ricevuti().size() >= inviati || b.linea.riagganciata(); },
                    assestamento_ms);
}

// After a whole read of the block, at `i`: its type and its band read once
// more. The band's read may be cut short by the line, or never go out: the
// line ends there, or a type never answered ends the connection.
bool riletti_tipo_e_banda(const QList<Comando>& comandi, qsizetype i)
{
    const auto lettura_di = [&comandi](qsizetype j, int indirizzo) {
        return j < comandi.size() && comandi[j].lettera == 'R'
               && (comandi[j].indirizzo == indirizzo || comandi[j].indirizzo < 0);
    };
    const auto fine = [&comandi](qsizetype j) {
        return j == comandi.size() || comandi[j].lettera == 'E' || comandi[j].lettera == 'Q';
    };
    return lettura_di(i, Tipo_brenk) && (fine(i + 1) || lettura_di(i + 1, brenkVU));
}

// The commands of one letter from `i` on, whose addresses must run 0, 1,
// 2, ...; reads start again at 0 after 62, as a read of the block is read
// again, and a whole read may be followed by its type and band read again.
// How many went to the block; `i` goes past them all.
qsizetype serie(const Banco& b, const QList<Comando>& comandi, qsizetype& i, char lettera)
{
    const qsizetype giro = lettera == 'R' ? ultima_lettura + 1 : dimensione_blocco;
    qsizetype n = 0;
    qsizetype riletti_dopo = 0;
    while (i < comandi.size() && comandi[i].lettera == lettera) {
        if (lettera == 'R' && n > riletti_dopo && n % giro == 0 && riletti_tipo_e_banda(comandi, i)) {
            i = std::min(i + 2, comandi.size());
            riletti_dopo = n;
            continue;
        }
        richiedi(comandi[i].indirizzo < 0 || comandi[i].indirizzo == n % giro, b, "addresses out of order");
        ++i, ++n;
    }
    if (lettera == 'R')
        richiedi(n <= risposte_di_lettura, b, "the block read more than three times");
    return n;
}

QStringList messaggi_da(const Banco& b, qsizetype primo)
{
    return b.finestra.testi_messaggi().mid(primo);
}

bool errore_di_porta(const Banco& b, const QString& testo)
{
    using E = QSerialPort::SerialPortError;
    for (E e : {E::DeviceNotFoundError, E::OpenError, E::NotOpenError, E::ResourceError})
        if (errore_porta(e, b.porta.dispositivo()).testo() == testo)
            return true;
    return false;
}

// A write not confirmed, refused by a port that is gone, or cut short by
// "Disconetti".
bool scrittura_fallita(const Banco& b, const QString& testo)
{
    static const QRegularExpression interrotta(
        QStringLiteral("^Interrotta da Disconetti dopo \\d+ scritture confermate$"));
    return testo == atteso::time_out || errore_di_porta(b, testo)
           || (b.disconnesso && interrotta.match(testo).hasMatch());
}

// A verdict as a programming ends it, or as a factory loading does.
bool uno_di(const QString& testo, const QString& programmazione)
{
    const QString dai_campi =
        QStringLiteral("I valori da programmare sono ancora nella finestra: ripetere la programmazione.");
    QString fabbrica = programmazione;
    fabbrica.replace(dai_campi, QStringLiteral("Ripetere la programmazione."));
    return testo == programmazione || testo == fabbrica;
}

// What may follow the writes: nothing but the confirmation, after the
// read-back's own checksum message, or one verdict.
bool verdetto(const QStringList& m)
{
    return m.isEmpty()
           || (m.size() == 1
               && (m.first() == atteso::errore_lettura || uno_di(m.first(), atteso::scrittura_disturbata)
                   || uno_di(m.first(), atteso::verifica_interrotta)
                   || m.first().startsWith(QStringLiteral("Verifica fallita: "))));
}

void controlla_messaggi_connessione(const Banco& b, QStringList m)
{
    m.removeOne(atteso::errore_lettura);
    m.removeOne(atteso::telegrammi);
    if (m.isEmpty())
        return;
    richiedi(m.size() == 2 && errore_di_porta(b, m[0]) && m[1] == atteso::porta_guasta, b,
             "connect: unexpected messages");
    richiedi(b.linea.riagganciata() || b.disconnesso, b, "error path without a dropped line or a disconnect");
}

void controlla_messaggi_programmazione(const Banco& b, QStringList m)
{
    if (!m.isEmpty() && m.first() == atteso::fuori_range)
        m.removeFirst();
    const bool rifiuto = m.size() == 1
                         && (m.first() == atteso::fuori_banda || m.first() == atteso::senza_lettura
                             || m.first().startsWith(QStringLiteral("Programmazione non eseguita: \""))
                             || m.first() == atteso::codice || scrittura_fallita(b, m.first())
                             || m.first().startsWith(QStringLiteral("Valore fuori range in \"")));
    richiedi(rifiuto || verdetto(m), b, "programming: unexpected messages");
}

void controlla_messaggi_fabbrica(const Banco& b, const QStringList& m)
{
    richiedi((m.size() == 1 && scrittura_fallita(b, m.first())) || verdetto(m), b,
             "factory loading: unexpected messages");
}

} // namespace
