// The device operations against a transmitter whose memory, replies and
// faults come from the input, through the real serial port on a
// pseudo-terminal. Input, in order:
// - the operation after the connect: none, programming, "UHF", "VHF", "TX",
//   "Disconetti" (byte modulo 6);
// - fault flags: junk before "K", "k" for "K", wrong checksum, an extra
//   byte, a limit on acknowledgements, a hang-up, a disconnect, low tones;
// - the limit on acknowledgements, the read the extra byte follows, the
//   extra byte, the received byte the line drops on (2 bytes), the received
//   byte after which "Disconetti" is pressed (2 bytes);
// - the memory: a base (zeros, UHF, VHF, old type) and 64 bytes xored in;
// - the junk (length modulo 4, bytes);
// - replies replaced (count modulo 8; each: command number in 2 bytes,
//   length modulo 4, bytes), so a reply can be silent or several bytes;
// - the rest: the field texts for a programming, one a line.
// What must hold, besides no crash and no sanitizer report:
// - the transmitter receives an optional "L", then "R",a (a <= 62) and
//   "W",a,v (a <= 63) commands, then at most one final "E" or "Q"; nothing
//   else, and only a dropped line may cut the last command short;
// - the reads and writes run 0, 1, 2, ... in order: the connect's read, then
//   the writes, then a read-back only after the last write; writes that stop
//   before the last address (61 or 33 for a programming, 63 for a factory
//   block) end with the time-out message and no read-back;
// - a programming writes its fixed values and a checksum that matches the
//   bytes it wrote; a factory loading writes the factory block;
// - with no stray byte on the line, a write follows only an acknowledged one;
// - every operation ends within its time, or waits on a read the
//   transmitter never answers, which "Disconetti" then ends;
// - fleg is 0 after a programming and the progress bar hidden;
// - each operation shows only the messages it may show, in their order;
//   "Porta seriale Guasta o Mancante" only right after a port error, and the
//   error path only after a dropped line or a disconnect;
// - a clean connect reads the memory as it is, with the checksum message
//   exactly when the stored checksum is wrong;
// - after "Disconetti" or "TX": " Non Connesso", the port closed, the fields
//   empty.

#include "testi.h"
#include "configuratore.h"
#include "simulatore.h"
#include "params/fabbrica.h"
#include "params/frequenza.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <optional>
#include <utility>

namespace {

using namespace brenk;
namespace atteso = brenk::prova::atteso;
using brenk::prova::FinestraFinta;

constexpr int timeout_risposta_ms = 30;
// Short, for speed; a "K" that crosses the "L" only shifts the read, which
// every check but the clean read's allows.
constexpr int intervallo_annunci_ms = 10;
constexpr int limite_operazione_ms = 10000;
// A line quiet this long with an operation running: time to see whether it
// waits on a read left unanswered.
constexpr int silenzio_ms = 50;
// After the last operation, for the last bytes to reach the transmitter.
constexpr int assestamento_ms = 20;
constexpr int ultima_lettura = 62;

enum class Operazione { Nessuna, Programma, Uhf, Vhf, Tx, Disconnetti };

struct Scenario {
    Operazione operazione = Operazione::Nessuna;
    Simulatore::Opzioni opzioni;
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

Memoria memoria(Ingresso& in)
{
    static constexpr Contenuto basi[] = {Contenuto::Zeri, Contenuto::UHF, Contenuto::VHF, Contenuto::Vecchio};
    Memoria m = memoria_predefinita(basi[in.byte() % 4]);
    for (auto& b : m)
        b = static_cast<std::uint8_t>(b ^ in.byte());
    return m;
}

Scenario leggi_scenario(Ingresso& in)
{
    Scenario s;
    s.operazione = static_cast<Operazione>(in.byte() % 6);
    const int guasti = in.byte();
    auto& o = s.opzioni;
    const int conferme = in.byte();
    const int extra_dopo = in.byte();
    o.byte_extra = static_cast<std::uint8_t>(in.byte());
    const int riaggancia = in.parola();
    const int disconnetti = in.parola();
    o.memoria = memoria(in);
    const QByteArray spazzatura = in.byte(static_cast<std::size_t>(in.byte() % 4));
    for (int n = in.byte() % 8; n > 0; --n) {
        const int numero = in.parola();
        o.risposte_sostituite.insert(numero, in.byte(static_cast<std::size_t>(in.byte() % 4)));
    }
    if (guasti & 1)
        o.spazzatura = spazzatura;
    o.k_minuscola = guasti & 2;
    o.checksum_errato = guasti & 4;
    if (guasti & 8)
        o.extra_dopo = extra_dopo;
    if (guasti & 16)
        o.conferme_max = conferme;
    if (guasti & 32)
        o.riaggancia_dopo = 1 + riaggancia;
    if (guasti & 64)
        s.disconnetti_dopo = disconnetti;
    s.toni_bassi = guasti & 128;
    s.testi = QString::fromUtf8(in.resto()).split(QLatin1Char('\n'));
    o.intervallo_annunci_ms = intervallo_annunci_ms;
    return s;
}

// A command as the transmitter received it; -1 for a part that never came.
struct Comando {
    char lettera;
    int indirizzo = -1;
    int valore = -1;
};

// Everything one input runs on, the transmitter at the far end.
struct Banco : prova::Configuratore {
    explicit Banco(const Simulatore::Opzioni& opzioni) : sim(opzioni)
    {
        QObject::connect(&sim, &Simulatore::riagganciato, &sim, [this] { riagganciato = true; });
        porta.imposta_timeout(timeout_risposta_ms);
    }

    Simulatore sim;
    bool riagganciato = false;
    bool disconnesso = false;
};

struct Esito {
    const Banco& banco;
    QList<Comando> comandi;
};

void stampa(const QByteArray& byte)
{
    for (const char c : byte)
        std::fprintf(stderr, " %02x", static_cast<unsigned char>(c));
    std::fprintf(stderr, "\n");
}

[[noreturn]] void fallisce(const Banco& b, const char* cosa)
{
    std::fprintf(stderr, "%s\nstatus \"%s\", fleg %d, port %s\nmessages:\n", cosa,
                 qPrintable(b.finestra.stato), b.fleg, b.porta.aperta() ? "open" : "closed");
    for (const auto& m : b.finestra.messaggi)
        std::fprintf(stderr, "  \"%s\"\n", qPrintable(m.testo));
    std::fprintf(stderr, "received:");
    stampa(b.sim.ricevuti());
    std::fprintf(stderr, "sent:");
    stampa(b.sim.inviati());
    std::abort();
}

[[noreturn]] void fallisce(const Esito& e, const char* cosa)
{
    fallisce(e.banco, cosa);
}

void richiedi(bool condizione, const Banco& b, const char* cosa)
{
    if (!condizione)
        fallisce(b, cosa);
}


// How long the transmitter has received nothing.
class Silenzio {
public:
    explicit Silenzio(const Banco& b) : b_(b) { ricomincia(); }
    void ricomincia()
    {
        visti_ = b_.sim.registro_ricevuti().size();
        fermo_.start();
    }
    bool da(int ms)
    {
        if (b_.sim.registro_ricevuti().size() != visti_)
            ricomincia();
        return fermo_.elapsed() >= ms;
    }

private:
    const Banco& b_;
    qsizetype visti_ = 0;
    QElapsedTimer fermo_;
};

QList<Comando> comandi_di(const Banco& b)
{
    const QByteArray r = b.sim.ricevuti();
    QList<Comando> comandi;
    for (qsizetype i = 0; i < r.size();) {
        const char lettera = r.at(i++);
        Comando c{lettera};
        const int parti = lettera == 'W' ? 2 : lettera == 'R' ? 1 : 0;
        if (lettera == 'L') {
            richiedi(i == 1, b, "\"L\" after the start");
        } else if (lettera == 'E' || lettera == 'Q') {
            richiedi(i == r.size(), b, "bytes after the final letter");
        } else if (parti == 0) {
            fallisce(b, "unknown letter on the line");
        }
        if (parti >= 1 && i < r.size())
            c.indirizzo = static_cast<std::uint8_t>(r.at(i++));
        if (parti == 2 && i < r.size())
            c.valore = static_cast<std::uint8_t>(r.at(i++));
        if ((parti >= 1 && c.indirizzo < 0) || (parti == 2 && c.valore < 0))
            richiedi(b.riagganciato, b, "command cut short on a live line");
        richiedi(c.indirizzo <= (lettera == 'R' ? ultima_lettura : 63), b, "address out of range");
        comandi.append(c);
    }
    return comandi;
}

// The commands of one letter from `da` on, whose addresses must run 0, 1, 2, ...
qsizetype serie(const Esito& e, qsizetype da, char lettera)
{
    qsizetype i = da;
    for (; i < e.comandi.size() && e.comandi[i].lettera == lettera; ++i)
        if (e.comandi[i].indirizzo >= 0 && e.comandi[i].indirizzo != i - da)
            fallisce(e, "addresses out of order");
    return i - da;
}

// The values a programming writes whatever the window holds, and the checksum
// over what addresses 0 to 36 received.
void controlla_programmazione(const Esito& e, qsizetype primo, qsizetype scritture)
{
    std::array<int, 62> v;
    v.fill(-1);
    for (qsizetype a = 0; a < scritture; ++a)
        v[static_cast<std::size_t>(a)] = e.comandi[primo + a].valore;
    static constexpr std::pair<int, int> fissi[] = {{ncicli, 2}, {Byt12, 3}, {Zelmbrenk, 1}, {Tipo_brenk, 78}};
    for (const auto& [indirizzo, valore] : fissi)
        if (v[indirizzo] >= 0 && v[indirizzo] != valore)
            fallisce(e, "fixed value not written");
    if (std::any_of(v.begin() + Zelmbrenk + 1, v.begin() + Tipo_brenk, [](int x) { return x > 0; }))
        fallisce(e, "addresses 37 to 59 not zeroed");
    if (v[totck] >= 0 && v[totck] != complemento(std::accumulate(v.begin(), v.begin() + Zelmbrenk + 1, 0LL)))
        fallisce(e, "checksum does not match the bytes written");
}

void controlla_fabbrica(const Esito& e, qsizetype primo, qsizetype scritture, Banda banda)
{
    const auto attesi = blocco_fabbrica(banda);
    for (qsizetype a = 0; a < scritture; ++a) {
        const int v = e.comandi[primo + a].valore;
        if (v >= 0 && v != attesi[static_cast<std::size_t>(a)])
            fallisce(e, "factory block not written as it is");
    }
}

struct Passo {
    qsizetype primo_messaggio = 0;
    bool nuovo = false; // a programming on a new-type transmitter
};

// Which texts may appear.
bool errore_di_porta(const Banco& b, const QString& testo)
{
    using E = QSerialPort::SerialPortError;
    for (E e : {E::NoError, E::DeviceNotFoundError, E::PermissionError, E::OpenError, E::WriteError, E::ReadError,
                E::ResourceError, E::UnsupportedOperationError, E::UnknownError, E::TimeoutError, E::NotOpenError})
        if (errore_porta(e, b.porta.dispositivo()).testo() == testo)
            return true;
    return false;
}

QStringList messaggi_da(const Banco& b, qsizetype primo)
{
    return b.finestra.testi_messaggi().mid(primo);
}

void controlla_messaggi_connessione(const Banco& b, const QStringList& m)
{
    if (m.isEmpty() || m == QStringList{atteso::errore_lettura})
        return;
    richiedi(m.size() == 2 && errore_di_porta(b, m[0]) && m[1] == atteso::porta_guasta, b,
             "connect: unexpected messages");
    richiedi(b.riagganciato || b.disconnesso, b, "error path without a dropped line or a disconnect");
}

void controlla_messaggi_programmazione(const Banco& b, QStringList m)
{
    if (!m.isEmpty() && m.first() == atteso::fuori_range)
        m.removeFirst();
    if (m.isEmpty())
        return;
    const QString& t = m.first();
    const bool noto = t == atteso::fuori_banda || t == atteso::codice || t == atteso::time_out
                      || t == atteso::errore_lettura || t.startsWith(QStringLiteral("Valore fuori range in \""));
    richiedi(m.size() == 1 && noto, b, "programming: unexpected messages");
}

void controlla_messaggi_fabbrica(const Banco& b, const QStringList& m)
{
    richiedi(m.isEmpty() || m == QStringList{atteso::time_out} || m == QStringList{atteso::errore_lettura}, b,
             "factory loading: unexpected messages");
}

// The only wait without an end of its own: a read the transmitter leaves
// unanswered, with the port open.
bool lettura_senza_risposta(const Banco& b, const Scenario& s)
{
    const auto comandi = comandi_di(b);
    if (!b.porta.aperta() || comandi.isEmpty() || comandi.last().lettera != 'R' || comandi.last().indirizzo < 0)
        return false;
    const auto numero = std::count_if(comandi.begin(), comandi.end(),
                                      [](const Comando& c) { return c.lettera == 'R' || c.lettera == 'W'; }) - 1;
    const auto r = s.opzioni.risposte_sostituite.constFind(static_cast<int>(numero));
    return r != s.opzioni.risposte_sostituite.cend() && r->isEmpty();
}

// Runs one operation to its end; a read left unanswered is ended by
// "Disconetti", as the operator would.
void esegui(Banco& b, const Scenario& s, Task<void> operazione)
{
    richiedi(b.esecutore.avvia(std::move(operazione)), b, "operation refused");
    Silenzio silenzio(b);
    QElapsedTimer tempo;
    tempo.start();
    while (b.esecutore.in_corso() && tempo.elapsed() < limite_operazione_ms) {
        prova::attendi([&] { return !b.esecutore.in_corso() || silenzio.da(silenzio_ms); },
                    limite_operazione_ms);
        if (!b.esecutore.in_corso())
            break;
        if (lettura_senza_risposta(b, s)) {
            b.disconnesso = true;
            congeda(b.contesto, 'E');
        }
        silenzio.ricomincia();
    }
    richiedi(!b.esecutore.in_corso(), b, "operation did not end");
    if (b.disconnesso)
        richiedi(!b.porta.aperta() && b.finestra.stato == atteso::non_connesso, b, "still connected after Disconetti");
}

void connetti(Banco& b, const Scenario& s)
{
    esegui(b, s, brenk::connetti(b.contesto));
    const QStringList m = messaggi_da(b, 0);
    controlla_messaggi_connessione(b, m);
    if (m.size() < 2 && !b.disconnesso)
        richiedi(b.finestra.stato == atteso::connesso && b.fleg == 0 && b.porta.aperta(), b, "connect did not connect");
}

// Nothing reaches the configurator but what it waits for: its "L" followed
// the one announcement, and no reply up to number `ultima_risposta` was
// replaced or followed by an extra byte.
bool senza_byte_in_piu(const Banco& b, const Scenario& s, int ultima_risposta)
{
    const auto& o = s.opzioni;
    if (o.extra_dopo || o.spazzatura.contains('K'))
        return false;
    if (!o.risposte_sostituite.isEmpty() && o.risposte_sostituite.firstKey() <= ultima_risposta)
        return false;
    const auto& ricevuti = b.sim.registro_ricevuti();
    if (ricevuti.isEmpty() || ricevuti.first().byte != 'L')
        return false;
    const auto& inviati = b.sim.registro_inviati();
    const auto prima_di_l = std::count_if(inviati.begin(), inviati.end(),
                                          [&](const Simulatore::Evento& e) { return e.ms < ricevuti.first().ms; });
    return prima_di_l == o.spazzatura.size() + 1;
}

bool lettura_pulita(const Banco& b, const Scenario& s)
{
    return !s.opzioni.riaggancia_dopo && !s.disconnetti_dopo && senza_byte_in_piu(b, s, ultima_lettura);
}

int conferme_inviate(const Banco& b, const Scenario& s)
{
    const auto& o = s.opzioni;
    if (o.k_minuscola)
        return 0;
    return o.conferme_max ? std::min(b.sim.scritture(), *o.conferme_max) : b.sim.scritture();
}

void controlla_lettura(const Banco& b, const Scenario& s)
{
    if (!lettura_pulita(b, s))
        return;
    const Memoria& m = s.opzioni.memoria;
    for (int a = 0; a <= Zelmbrenk; ++a) {
        const double atteso = a == ByteT3 ? m[ByteT3] / 2.0 : m[static_cast<std::size_t>(a)];
        richiedi(b.blocco[a] == atteso, b, "clean read stored another value");
    }
    richiedi(b.blocco[Tipo_brenk] == m[Tipo_brenk] && b.blocco[brenkVU] == m[brenkVU], b, "type or band misread");
    const auto letto = static_cast<std::uint8_t>(m[totck] + (s.opzioni.checksum_errato ? 1 : 0));
    const bool errato = m[Tipo_brenk] == tipo_nuovo
                        && complemento(std::accumulate(m.begin(), m.begin() + Zelmbrenk + 1, 0LL)) != letto;
    richiedi(messaggi_da(b, 0) == (errato ? QStringList{atteso::errore_lettura} : QStringList{}), b,
             "checksum message wrong");
}

void prepara_campi(Banco& b, const Scenario& s)
{
    static constexpr Campo campi[] = {Campo::CodiceBrenk, Campo::FqTx, Campo::txb_tmp_rap, Campo::txb_amp,
                                      Campo::Cmb_n_ing_all, Campo::Cmb_n_tx_tot, Campo::cmb_Zelmrep,
                                      Campo::Cmb_tmr_p_all};
    for (qsizetype i = 0; i < s.testi.size() && i < qsizetype(std::size(campi)); ++i)
        if (!s.testi[i].isEmpty())
            b.finestra.imposta_testo(campi[i], s.testi[i]);
    if (s.toni_bassi)
        b.finestra.seleziona(Opzione::Opt_toni_bassi);
}

// What the buttons may start now, as the status supervision allows.
bool connesso(const Banco& b)
{
    return b.finestra.stato == atteso::connesso && b.fleg == 0 && !b.esecutore.in_corso();
}

Passo operazione(Banco& b, const Scenario& s)
{
    Passo p{b.finestra.messaggi.size(), b.blocco[Tipo_brenk] == tipo_nuovo};
    switch (s.operazione) {
    case Operazione::Nessuna:
        break;
    case Operazione::Programma:
        prepara_campi(b, s);
        esegui(b, s, programma(b.contesto));
        richiedi(b.fleg == 0 && !b.finestra.progresso_visibile, b, "programming left fleg or the bar");
        controlla_messaggi_programmazione(b, messaggi_da(b, p.primo_messaggio));
        break;
    case Operazione::Uhf:
    case Operazione::Vhf:
        esegui(b, s, carica_fabbrica(b.contesto, s.operazione == Operazione::Uhf ? Banda::UHF : Banda::VHF));
        controlla_messaggi_fabbrica(b, messaggi_da(b, p.primo_messaggio));
        break;
    case Operazione::Tx:
    case Operazione::Disconnetti:
        congeda(b.contesto, s.operazione == Operazione::Tx ? 'Q' : 'E');
        richiedi(!b.porta.aperta() && b.finestra.stato == atteso::non_connesso, b, "still connected");
        richiedi(std::all_of(b.finestra.testi.cbegin(), b.finestra.testi.cend(), std::mem_fn(&QString::isEmpty)), b,
                 "fields not emptied");
        richiedi(messaggi_da(b, p.primo_messaggio).isEmpty(), b, "message on a disconnect");
        break;
    }
    return p;
}

// The shape of everything on the line: read, writes, read-back.
void controlla_linea(const Banco& b, const Scenario& s, const Passo& p)
{
    const Esito e{b, comandi_di(b)};
    qsizetype i = !e.comandi.isEmpty() && e.comandi.first().lettera == 'L' ? 1 : 0;
    const qsizetype letture = serie(e, i, 'R');
    i += letture;
    const qsizetype scritture = serie(e, i, 'W');
    const qsizetype primo_scritto = i;
    i += scritture;
    const qsizetype riletture = serie(e, i, 'R');
    i += riletture;
    if (i < e.comandi.size() && (e.comandi[i].lettera == 'E' || e.comandi[i].lettera == 'Q'))
        ++i;
    if (i != e.comandi.size())
        fallisce(e, "commands out of their order");
    if (scritture > 0 && letture != ultima_lettura + 1)
        fallisce(e, "writes after an incomplete read");

    const bool fabbrica = s.operazione == Operazione::Uhf || s.operazione == Operazione::Vhf;
    const qsizetype tutte = fabbrica ? dimensione_blocco : p.nuovo ? 62 : 34;
    const bool time_out = messaggi_da(b, p.primo_messaggio).contains(atteso::time_out);
    if (scritture > tutte)
        fallisce(e, "more writes than the block has");
    if (riletture > 0 && (scritture != tutte || time_out))
        fallisce(e, "read-back after failed writes");
    if (scritture > 0 && scritture < tutte && !time_out)
        fallisce(e, "writes stopped without the time-out message");
    if (senza_byte_in_piu(b, s, std::numeric_limits<int>::max()) && scritture > conferme_inviate(b, s) + 1)
        fallisce(e, "a write went on without its acknowledgement");
    if (s.operazione == Operazione::Programma)
        controlla_programmazione(e, primo_scritto, scritture);
    else if (fabbrica)
        controlla_fabbrica(e, primo_scritto, scritture, s.operazione == Operazione::Uhf ? Banda::UHF : Banda::VHF);
    else if (scritture > 0)
        fallisce(e, "writes without a writing operation");
}

void disconnetti_dopo(Banco& b, int byte_ricevuti)
{
    auto premi = [&b] {
        if (b.disconnesso)
            return;
        b.disconnesso = true;
        congeda(b.contesto, 'E');
    };
    if (byte_ricevuti == 0) {
        QTimer::singleShot(0, &b.sim, premi);
        return;
    }
    QObject::connect(&b.sim, &Simulatore::ricevuto, &b.sim, [&b, byte_ricevuti, premi] {
        if (b.sim.registro_ricevuti().size() == byte_ricevuti)
            QTimer::singleShot(0, &b.sim, premi);
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
    Ingresso in(dati, dimensione);
    const Scenario s = leggi_scenario(in);
    Banco b(s.opzioni);
    richiedi(b.sim.avvia(), b, "the simulated line did not open");
    qputenv("BRENK_COM1", b.sim.dispositivo().toLocal8Bit());
    if (s.disconnetti_dopo)
        disconnetti_dopo(b, *s.disconnetti_dopo);

    connetti(b, s);
    controlla_lettura(b, s);
    const Passo p = connesso(b) ? operazione(b, s) : Passo{b.finestra.messaggi.size(), false};
    Silenzio silenzio(b);
    prova::attendi([&] { return silenzio.da(assestamento_ms); }, limite_operazione_ms);
    richiedi(!b.esecutore.in_corso(), b, "an operation is still running");
    controlla_linea(b, s, p);
    return 0;
}
