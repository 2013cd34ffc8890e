// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The master side of a pseudo-terminal: the transmitter's end of the line.
// The PC opens the slave side as a serial port.
//
// Both sides are raw, so every byte passes untranslated. This object keeps a
// slave descriptor of its own, so the master never sees the slave closed and
// reads never fail when the PC closes its port.
//
// A real line loses what is sent while no port listens, but a pseudo-terminal
// keeps it for the next opener. So opens and closes of the slave are watched
// (inotify): when the last listener closes it, what is still queued for the
// slave is dropped, and nothing is written until a listener opens it again.

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace brenk {

class Pseudoterminale : public QObject {
    Q_OBJECT
public:
    explicit Pseudoterminale(QObject* parent = nullptr);
    ~Pseudoterminale() override;

    // Opens a new pseudo-terminal, closing the current one first.
    bool apri(QString* errore);
    // Closes the master side. To whoever holds the slave the line is gone, as
    // after pulling a USB adapter; the slave device disappears.
    void chiudi();

    bool aperto() const { return master_ >= 0; }
    // The slave device; empty while closed.
    QString dispositivo() const { return dispositivo_; }
    // Whether someone else holds the slave open. Always true when opens
    // cannot be watched.
    bool in_ascolto() const { return aperto() && (inotify_ < 0 || ascoltatori_ > 0); }

    // Lost while nobody listens.
    void scrivi(const QByteArray& dati);

signals:
    void dati(const QByteArray& dati);

private:
    bool fallisci(QString* errore, const QString& cosa);
    void guarda_aperture();
    void leggi();
    void svuota_uscita();
    void conta_aperture();

    int master_ = -1;
    int slave_ = -1;
    int inotify_ = -1;
    int ascoltatori_ = 0;
    QString dispositivo_;
    QByteArray uscita_;
    QSocketNotifier* lettura_ = nullptr;
    QSocketNotifier* scrittura_ = nullptr;
    QSocketNotifier* aperture_ = nullptr;
};

} // namespace brenk
