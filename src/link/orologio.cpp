// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/orologio.h"

#include <QElapsedTimer>
#include <QTimer>

namespace brenk {

namespace {

class SvegliaQt : public Sveglia {
public:
    SvegliaQt()
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, &Sveglia::suonata);
    }
    void avvia(int ms) override { timer_.start(ms); }
    void ferma() override { timer_.stop(); }
    bool attiva() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

class OrologioQt : public Orologio {
public:
    OrologioQt() { inizio_.start(); }
    std::unique_ptr<Sveglia> sveglia() override { return std::make_unique<SvegliaQt>(); }
    double adesso_ms() const override { return static_cast<double>(inizio_.nsecsElapsed()) / 1e6; }

private:
    QElapsedTimer inizio_;
};

} // namespace

Orologio& orologio_reale()
{
    static OrologioQt orologio;
    return orologio;
}

} // namespace brenk
