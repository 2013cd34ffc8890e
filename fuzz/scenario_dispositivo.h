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

#include "trasmettitore.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <cstdint>
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

} // namespace
