// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The transmitter's end of the line played by the test one exchange at a
// time, so that a test can act while an operation waits.

#include "esegui.h"
#include "pseudo_terminale.h"
#include "trasmettitore.h"

#include <chrono>
#include <thread>

namespace brenk::prova {

// The transmitter's end of the line, answering from its memory, which the
// writes change, only when the test says so.
class TrasmettitoreAMano {
public:
    explicit TrasmettitoreAMano(Contenuto contenuto) : TrasmettitoreAMano(memoria_predefinita(contenuto)) {}
    explicit TrasmettitoreAMano(const Memoria& memoria) : memoria_(memoria)
    {
        qputenv("BRENK_COM1", linea_.dispositivo().toLocal8Bit());
    }
    ~TrasmettitoreAMano() { qunsetenv("BRENK_COM1"); }

    bool valido() const { return linea_.valido(); }
    void scrivi(const QByteArray& byte) const { linea_.scrivi(byte); }

    // Takes the configurator's next request, `lunghezza` bytes; false if it
    // does not begin with `inizio`.
    bool richiesta(const QByteArray& inizio, qsizetype lunghezza)
    {
        const qsizetype fine = letti_ + lunghezza;
        prova::attendi([&] { return linea_.ricevuti().size() >= fine; }, 5000);
        const QByteArray arrivata = linea_.ricevuti().mid(letti_, lunghezza);
        letti_ = fine;
        return arrivata.size() == lunghezza && arrivata.startsWith(inizio);
    }
    bool richiesta(const QByteArray& attesa) { return richiesta(attesa, attesa.size()); }
    bool lettura(int indirizzo) { return richiesta(QByteArray(1, 'R').append(char(indirizzo))); }
    bool scrittura(int indirizzo)
    {
        const qsizetype valore = letti_ + 2;
        if (!richiesta(QByteArray(1, 'W').append(char(indirizzo)), 3))
            return false;
        memoria_[std::size_t(indirizzo)] = static_cast<std::uint8_t>(linea_.ricevuti().at(valore));
        return true;
    }

    // Answers the reads of addresses `da` to `a`, leaving the one of `da`
    // to come if `gia_chiesta` says it has been taken already.
    bool rispondi_letture(int da, int a, bool gia_chiesta = false)
    {
        for (int t = da; t <= a; ++t) {
            if (!(gia_chiesta && t == da) && !lettura(t))
                return false;
            dopo_la_linea(3);
            scrivi(QByteArray(1, char(memoria_[std::size_t(t)])));
        }
        return true;
    }
    void conferma() const { dopo_la_linea(4), scrivi("K"); }
    // Acknowledges the writes of addresses `da` to `a`.
    bool conferma_scritture(int da, int a)
    {
        for (int indirizzo = da; indirizzo <= a; ++indirizzo) {
            if (!scrittura(indirizzo))
                return false;
            conferma();
        }
        return true;
    }

private:
    // A reply comes no sooner than a 2400-baud line lets the request and the reply cross it.
    static void dopo_la_linea(int byte) { std::this_thread::sleep_for(std::chrono::microseconds(byte * 4167 + 500)); }

    PseudoTerminale linea_;
    Memoria memoria_;
    qsizetype letti_ = 0;
};

} // namespace brenk::prova
