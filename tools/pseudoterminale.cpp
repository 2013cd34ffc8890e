// SPDX-License-Identifier: GPL-3.0-or-later
#include "pseudoterminale.h"

#include <QSocketNotifier>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace brenk {

namespace {

bool rendi_raw(int fd)
{
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return false;
    ::cfmakeraw(&t);
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

void chiudi_notificatore(QSocketNotifier*& notificatore)
{
    if (notificatore == nullptr)
        return;
    // It may be the one whose signal is running now.
    notificatore->setEnabled(false);
    notificatore->deleteLater();
    notificatore = nullptr;
}

void chiudi_fd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

Pseudoterminale::Pseudoterminale(QObject* parent) : QObject(parent) {}

Pseudoterminale::~Pseudoterminale()
{
    chiudi();
}

bool Pseudoterminale::apri(QString* errore)
{
    chiudi();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return fallisci(errore, QStringLiteral("Impossibile aprire uno pseudo-terminale"));
    char nome[256];
    if (::ptsname_r(master_, nome, sizeof nome) != 0)
        return fallisci(errore, QStringLiteral("Nome dello pseudo-terminale non disponibile"));
    slave_ = ::open(nome, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave_ < 0 || !rendi_raw(master_) || !rendi_raw(slave_))
        return fallisci(errore, QStringLiteral("Impossibile preparare %1").arg(QString::fromLocal8Bit(nome)));
    dispositivo_ = QString::fromLocal8Bit(nome);

    lettura_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(lettura_, &QSocketNotifier::activated, this, &Pseudoterminale::leggi);
    scrittura_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    scrittura_->setEnabled(false);
    connect(scrittura_, &QSocketNotifier::activated, this, &Pseudoterminale::svuota_uscita);
    guarda_aperture();
    return true;
}

bool Pseudoterminale::fallisci(QString* errore, const QString& cosa)
{
    if (errore != nullptr)
        *errore = cosa + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    chiudi();
    return false;
}

// Our own slave descriptor is already open, so only the PC's opens count.
void Pseudoterminale::guarda_aperture()
{
    inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_ >= 0 && ::inotify_add_watch(inotify_, dispositivo_.toLocal8Bit().constData(), IN_OPEN | IN_CLOSE) < 0)
        chiudi_fd(inotify_);
    if (inotify_ < 0) {
        qWarning("brenk-sim: aperture di %s non osservabili: %s", qPrintable(dispositivo_), std::strerror(errno));
        return;
    }
    aperture_ = new QSocketNotifier(inotify_, QSocketNotifier::Read, this);
    connect(aperture_, &QSocketNotifier::activated, this, &Pseudoterminale::conta_aperture);
}

void Pseudoterminale::chiudi()
{
    chiudi_notificatore(lettura_);
    chiudi_notificatore(scrittura_);
    chiudi_notificatore(aperture_);
    chiudi_fd(master_);
    chiudi_fd(slave_);
    chiudi_fd(inotify_);
    ascoltatori_ = 0;
    uscita_.clear();
    dispositivo_.clear();
}

void Pseudoterminale::scrivi(const QByteArray& dati)
{
    if (!in_ascolto())
        return;
    uscita_ += dati;
    svuota_uscita();
}

void Pseudoterminale::svuota_uscita()
{
    while (!uscita_.isEmpty()) {
        const ssize_t n = ::write(master_, uscita_.constData(), static_cast<size_t>(uscita_.size()));
        if (n > 0) {
            uscita_.remove(0, n);
        } else if (errno != EINTR) {
            if (errno != EAGAIN) {
                qWarning("brenk-sim: scrittura fallita: %s", std::strerror(errno));
                uscita_.clear();
            }
            break;
        }
    }
    scrittura_->setEnabled(!uscita_.isEmpty());
}

void Pseudoterminale::leggi()
{
    QByteArray letti;
    char blocco[512];
    for (;;) {
        const ssize_t n = ::read(master_, blocco, sizeof blocco);
        if (n > 0) {
            letti.append(blocco, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // Holding a slave descriptor, the master neither ends nor fails;
            // should it, stop reading rather than spin on the notifier.
            if (n == 0 || errno != EAGAIN) {
                qWarning("brenk-sim: lettura fallita: %s", n == 0 ? "fine dei dati" : std::strerror(errno));
                lettura_->setEnabled(false);
            }
            break;
        }
    }
    // Last: a receiver may close the line.
    if (!letti.isEmpty())
        emit dati(letti);
}

void Pseudoterminale::conta_aperture()
{
    const int prima = ascoltatori_;
    alignas(inotify_event) char eventi[4096];
    ssize_t n;
    while ((n = ::read(inotify_, eventi, sizeof eventi)) > 0) {
        for (ssize_t i = 0; i < n;) {
            const auto* evento = reinterpret_cast<const inotify_event*>(eventi + i);
            if (evento->mask & IN_OPEN)
                ++ascoltatori_;
            if (evento->mask & IN_CLOSE)
                ascoltatori_ = std::max(0, ascoltatori_ - 1);
            i += static_cast<ssize_t>(sizeof(inotify_event) + evento->len);
        }
    }
    // Only with nobody on the slave: a reader that has just seen bytes ready
    // would otherwise find none, which a serial port takes for an error.
    if (prima > 0 && ascoltatori_ == 0) {
        ::tcflush(slave_, TCIFLUSH);
        uscita_.clear();
    }
}

} // namespace brenk
