// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The device fuzzer's checks of what each operation may tell the operator.

#include "banco_dispositivo.h"

#include <QStringList>

namespace {

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
bool verdetto(QStringList m)
{
    if (m == QStringList{atteso::errore_lettura})
        return true;
    return m.isEmpty()
           || (m.size() == 1
               && (uno_di(m.first(), atteso::scrittura_disturbata) || uno_di(m.first(), atteso::verifica_interrotta)
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
