// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window without a screen for the operations' tests: it keeps what the
// operations show and records beeps, messages, progress and the port's
// failure told in their order.

#include "ops/finestra.h"
#include "ops/osservatore.h"
#include "params/blocco.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace brenk::prova {

class FinestraFinta : public Finestra, public Osservatore {
public:
    struct Messaggio {
        QString testo;
        Icona icona;
    };

    explicit FinestraFinta(BloccoParametri& blocco) : blocco_(blocco)
    {
        for (Opzione o : {Opzione::Opt_toni_alti, Opzione::Opt_bat_no, Opzione::Opt_tx_mult, Opzione::Opt_zelm})
            selezionate_[coppia(o)] = o;
    }

    QString testo(Campo campo) const override { return testi.value(campo); }
    void imposta_testo(Campo campo, const QString& testo) override { testi[campo] = testo; }

    bool selezionata(Opzione opzione) const override
    {
        return selezionate_.value(coppia(opzione), std::optional<Opzione>()) == opzione;
    }
    // As a click: the pair's variable gets the button's number when the selection changes.
    void seleziona(Opzione opzione) override
    {
        if (selezionata(opzione))
            return;
        selezionate_[coppia(opzione)] = opzione;
        blocco_[variabile(opzione)] = static_cast<int>(opzione) % 2;
    }
    void nessuna_scelta(Opzione opzione) override { selezionate_.remove(coppia(opzione)); }

    void imposta_stato(const QString& s) override { stato = s; }
    void imposta_tipo(const QString& t) override { tipo = t; }

    void mostra_progresso(bool visibile) override
    {
        if (visibile != progresso_visibile)
            eventi << (visibile ? QStringLiteral("barra mostrata") : QStringLiteral("barra nascosta"));
        progresso_visibile = visibile;
    }
    void imposta_massimo_progresso(int m) override
    {
        progresso_massimo = m;
        massimi << m;
    }
    void imposta_progresso(int v) override { progresso = v; }
    void mostra_conferma(const QString& testo) override
    {
        if (!testo.isEmpty())
            eventi << QStringLiteral("conferma: ") + testo;
        conferma = testo;
    }
    void mostra_nota(const QString& testo) override
    {
        eventi << QStringLiteral("nota: ") + testo;
        if (!testo.isEmpty())
            detti << QStringLiteral("nota: ") + testo;
        nota = testo;
    }

    void beep() override
    {
        ++beep_suonati;
        eventi << QStringLiteral("beep");
    }
    Task<void> messaggio(const QString& testo, Icona icona) override
    {
        messaggi.push_back({testo, icona});
        eventi << testo;
        detti << testo;
        co_return;
    }
    void guasto_porta_detto() override { eventi << QStringLiteral("guasto della porta detto"); }

    QStringList testi_messaggi() const
    {
        QStringList t;
        for (const auto& m : messaggi)
            t << m.testo;
        return t;
    }

    QMap<Campo, QString> testi;
    QString stato = QStringLiteral(" Non Connesso");
    QString tipo = QStringLiteral("New");
    bool progresso_visibile = false;
    int progresso_massimo = 0;
    QList<int> massimi;
    int progresso = 0;
    QString conferma;
    QString nota;
    int beep_suonati = 0;
    QList<Messaggio> messaggi;
    QStringList detti; // messages and notes, in their order
    QStringList eventi;

private:
    static int coppia(Opzione o) { return static_cast<int>(o) / 2; }
    static int variabile(Opzione o)
    {
        static constexpr int variabili[] = {TONIHL, Ning, TxSM, Zelmbrenk};
        return variabili[coppia(o)];
    }

    BloccoParametri& blocco_;
    QMap<int, std::optional<Opzione>> selezionate_;
};

} // namespace brenk::prova
