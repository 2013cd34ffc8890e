#pragma once

// A simulated transmitter on a pseudo-terminal, for the tests and for the
// brenk-sim program. The PC opens the slave device (dispositivo()) as its
// serial port. It runs in the event loop of the thread that creates it.
//
// On the line, as the transmitter does:
// - not linked: "K" every 100 ms until "L" arrives; other bytes are ignored;
// - linked: "R",a is answered with the byte at a; "W",a,v stores v at a and is
//   answered "K"; "E" ends the link; "Q" records a test transmission and ends
//   the link; any other letter is ignored (signal ignorato()).
// Addresses above 63 read as 0 and are not stored.
//
// Every received and sent byte is logged with its time in ms since avvia().
// Faults can be injected through Opzioni; the line can be hung up and brought
// back on a new device.

#include "coda_linea.h"
#include "pseudoterminale.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <optional>

namespace brenk {

using Memoria = std::array<std::uint8_t, 64>;

enum class Contenuto {
    Zeri,
    UHF,     // the factory blocks
    VHF,
    Vecchio, // the UHF block on an old-type transmitter: 0 at 60, no checksum at 61
};
Memoria memoria_predefinita(Contenuto contenuto);
// A file of exactly 64 bytes.
std::optional<Memoria> memoria_da_file(const QString& percorso, QString* errore = nullptr);

class Simulatore : public QObject {
    Q_OBJECT
public:
    struct Opzioni {
        Memoria memoria{};
        // A symbolic link to the device, made or replaced by avvia() and
        // ritorna(), removed with the simulator. Empty for none.
        QString link;
        // Every byte takes its 2400-baud line time, in both directions.
        bool a_ritmo = false;
        // How often "K" is announced while not linked.
        int intervallo_annunci_ms = 100;

        // Faults.
        bool mai_k = false;                  // never announces "K"
        QByteArray spazzatura;               // sent before each announced "K"
        std::optional<int> conferme_max;     // later writes: not stored, not answered
        bool k_minuscola = false;            // writes answered "k"
        std::optional<int> extra_dopo;       // a byte more after read reply n (from 0)
        std::uint8_t byte_extra = 0xA5;
        bool checksum_errato = false;        // address 61 read as its byte + 1
        std::optional<int> riaggancia_dopo;  // the line drops on the n-th byte received
        // Replies sent in place of the one due, by the number of the "R" or
        // "W" command answered (from 0): any bytes, none for silence.
        QMap<int, QByteArray> risposte_sostituite;
    };

    struct Evento {
        std::uint8_t byte;
        double ms;
    };

    explicit Simulatore(const Opzioni& opzioni, QObject* parent = nullptr);
    ~Simulatore() override;

    // Opens the line; call once. False with a message in `errore` on failure.
    bool avvia(QString* errore = nullptr);
    // The device to open as serial port; empty while the line is down.
    QString dispositivo() const { return pty_.dispositivo(); }
    bool collegato() const { return stato_ != Stato::Annuncio; }

    const Memoria& memoria() const { return memoria_; }
    void imposta_memoria(const Memoria& memoria) { memoria_ = memoria; }

    QByteArray ricevuti() const { return byte_di(ricevuti_); }
    QByteArray inviati() const { return byte_di(inviati_); }
    const QList<Evento>& registro_ricevuti() const { return ricevuti_; }
    const QList<Evento>& registro_inviati() const { return inviati_; }

    int trasmissioni() const { return trasmissioni_; }
    // Write commands received, stored or not.
    int scritture() const { return scritture_; }

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
    enum class Stato { Annuncio, Comando, IndirizzoLettura, IndirizzoScrittura, ValoreScrittura };

    static QByteArray byte_di(const QList<Evento>& registro);
    double ms() const;
    bool apri_linea(QString* errore);
    bool aggiorna_link(QString* errore);
    void entra(Stato stato);
    void annuncia();
    void elabora(quint8 byte);
    void comando(quint8 lettera);
    void leggi(quint8 indirizzo);
    void scrivi(quint8 indirizzo, quint8 valore);
    void rispondi(const QByteArray& risposta);
    void invia(const QByteArray& byte);
    void trasmesso(quint8 byte);

    const Opzioni opzioni_;
    Memoria memoria_;
    Pseudoterminale pty_;
    CodaLinea ingresso_;
    CodaLinea uscita_;
    QTimer annunci_;
    QElapsedTimer orologio_;
    Stato stato_ = Stato::Annuncio;
    quint8 indirizzo_ = 0;
    int letture_ = 0;
    int scritture_ = 0;
    int risposte_ = 0;
    int trasmissioni_ = 0;
    bool link_creato_ = false;
    QList<Evento> ricevuti_;
    QList<Evento> inviati_;
};

} // namespace brenk
