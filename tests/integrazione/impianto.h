// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real main window and a simulated transmitter at the far end of its
// "Com 1": on the virtual line, whose time moves only when the window waits
// and whose far end takes one transmitter after another, or on a
// pseudo-terminal through the real serial port, in real time.

#include "banco.h"
#include "esegui.h"
#include "linea_virtuale.h"
#include "simulatore.h"

#include <QTemporaryDir>

// The tests' options name only the faults they set: the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

enum class Linea { Virtuale, Reale };

inline brenk::OpzioniSimulatore trasmettitore(brenk::Contenuto c, std::optional<int> indirizzo_guasto = {},
                                              bool mai_k = false)
{
    return {.memoria = brenk::memoria_predefinita(c), .mai_k = mai_k, .indirizzo_guasto = indirizzo_guasto};
}

struct Impianto {
    explicit Impianto(brenk::OpzioniSimulatore o = trasmettitore(brenk::Contenuto::UHF), Linea l = Linea::Virtuale)
    {
        if (l == Linea::Reale) {
            o.link = cartella.filePath(QStringLiteral("com1"));
            sim = std::make_unique<brenk::Simulatore>(o);
            sim->avvia();
            qputenv("BRENK_COM1", o.link.toLocal8Bit());
            return;
        }
        linea = std::make_unique<brenk::prova::LineaVirtuale>(o, orologio);
        qputenv("BRENK_COM1", "virtuale");
        banco.dispositivo = [this] { return linea->dispositivo(); };
        banco.orologio = &orologio;
    }
    ~Impianto() { qunsetenv("BRENK_COM1"); }

    // Another transmitter at the far end of the virtual line.
    void collega(brenk::Contenuto c, std::optional<int> guasto = {}) { linea->collega(trasmettitore(c, guasto)); }
    // The virtual line's transmitter.
    const brenk::Trasmettitore& tx() const { return linea->trasmettitore(); }
    // Every byte the transmitter has received, and how many writes.
    QByteArray ricevuti() const { return sim ? sim->ricevuti() : linea->ricevuti(); }
    int scritture() const { return sim ? sim->scritture() : tx().scritture(); }
    // The adapter is pulled out.
    void riaggancia() { sim ? sim->riaggancia() : linea->riaggancia(); }

    // Until `fatto` holds: the window's events, and on the virtual line its
    // time whenever they are done (ten virtual minutes at most); on the real
    // line `limite_ms` at most.
    bool attendi(const std::function<bool()>& fatto, int limite_ms = 60000)
    {
        if (sim)
            return brenk::prova::attendi(fatto, limite_ms);
        const double fine = orologio.adesso_ms() + 600000;
        do
            QCoreApplication::processEvents();
        while (!fatto() && orologio.avanza(fine));
        return fatto();
    }
    QPushButton* pulsante(const char* nome) const { return banco.trova<QPushButton>(nome); }
    // Clicked once enabled; premi() also waits for the operation it starts.
    bool clicca(const char* nome)
    {
        QAbstractButton* p = banco.trova<QAbstractButton>(nome);
        if (!attendi([p] { return p->isEnabled(); }, 2000))
            return false;
        QTest::mouseClick(p, Qt::LeftButton);
        return true;
    }
    bool a_riposo()
    {
        return attendi([this] { return !banco.finestra->occupato(); });
    }
    bool premi(const char* nome) { return clicca(nome) && a_riposo(); }
    bool in_stato(const QString& stato)
    {
        return attendi([&] { return banco.stato() == stato; }, 5000);
    }
    bool connetti()
    {
        const bool connessa = premi("Cmd_connetti");
        ricevuti_alla_connessione = ricevuti().size();
        return connessa;
    }
    bool apri_e_connetti() { return banco.apri() && connetti(); }
    QByteArray dopo_connessione() const { return ricevuti().mid(ricevuti_alla_connessione); }

    QString file(const char* nome) const { return cartella.filePath(QLatin1String(nome)); }
    QString testo(const char* nome) const
    {
        return banco.combo(nome) ? banco.combo(nome)->currentText() : banco.casella(nome)->text();
    }
    // The option buttons checked, by name.
    QStringList selezionate() const
    {
        QStringList s;
        for (auto* o : banco.finestra->findChildren<QRadioButton*>())
            if (o->isChecked())
                s << o->objectName();
        s.sort();
        return s;
    }

    QTemporaryDir cartella;
    brenk::prova::OrologioVirtuale orologio;
    std::unique_ptr<brenk::prova::LineaVirtuale> linea;
    std::unique_ptr<brenk::Simulatore> sim;
    qsizetype ricevuti_alla_connessione = 0;
    Banco banco;
};
