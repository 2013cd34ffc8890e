// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A simulated transmitter on a pseudo-terminal, for the tests and for the
// brenk-sim program. The PC opens the slave device (dispositivo()) as its
// serial port. It runs in the event loop of the thread that creates it.
//
// The transmitter itself is a Trasmettitore (see trasmettitore.h); this
// puts it on a line: every received and sent byte is logged with its time
// in ms since avvia(), every byte takes its 2400-baud line time, the bytes
// for the PC can be held as a USB adapter's latency timer holds them, and
// the line can be hung up and brought back on a new device.

#include "coda_linea.h"
#include "pseudoterminale.h"
#include "trasmettitore.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace brenk {

class Simulatore : public QObject {
    Q_OBJECT
public:
    using Opzioni = OpzioniSimulatore;
    using Evento = Trasmettitore::Evento;

    explicit Simulatore(const Opzioni& opzioni, QObject* parent = nullptr);
    ~Simulatore() override;

    // Opens the line; call once. False with a message in `errore` on failure.
    bool avvia(QString* errore = nullptr);
    // The device to open as serial port; empty while the line is down.
    QString dispositivo() const { return pty_.dispositivo(); }
    bool collegato() const { return trasmettitore_.collegato(); }

    const Memoria& memoria() const { return trasmettitore_.memoria(); }
    void imposta_memoria(const Memoria& memoria) { trasmettitore_.imposta_memoria(memoria); }

    QByteArray ricevuti() const { return byte_di(trasmettitore_.registro_ricevuti()); }
    // Bytes sent and not yet passed to the PC, on the line or held by the adapter.
    bool in_viaggio() const { return !uscita_.vuota() || !trattenuti_.isEmpty(); }
    QByteArray inviati() const { return byte_di(inviati_); }
    const QList<Evento>& registro_ricevuti() const { return trasmettitore_.registro_ricevuti(); }
    const QList<Evento>& registro_inviati() const { return inviati_; }

    int trasmissioni() const { return trasmettitore_.trasmissioni(); }
    // Write commands received, stored or not.
    int scritture() const { return trasmettitore_.scritture(); }

    // The unit is taken off the cable, the line staying up: silent, bytes
    // on their way lost. Then another one is plugged in: not linked,
    // announcing, with `memoria`.
    void togli_unita();
    void metti_unita(const Memoria& memoria);

    // Drops the line now; bytes still on their way are lost.
    void riaggancia();
    // Comes back on a new device, as a device plugged in again: not linked,
    // announcing, memory kept. The link, if any, follows.
    bool ritorna(QString* errore = nullptr);

signals:
    void stato_collegamento(bool collegato);
    void trasmissione();
    void ricevuto(quint8 byte, double ms);
    void ignorato(quint8 byte);
    void riagganciato();

private:
    static QByteArray byte_di(const QList<Evento>& registro);
    bool apri_linea(QString* errore);
    bool aggiorna_link(QString* errore);
    void trasmesso(quint8 byte);
    void consegna_al_pc();

    const Opzioni opzioni_;
    Pseudoterminale pty_;
    Trasmettitore trasmettitore_;
    CodaLinea ingresso_;
    CodaLinea uscita_;
    std::unique_ptr<Sveglia> adattatore_;
    QByteArray trattenuti_; // by the adapter, for its next burst
    bool link_creato_ = false;
    QList<Evento> inviati_;
};

} // namespace brenk
