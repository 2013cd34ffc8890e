// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The simulator tests' bench: the simulator and a PC on its device, for
// each test function in turn.

#include "pc_seriale.h"
#include "simulatore.h"

#include <QTest>

#include <memory>

// The tests' options name only the faults they set: the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

inline QByteArray byte(std::initializer_list<int> valori)
{
    QByteArray b;
    for (const int v : valori)
        b.append(static_cast<char>(v));
    return b;
}

Q_DECLARE_METATYPE(brenk::Simulatore::Opzioni)

class BancoSimulatore : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<brenk::Simulatore> sim;
    std::unique_ptr<PcSeriale> pc;
    qsizetype visti = 0; // bytes sent by the simulator before `pc->arrivati`

    bool avvia(brenk::Contenuto contenuto) { return avvia({.memoria = brenk::memoria_predefinita(contenuto)}); }
    bool avvia(const brenk::Simulatore::Opzioni& opzioni)
    {
        sim = std::make_unique<brenk::Simulatore>(opzioni);
        QString errore;
        if (!sim->avvia(&errore)) {
            qWarning("%s", qPrintable(errore));
            return false;
        }
        nuovo_pc(sim->dispositivo());
        return true;
    }

    void nuovo_pc(const QString& dispositivo)
    {
        pc = std::make_unique<PcSeriale>(dispositivo);
        visti = sim->inviati().size();
    }

    // Takes the link; what arrives afterwards starts `pc->arrivati` afresh.
    bool collega()
    {
        if (!pc->porta.isOpen() && !pc->apri())
            return false;
        pc->collega();
        // Linked, and nothing left on its way: a "K" that crossed the "L" is in.
        const auto fermo = [this] { return sim->collegato() && !sim->in_viaggio(); };
        if (!QTest::qWaitFor([&] { return fermo() && pc->arrivati == sim->inviati().mid(visti); }))
            return false;
        visti = sim->inviati().size();
        pc->arrivati.clear();
        return true;
    }

private slots:
    void cleanup()
    {
        pc.reset();
        sim.reset();
    }
};
