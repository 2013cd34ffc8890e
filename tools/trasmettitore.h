// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The simulated transmitter's behaviour on the line, apart from any line:
// bytes from the PC go in through ricevi(), bytes for the PC come out of the
// signal invia(). Its time runs on an Orologio, so the same transmitter
// answers on a pseudo-terminal in real time (Simulatore) and inside the
// fuzzer on a virtual clock.
//
// As the transmitter does:
// - not linked: "K" every 100 ms until "L" arrives; other bytes are ignored;
// - linked: "R",a is answered with the byte at a; "W",a,v stores v at a and is
//   answered "K"; "E" ends the link; "Q" records a test transmission and ends
//   the link; any other letter is ignored (signal ignorato()).
// Addresses above 63 read as 0 and are not stored.
//
// Faults can be injected through OpzioniSimulatore.

#include "link/orologio.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace brenk {

using Memoria = std::array<std::uint8_t, 64>;

struct OpzioniSimulatore {
    Memoria memoria{};
    // A symbolic link to the device, made or replaced by Simulatore::avvia()
    // and ritorna(), removed with the simulator. Empty for none.
    QString link;
    // How often "K" is announced while not linked.
    int intervallo_annunci_ms = 100;
    // A USB adapter's latency timer: the bytes for the PC are passed on in
    // bursts, every so many milliseconds. Empty or 0: at once.
    std::optional<int> latenza_adattatore_ms;

    // Faults.
    bool mai_k = false;              // never announces "K"
    QByteArray spazzatura;           // sent before each announced "K"
    std::optional<int> conferme_max; // later writes: not stored, not answered
    bool k_minuscola = false;        // writes answered "k"
    bool k_dopo_indirizzo = false;   // writes answered once their address arrives
    std::optional<int> extra_dopo;   // a byte more after read reply n (from 0)
    std::uint8_t byte_extra = 0xA5;
    bool checksum_errato = false;       // address 61 read as its byte + 1
    std::optional<int> riaggancia_dopo; // the line drops on the n-th byte received
    // Replies sent in place of the one due, by the number of the "R" or
    // "W" command answered (from 0): any bytes, none for silence.
    QMap<int, QByteArray> risposte_sostituite;
    // Acknowledgements sent late: milliseconds, by write number (from 0).
    QMap<int, int> conferme_ritardate;
    // Linked, "K" is announced as when not linked, whenever the PC has been
    // silent for the announcement interval.
    bool annunci_da_collegato = false;
    // Linked, the noise byte every so many milliseconds.
    std::optional<int> rumore_ogni_ms;
    std::uint8_t byte_rumore = 0xFF;
    bool rumore_da_scrittura = false; // the noise starts with the first write
    // This address stores the value written plus one.
    std::optional<int> indirizzo_guasto;
    // Write n (from 0) is acknowledged but not stored.
    std::optional<int> scrittura_persa;
    // The first n "L" go unheard: the transmitter stays unlinked, announcing.
    int l_non_sentite = 0;
    // Resets (power dip, watchdog) after its n-th read reply or its n-th
    // acknowledgement: not linked any more, it announces again.
    std::optional<int> reset_dopo_letture;
    std::optional<int> reset_dopo_conferme;
    // Read reply n (from 0) is hit on the line and arrives as another value.
    std::optional<int> risposta_colpita;
    // Each request is answered this late, one at a time: what arrives
    // meanwhile waits its turn.
    int ritardo_risposte_ms = 0;
    // The cable echoes every byte from the PC back to it.
    bool eco = false;
    // Read replies to these addresses go out so many milliseconds late, while
    // the next requests are answered as usual.
    QMap<int, int> ritardi_indirizzo;
    // The read reply to these addresses comes back again so many
    // milliseconds after it went (a reflection on the line).
    QMap<int, int> rimbalzi;
    // Not linked, "K" is announced this long after the last byte heard (an
    // idle timer), then at the announcement interval.
    std::optional<int> annuncio_dopo_silenzio_ms;
    // The path to the PC loses bit 7 of every byte.
    bool bit7_perso = false;
};

enum class Contenuto {
    Zeri,
    UHF, // the factory blocks
    VHF,
    Vecchio, // the UHF block on an old-type transmitter: 0 at 60, no checksum at 61
};
Memoria memoria_predefinita(Contenuto contenuto);
// A file of exactly 64 bytes.
std::optional<Memoria> memoria_da_file(const QString& percorso, QString* errore = nullptr);

class Trasmettitore : public QObject {
    Q_OBJECT
public:
    struct Evento {
        std::uint8_t byte;
        double ms;
    };

    // `in_ascolto` tells whether a PC has the line open: announcements and
    // noise go out only then.
    Trasmettitore(const OpzioniSimulatore& opzioni, Orologio& orologio, std::function<bool()> in_ascolto,
                  QObject* parent = nullptr);
    ~Trasmettitore() override;

    // The line is up: not linked, announcing. Times count from here.
    void avvia();
    // The line is down: not linked, silent, nothing pending.
    void ferma();
    // A byte from the PC.
    void ricevi(std::uint8_t byte);

    bool collegato() const { return stato_ != Stato::Annuncio; }
    const Memoria& memoria() const { return memoria_; }
    void imposta_memoria(const Memoria& memoria) { memoria_ = memoria; }

    const QList<Evento>& registro_ricevuti() const { return ricevuti_; }
    int trasmissioni() const { return trasmissioni_; }
    // Write commands received, stored or not.
    int scritture() const { return scritture_; }
    // Milliseconds since avvia().
    double ms() const;

signals:
    void invia(const QByteArray& byte);
    void riaggancio(); // the hang-up fault: the line must drop now
    void stato_collegamento(bool collegato);
    void trasmissione();
    void ricevuto(quint8 byte, double ms);
    void ignorato(quint8 byte);

private:
    enum class Stato { Annuncio, Comando, IndirizzoLettura, IndirizzoScrittura, ValoreScrittura };

    void elabora(std::uint8_t byte);
    void entra(Stato stato);
    void arma_annuncio();
    void arma_rumore();
    void annuncia();
    void disturba();
    void comando(quint8 lettera);
    void leggi(quint8 indirizzo);
    void scrivi(quint8 indirizzo, quint8 valore);
    void rispondi(const QByteArray& risposta, int ritardo_ms = 0);
    void emetti(const QByteArray& byte);
    void invia_dopo(const QByteArray& byte, int ritardo_ms);
    void arma_ritardi();
    void invia_in_ritardo();
    void risposta_lenta_pronta();

    struct InRitardo {
        double quando;
        QByteArray byte;
    };

    const OpzioniSimulatore opzioni_;
    Orologio& orologio_;
    std::function<bool()> in_ascolto_;
    Memoria memoria_;
    std::unique_ptr<Sveglia> annunci_;
    std::unique_ptr<Sveglia> rumore_;
    std::unique_ptr<Sveglia> ritardi_;
    std::unique_ptr<Sveglia> lenta_; // the slow transmitter's pending reply
    QByteArray risposta_lenta_;
    std::deque<std::uint8_t> in_coda_; // received while a slow reply is pending
    std::deque<InRitardo> in_ritardo_; // by when they are due
    double inizio_ms_ = 0;
    bool attivo_ = false;
    Stato stato_ = Stato::Annuncio;
    quint8 indirizzo_ = 0;
    int letture_ = 0;
    int scritture_ = 0;
    int conferme_ = 0;
    int l_ricevute_ = 0;
    int risposte_ = 0;
    int trasmissioni_ = 0;
    QList<Evento> ricevuti_;
};

} // namespace brenk
