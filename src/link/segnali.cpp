// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/segnali.h"

#include <QSocketNotifier>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>
#endif

namespace brenk {

#ifdef Q_OS_LINUX

namespace {

sigset_t segnali_di_uscita()
{
    sigset_t segnali;
    sigemptyset(&segnali);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&segnali, s);
    return segnali;
}

} // namespace

void SegnaliDiUscita::trattieni()
{
    const sigset_t segnali = segnali_di_uscita();
    pthread_sigmask(SIG_BLOCK, &segnali, nullptr);
}

// The calling thread holds them back too, should main not have done so.
SegnaliDiUscita::SegnaliDiUscita(QObject* parent) : QObject(parent)
{
    trattieni();
    const sigset_t segnali = segnali_di_uscita();
    descrittore_ = signalfd(-1, &segnali, SFD_NONBLOCK | SFD_CLOEXEC);
    if (descrittore_ < 0)
        return;
    notifica_ = std::make_unique<QSocketNotifier>(descrittore_, QSocketNotifier::Read);
    connect(notifica_.get(), &QSocketNotifier::activated, this, &SegnaliDiUscita::leggi);
}

SegnaliDiUscita::~SegnaliDiUscita()
{
    notifica_.reset();
    if (descrittore_ >= 0)
        ::close(descrittore_);
}

void SegnaliDiUscita::leggi()
{
    signalfd_siginfo info;
    bool arrivati = false;
    while (::read(descrittore_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        arrivati = true;
    if (arrivati)
        emit arrivato();
}

#else

void SegnaliDiUscita::trattieni() {}
SegnaliDiUscita::SegnaliDiUscita(QObject* parent) : QObject(parent) {}
SegnaliDiUscita::~SegnaliDiUscita() = default;
void SegnaliDiUscita::leggi() {}

#endif

} // namespace brenk
