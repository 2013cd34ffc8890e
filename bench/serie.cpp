// SPDX-License-Identifier: GPL-3.0-or-later
// The hands-free series: new units one after the other, programmed with no
// click once "Connetti" has started the run. A simulated technician takes
// each unit off the cable half a second after its farewell and plugs the
// next one in a second and a half later. For each unit, from the "K" the
// window answered to the farewell "E": the bytes on the line, their line
// time and the wall time; then the time between one unit's farewell and the
// next one's "K" answered, which is the technician's.

#include "banco.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <vector>

namespace brenk {

namespace {

constexpr int tolta_dopo_ms = 500;
constexpr int messa_dopo_ms = 2000;

struct Tratto {
    double inizio = 0; // s, the "K" answered starts crossing the line
    double fine = 0;   // s, the farewell has crossed it
    qsizetype byte = 0;
};

// Each unit's stretch, from its "L" to the "E" after it, read command by
// command: an address or a value may be any byte.
std::vector<Tratto> tratti(const QList<Simulatore::Evento>& ricevuti, const QList<Simulatore::Evento>& inviati)
{
    std::vector<Tratto> t;
    qsizetype l = -1;
    for (qsizetype i = 0; i < ricevuti.size(); ++i) {
        const auto byte = ricevuti[i].byte;
        if (byte == 'R' || byte == 'W')
            i += byte == 'R' ? 1 : 2;
        else if (byte == 'L')
            l = i;
        else if (byte == 'E' && l >= 0) {
            qsizetype primo = inviati.size() - 1;
            while (primo > 0 && inviati[primo].ms > ricevuti[l].ms)
                --primo;
            const auto risposte = std::ranges::count_if(inviati.mid(primo),
                                                        [&](const auto& b) { return b.ms <= ricevuti[i].ms; });
            t.push_back({inviati[primo].ms / 1000.0 - secondi_per_byte, ricevuti[i].ms / 1000.0, i - l + 1 + risposte});
            l = -1;
        }
    }
    return t;
}

void stampa_serie(const std::vector<Tratto>& t)
{
    std::vector<double> rapporti;
    double linea = 0;
    double parete = 0;
    double cambi = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        linea += double(t[i].byte) * secondi_per_byte;
        parete += t[i].fine - t[i].inizio;
        rapporti.push_back((t[i].fine - t[i].inizio) / (double(t[i].byte) * secondi_per_byte));
        if (i > 0)
            cambi += t[i].inizio - t[i - 1].fine;
    }
    std::ranges::sort(rapporti);
    const double n = double(t.size());
    std::printf("serie automatica: %zu unita, nessun clic dopo \"Connetti\"; per unita %.0f byte, linea %.3f s, "
                "misurato %.3f s, rapporto %.4f (%.4f-%.4f); cambio di unita %.3f s (il tecnico: %.3f s)\n",
                t.size(), double(t.back().byte), linea / n, parete / n, parete / linea, rapporti.front(),
                rapporti.back(), t.size() > 1 ? cambi / (n - 1) : 0.0, messa_dopo_ms / 1000.0);
}

} // namespace

void misura_serie(const QString& link, int unita)
{
    QTemporaryDir cartella;
    Banco banco(link);
    banco.mostra();
    banco.finestra.usa_registro(cartella.filePath(QStringLiteral("serie.sqlite")));
    for (const char* casella : {"Chk_serie", "Chk_automatica"})
        banco.finestra.findChild<QCheckBox*>(QString::fromLatin1(casella))->setChecked(true);
    // The site's values: the first unit's, with the site's first code.
    banco.connetti();
    banco.disconnetti();
    banco.finestra.findChild<QLineEdit*>(QStringLiteral("CodiceBrenk"))->setText(QStringLiteral("300"));
    const qsizetype gia = banco.sim.ricevuti().size();

    std::atomic<int> congedi = 0;
    banco.sim.usa([&congedi, unita](Simulatore& s) {
        QObject::connect(&s, &Simulatore::ricevuto, &s, [&s, &congedi, unita](quint8 byte, double) {
            if (byte != 'E' || ++congedi >= unita)
                return;
            QTimer::singleShot(tolta_dopo_ms, &s, [&s] { s.togli_unita(); });
            QTimer::singleShot(messa_dopo_ms, &s, [&s] { s.metti_unita(memoria_predefinita(Contenuto::UHF)); });
        });
    });
    banco.premi("Cmd_connetti");
    attendi([&] { return congedi >= unita || !banco.finestra.occupato(); }, 10);
    banco.premi("Cmd_disconetti");
    attendi([&] { return !banco.finestra.occupato(); });
    const auto ricevuti = banco.sim.ricevuti();
    const auto t = tratti(ricevuti.mid(gia), banco.sim.inviati());
    if (qsizetype(t.size()) != unita)
        std::printf("serie automatica: %zu unita su %d\n", t.size(), unita);
    else
        stampa_serie(t);
}

} // namespace brenk
