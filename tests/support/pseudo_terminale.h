// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A bare pseudo-terminal whose far end the test drives byte by byte, so that
// tests see exactly what the link puts on the line and decide what it gets.

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

class PseudoTerminale {
public:
    PseudoTerminale()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            return;
        dispositivo_ = QString::fromLocal8Bit(::ptsname(master_));
        // Our own hold on the slave keeps the master readable after the
        // port under test closes.
        slave_ = ::open(dispositivo_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        for (const int estremo : {master_, slave_}) {
            termios t{};
            ::tcgetattr(estremo, &t);
            ::cfmakeraw(&t);
            ::tcsetattr(estremo, TCSANOW, &t);
        }
    }
    ~PseudoTerminale() { riaggancia(); }
    PseudoTerminale(const PseudoTerminale&) = delete;
    PseudoTerminale& operator=(const PseudoTerminale&) = delete;

    bool valido() const { return master_ >= 0 && slave_ >= 0; }
    QString dispositivo() const { return dispositivo_; }

    void scrivi(const QByteArray& byte) const
    {
        [[maybe_unused]] auto n = ::write(master_, byte.constData(), static_cast<size_t>(byte.size()));
    }
    // Everything the port has written so far.
    QByteArray ricevuti()
    {
        char blocco[256];
        for (ssize_t n; (n = ::read(master_, blocco, sizeof blocco)) > 0;)
            ricevuti_.append(blocco, n);
        return ricevuti_;
    }
    // The line settings as the far end finds them now.
    termios impostazioni() const
    {
        termios t{};
        ::tcgetattr(slave_, &t);
        return t;
    }
    // The line goes dead, as when an adapter is pulled out.
    void riaggancia()
    {
        if (slave_ >= 0)
            ::close(std::exchange(slave_, -1));
        if (master_ >= 0)
            ::close(std::exchange(master_, -1));
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString dispositivo_;
    QByteArray ricevuti_;
};
