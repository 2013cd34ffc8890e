// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulatore.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <stdio.h>
#include <unistd.h>

namespace brenk {

Simulatore::Simulatore(const Opzioni& opzioni, QObject* parent)
    : QObject(parent),
      opzioni_(opzioni),
      trasmettitore_(opzioni, orologio_reale(), [this] { return pty_.in_ascolto(); }),
      adattatore_(orologio_reale().sveglia())
{
    connect(adattatore_.get(), &Sveglia::suonata, this, &Simulatore::consegna_al_pc);
    connect(&pty_, &Pseudoterminale::dati, &ingresso_, &CodaLinea::metti);
    connect(&ingresso_, &CodaLinea::consegnato, &trasmettitore_, &Trasmettitore::ricevi);
    connect(&trasmettitore_, &Trasmettitore::invia, &uscita_, &CodaLinea::metti);
    connect(&uscita_, &CodaLinea::consegnato, this, &Simulatore::trasmesso);
    connect(&trasmettitore_, &Trasmettitore::riaggancio, this, &Simulatore::riaggancia);
    connect(&trasmettitore_, &Trasmettitore::stato_collegamento, this, &Simulatore::stato_collegamento);
    connect(&trasmettitore_, &Trasmettitore::trasmissione, this, &Simulatore::trasmissione);
    connect(&trasmettitore_, &Trasmettitore::ricevuto, this, &Simulatore::ricevuto);
    connect(&trasmettitore_, &Trasmettitore::ignorato, this, &Simulatore::ignorato);
}

Simulatore::~Simulatore()
{
    if (link_creato_ && QFileInfo(opzioni_.link).isSymLink())
        QFile::remove(opzioni_.link);
}

bool Simulatore::avvia(QString* errore)
{
    return apri_linea(errore);
}

void Simulatore::togli_unita()
{
    ingresso_.svuota();
    uscita_.svuota();
    trattenuti_.clear();
    adattatore_->ferma();
    trasmettitore_.ferma();
}

void Simulatore::metti_unita(const Memoria& memoria)
{
    trasmettitore_.imposta_memoria(memoria);
    trasmettitore_.avvia();
}

void Simulatore::riaggancia()
{
    if (!pty_.aperto())
        return;
    pty_.chiudi();
    togli_unita();
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
    trasmettitore_.avvia();
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

// A byte has crossed the line. The adapter passes it on at once, or with the
// others it holds at the next tick of its latency timer.
void Simulatore::trasmesso(quint8 byte)
{
    trattenuti_.append(static_cast<char>(byte));
    const int latenza = opzioni_.latenza_adattatore_ms.value_or(0);
    if (latenza <= 0) {
        consegna_al_pc();
    } else if (!adattatore_->attiva()) {
        const double adesso = trasmettitore_.ms();
        adattatore_->avvia(static_cast<int>(std::ceil(std::ceil(adesso / latenza) * latenza - adesso)));
    }
}

void Simulatore::consegna_al_pc()
{
    pty_.scrivi(trattenuti_);
    for (const char c : std::as_const(trattenuti_))
        inviati_.append({static_cast<quint8>(c), trasmettitore_.ms()});
    trattenuti_.clear();
}

} // namespace brenk
