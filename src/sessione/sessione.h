// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One technician's session at the configurator: the port, the block, `fleg`,
// the running operation and the day's rules, and the flows the window's
// buttons start. The operations report to it what happens on the line, and
// the day learns it from those reports: the record holds what was sent,
// whatever the window shows by then. It knows no widget: the window shows
// what it is told through Finestra and the signals below.

#include "archivio/giornata.h"
#include "link/porta_seriale.h"
#include "ops/contesto.h"
#include "ops/esecutore.h"
#include "params/fabbrica.h"
#include "sessione/testi.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

namespace brenk {

class Sessione : public QObject, private Osservatore {
    Q_OBJECT
public:
    // On `finestra`, through the real serial port in real time, or on any
    // device and clock (the tests' virtual line).
    explicit Sessione(Finestra& finestra, QObject* parent = nullptr);
    Sessione(Finestra& finestra, std::unique_ptr<Dispositivo> dispositivo, Orologio& orologio,
             QObject* parent = nullptr);

    // The buttons, each named as the operator reads it: an unexpected error
    // is told with that name. Refused while an operation runs.
    void connetti(const QString& nome);
    void programma(const QString& nome);
    void fabbrica(const QString& nome, Banda banda);
    void trasmetti(const QString& nome);
    // A running operation notices the closed port by itself.
    void disconetti();
    // Leaving: the exchange in flight ends first, so that the transmitter
    // takes the farewell "E" as a letter and not as an address or a value;
    // then the running operation is dropped without a word (the record still
    // gets its line) and `uscita` follows.
    void esci();
    // When nothing can wait any more, the farewell at once.
    void congedo_immediato();
    // "Porta": the port closes; `numero` (1 to 8) takes effect at the next
    // opening, 0 leaves the number as it was.
    void scegli_porta(int numero);

    // A parameter file's values, shown as if typed; the band is the
    // transmitter's once a read of this connection has shown it. The file's
    // name names the site in a record chosen after it.
    void mostra_file(const Valori& v, const QString& sito);
    void imposta_sito(const QString& sito) { sito_ = sito; }
    // The window's values saved as the site `sito`'s file.
    void file_salvato(const QString& sito);
    // The window still shows the last file opened or saved: the band aside,
    // which is the transmitter's, and in a series the code, each unit's own.
    bool mostra_il_file() const;
    // "Serie" and "Registro" (a file or a server; none: off), as the day
    // answers them. Whether a record is in use.
    void imposta_serie(bool accesa);
    // "Automatica", in effect with "Serie" and "Registro": "Connetti" on the
    // site's values, or a verified "Programma", goes on by itself, unit after
    // unit, until a failure, the series' end or "Disconetti".
    void imposta_automatica(bool accesa) { automatica_ = accesa; }
    bool automatica() const { return automatica_ && giornata_.serie() && giornata_.registro(); }
    bool usa_registro(const std::optional<QString>& indirizzo);
    // "Assegnato a" confirmed for the code the window shows, which the
    // record already holds: corrected there.
    void correggi_assegnato(const QString& a_chi);
    // What the window shows, with the type as the block reads it.
    Valori valori() const;
    QString tipo() const;
    // Tells `testo` in a message once no operation runs, after those before it.
    void dire(const QString& testo);

    bool occupato() const { return esecutore_.in_corso(); }
    Giornata& giornata() { return giornata_; }
    BloccoParametri& blocco() { return blocco_; }
    int& fleg() { return fleg_; }
    PortaSeriale& porta() { return porta_; }

signals:
    // An operation started or ended: what the window enables may change.
    void cambiata();
    // The series has no free code left: "Serie" goes off.
    void serie_finita();
    // What the record holds may have changed (Giornata::riepilogo).
    void registro_cambiato();
    void uscita();

private:
    std::optional<QString> programmazione_al_via(std::span<const std::uint8_t> scritture) override;
    void scrittura_inviata(int indirizzo) override { giornata_.inviata(indirizzo); }
    void scrittura_confermata(int indirizzo) override { giornata_.confermata(indirizzo); }
    void verificata() override
    {
        verificata_ = true;
        giornata_.verificata();
    }
    void detto(const QString& testo) override { giornata_.detto(testo); }
    void guasto_porta_detto() override;

    void avvia(const QString& nome, Task<void> operazione);
    Task<void> connetti_in_giornata(QString nome);
    Task<void> programma_in_giornata(QString nome);
    Task<void> in_automatico(QString nome, std::optional<QString> nota);
    Task<std::optional<QString>> turno(QString nome);
    std::optional<QString> esito_verificato() const;
    Task<bool> prossima(QString nota);
    Task<void> fabbrica_in_giornata(QString nome, Banda banda);
    Task<void> trasmetti_in_giornata();
    Task<void> registrata(QString nome, Task<void> operazione);
    void interrompi_giornata(bool confermata_in_volo);
    void rispondi(const Risposta& r);
    Unita unita() const;

    void porta_persa(const ErrorePorta& errore);
    void al_cambio_di_operazione();
    void avvisa_perdita();
    void di_quel_che_resta();
    Task<void> avvisi_in_sospeso();

    Finestra& finestra_;
    // The port outlives the running operation, which may be waiting on it.
    PortaSeriale porta_;
    BloccoParametri blocco_;
    int fleg_ = 0;
    Giornata giornata_;
    Esecutore esecutore_{[this] { al_cambio_di_operazione(); }};
    Contesto contesto_{porta_, blocco_, fleg_, finestra_, *this};
    std::optional<ErrorePorta> perdita_; // the port vanished; not told yet
    bool guasto_detto_ = false;          // by the running or the last operation
    bool in_uscita_ = false;
    bool automatica_ = false;
    bool verificata_ = false; // the last programming or loading
    QStringList da_dire_;
    QString sito_ = sito_predefinito;
    std::optional<Valori> file_; // as the window showed it
};

} // namespace brenk
