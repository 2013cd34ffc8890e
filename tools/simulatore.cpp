#include "simulatore.h"

#include "params/blocco.h"
#include "params/fabbrica.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <stdio.h>
#include <unistd.h>

namespace brenk {

Memoria memoria_predefinita(Contenuto contenuto)
{
    Memoria memoria{};
    switch (contenuto) {
    case Contenuto::Zeri:
        break;
    case Contenuto::UHF:
        memoria = blocco_fabbrica(Banda::UHF);
        break;
    case Contenuto::VHF:
        memoria = blocco_fabbrica(Banda::VHF);
        break;
    case Contenuto::Vecchio:
        memoria = blocco_fabbrica(Banda::UHF);
        memoria[Tipo_brenk] = 0;
        memoria[totck] = 7; // anything but the block's checksum, 142
        break;
    }
    return memoria;
}

std::optional<Memoria> memoria_da_file(const QString& percorso, QString* errore)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errore != nullptr)
            *errore = QStringLiteral("%1: %2").arg(percorso, file.errorString());
        return std::nullopt;
    }
    const QByteArray dati = file.read(dimensione_blocco + 1);
    if (dati.size() != dimensione_blocco) {
        if (errore != nullptr)
            *errore = QStringLiteral("%1: servono esattamente %2 byte").arg(percorso).arg(dimensione_blocco);
        return std::nullopt;
    }
    Memoria memoria{};
    std::memcpy(memoria.data(), dati.constData(), memoria.size());
    return memoria;
}

Simulatore::Simulatore(const Opzioni& opzioni, QObject* parent)
    : QObject(parent),
      opzioni_(opzioni),
      memoria_(opzioni.memoria),
      ingresso_(opzioni.a_ritmo),
      uscita_(opzioni.a_ritmo)
{
    annunci_.setInterval(opzioni.intervallo_annunci_ms);
    annunci_.setTimerType(Qt::PreciseTimer);
    connect(&annunci_, &QTimer::timeout, this, &Simulatore::annuncia);
    connect(&pty_, &Pseudoterminale::dati, &ingresso_, &CodaLinea::metti);
    connect(&ingresso_, &CodaLinea::consegnato, this, &Simulatore::elabora);
    connect(&uscita_, &CodaLinea::consegnato, this, &Simulatore::trasmesso);
}

Simulatore::~Simulatore()
{
    if (link_creato_ && QFileInfo(opzioni_.link).isSymLink())
        QFile::remove(opzioni_.link);
}

bool Simulatore::avvia(QString* errore)
{
    orologio_.start();
    return apri_linea(errore);
}

void Simulatore::riaggancia()
{
    if (!pty_.aperto())
        return;
    pty_.chiudi();
    ingresso_.svuota();
    uscita_.svuota();
    entra(Stato::Annuncio);
    emit riagganciato();
}

bool Simulatore::ritorna(QString* errore)
{
    riaggancia();
    return apri_linea(errore);
}

bool Simulatore::apri_linea(QString* errore)
{
    if (!pty_.apri(errore))
        return false;
    if (!aggiorna_link(errore)) {
        pty_.chiudi();
        return false;
    }
    entra(Stato::Annuncio);
    return true;
}

// The new link is made beside the old one and renamed over it, so the path
// never goes missing for a PC that opens it meanwhile.
bool Simulatore::aggiorna_link(QString* errore)
{
    if (opzioni_.link.isEmpty())
        return true;
    const QFileInfo info(opzioni_.link);
    if (info.exists() && !info.isSymLink()) {
        if (errore != nullptr)
            *errore = QStringLiteral("%1 esiste e non è un collegamento simbolico").arg(opzioni_.link);
        return false;
    }
    const QByteArray link = QFile::encodeName(opzioni_.link);
    const QByteArray nuovo = link + ".nuovo";
    ::unlink(nuovo.constData());
    if (::symlink(QFile::encodeName(dispositivo()).constData(), nuovo.constData()) != 0
        || ::rename(nuovo.constData(), link.constData()) != 0) {
        if (errore != nullptr)
            *errore = QStringLiteral("%1: %2").arg(opzioni_.link, QString::fromLocal8Bit(std::strerror(errno)));
        ::unlink(nuovo.constData());
        return false;
    }
    link_creato_ = true;
    return true;
}

QByteArray Simulatore::byte_di(const QList<Evento>& registro)
{
    QByteArray byte;
    byte.reserve(registro.size());
    for (const Evento& e : registro)
        byte.append(static_cast<char>(e.byte));
    return byte;
}

double Simulatore::ms() const
{
    return static_cast<double>(orologio_.nsecsElapsed()) / 1e6;
}

void Simulatore::entra(Stato stato)
{
    const bool era_collegato = collegato();
    stato_ = stato;
    if (stato != Stato::Annuncio || !pty_.aperto() || opzioni_.mai_k)
        annunci_.stop();
    else if (!annunci_.isActive())
        annunci_.start();
    if (collegato() != era_collegato)
        emit stato_collegamento(collegato());
}

// Nobody hears an announcement while no port is open on the line.
void Simulatore::annuncia()
{
    if (pty_.in_ascolto())
        invia(opzioni_.spazzatura + 'K');
}

void Simulatore::elabora(quint8 byte)
{
    const double istante = ms();
    ricevuti_.append({byte, istante});
    emit ricevuto(byte, istante);
    if (opzioni_.riaggancia_dopo == ricevuti_.size()) {
        riaggancia();
        return;
    }
    switch (stato_) {
    case Stato::Annuncio:
        if (byte == 'L')
            entra(Stato::Comando);
        break;
    case Stato::Comando:
        comando(byte);
        break;
    case Stato::IndirizzoLettura:
        entra(Stato::Comando);
        leggi(byte);
        break;
    case Stato::IndirizzoScrittura:
        indirizzo_ = byte;
        entra(Stato::ValoreScrittura);
        break;
    case Stato::ValoreScrittura:
        entra(Stato::Comando);
        scrivi(indirizzo_, byte);
        break;
    }
}

void Simulatore::comando(quint8 lettera)
{
    switch (lettera) {
    case 'R':
        entra(Stato::IndirizzoLettura);
        break;
    case 'W':
        entra(Stato::IndirizzoScrittura);
        break;
    case 'Q':
        ++trasmissioni_;
        emit trasmissione();
        entra(Stato::Annuncio);
        break;
    case 'E':
        entra(Stato::Annuncio);
        break;
    default:
        emit ignorato(lettera);
    }
}

void Simulatore::leggi(quint8 indirizzo)
{
    quint8 valore = indirizzo < memoria_.size() ? memoria_[indirizzo] : 0;
    if (indirizzo == totck && opzioni_.checksum_errato)
        ++valore;
    QByteArray risposta(1, static_cast<char>(valore));
    if (opzioni_.extra_dopo == letture_)
        risposta.append(static_cast<char>(opzioni_.byte_extra));
    ++letture_;
    rispondi(risposta);
}

void Simulatore::scrivi(quint8 indirizzo, quint8 valore)
{
    ++scritture_;
    if (opzioni_.conferme_max && scritture_ > *opzioni_.conferme_max) {
        rispondi({});
        return;
    }
    if (indirizzo < memoria_.size())
        memoria_[indirizzo] = valore;
    rispondi(opzioni_.k_minuscola ? QByteArrayLiteral("k") : QByteArrayLiteral("K"));
}

void Simulatore::rispondi(const QByteArray& risposta)
{
    invia(opzioni_.risposte_sostituite.value(risposte_++, risposta));
}

void Simulatore::invia(const QByteArray& byte)
{
    uscita_.metti(byte);
}

void Simulatore::trasmesso(quint8 byte)
{
    pty_.scrivi(QByteArray(1, static_cast<char>(byte)));
    inviati_.append({byte, ms()});
}

} // namespace brenk
