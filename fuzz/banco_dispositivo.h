// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The bench one input of the device fuzzer runs on: the configurator's side
// without a screen, the line, the transmitter at its far end; how time
// passes on it, how a failed check reports what happened, and what each
// operation may tell the operator.

#include "banco_virtuale.h"
#include "scenario_dispositivo.h"
#include "testi.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

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
    using BancoVirtuale::BancoVirtuale;
    bool disconnesso = false;
};

void stampa(const QByteArray& byte)
{
    for (const char c : byte)
        std::fprintf(stderr, " %02x", static_cast<unsigned char>(c));
    std::fprintf(stderr, "\n");
}

[[noreturn]] void fallisce(const Banco& b, const char* cosa)
{
    std::fprintf(stderr, "%s\nstatus \"%s\", fleg %d, port %s, %.1f ms\nmessages:\n", cosa,
                 qPrintable(b.finestra.stato), b.fleg, b.porta.aperta() ? "open" : "closed",
                 b.orologio.adesso_ms());
    for (const auto& m : b.finestra.messaggi)
        std::fprintf(stderr, "  \"%s\"\n", qPrintable(m.testo));
    std::fprintf(stderr, "received by the transmitter:");
    stampa(b.ricevuti());
    std::fprintf(stderr, "arrived at the PC:");
    stampa(b.arrivati());
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
// more (the last may never have gone out).
bool riletti_tipo_e_banda(const QList<Comando>& comandi, qsizetype i)
{
    const auto lettura_di = [&comandi](qsizetype j, int indirizzo) {
        return j < comandi.size() && comandi[j].lettera == 'R' && comandi[j].indirizzo == indirizzo;
    };
    return lettura_di(i, Tipo_brenk) && (i + 1 == comandi.size() || lettura_di(i + 1, brenkVU));
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

// A write not confirmed, or refused by a port that is gone.
bool scrittura_fallita(const Banco& b, const QString& testo)
{
    return testo == atteso::time_out || errore_di_porta(b, testo);
}

// A verdict as a programming ends it, or as a factory loading does.
bool uno_di(const QString& testo, const QString& programmazione)
{
    const QString dai_campi = QStringLiteral("I valori da programmare sono ancora nella finestra: ripetere la programmazione.");
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
                             || m.first().startsWith(QStringLiteral("Programmazione non eseguita: \"")) || m.first() == atteso::codice
                             || scrittura_fallita(b, m.first())
                             || m.first().startsWith(QStringLiteral("Valore fuori range in \"")));
    richiedi(rifiuto || verdetto(m), b, "programming: unexpected messages");
}

void controlla_messaggi_fabbrica(const Banco& b, const QStringList& m)
{
    richiedi((m.size() == 1 && scrittura_fallita(b, m.first())) || verdetto(m), b,
             "factory loading: unexpected messages");
}

} // namespace
