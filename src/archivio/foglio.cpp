// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/foglio.h"

#include "archivio/registro_codici.h"
#include "archivio/registro_sql.h"
#include "archivio/testi.h"
#include "params/numero.h"

#include <QHash>

namespace brenk {

namespace {

// Where a line of the record (celle_registro) holds what the sheet reads.
struct Colonne {
    QStringList nomi = colonne_registro();
    qsizetype codice = nomi.indexOf(didascalia(scheda(Campo::CodiceBrenk)));
    qsizetype banda = nomi.indexOf(didascalia(scheda(Campo::Text1)));
    qsizetype frequenza = nomi.indexOf(didascalia(scheda(Campo::FqTx)));
    qsizetype esito = nomi.indexOf(colonna_esito);
    qsizetype scritto = nomi.indexOf(colonna_codice_scritto);
};

// The last line of each code among the site's lines, which come in time
// order: a programming's that wrote the code, or whose reservation is still
// open. A factory loading's line names the factory's code and is not one.
QHash<int, QStringList> ultime_righe(const QList<QStringList>& righe, const Colonne& c)
{
    QHash<int, QStringList> ultime;
    for (const QStringList& r : righe) {
        if (r.value(c.scritto) == parola_si || r.value(c.esito) == esito_in_corso)
            ultime.insert(static_cast<int>(valore_numerico(r.value(c.codice))), r);
    }
    return ultime;
}

// The code's row in `codici` (code, state, holder, type) and its last line.
RigaFoglio riga_foglio(const QSqlQuery& q, const QStringList& ultima, const Colonne& c)
{
    const QString esito = ultima.value(c.esito);
    return {q.value(0).toInt(),
            q.value(2).toString(),
            q.value(3).toString(),
            ultima.value(c.banda).trimmed(),
            ultima.value(c.frequenza),
            esito,
            ultima.isEmpty() ? QString() : sql::data_e_ora(ultima.first()),
            stato_foglio(q.value(1).toString(), esito)};
}

} // namespace

QString stato_foglio(const QString& stato, const QString& esito)
{
    if (stato != stato_scritto)
        return stato;
    return esito == esito_verificato ? stato_funzionante : stato_non_verificato;
}

QStringList colonne_foglio()
{
    return {didascalia(scheda(Campo::CodiceBrenk)), colonna_assegnato, colonna_tipo, didascalia(scheda(Campo::Text1)),
            didascalia(scheda(Campo::FqTx)),        colonna_esito,     colonna_data, colonna_stato};
}

QStringList celle_foglio(const RigaFoglio& r)
{
    return {QString::number(r.codice), r.assegnato_a, r.tipo, r.banda, r.frequenza, r.esito, r.quando, r.stato};
}

QString conteggio_foglio(const QList<RigaFoglio>& righe)
{
    const auto funzionanti = std::count_if(righe.begin(), righe.end(),
                                           [](const RigaFoglio& r) { return r.stato == stato_funzionante; });
    return conteggio_trasmettitori.arg(righe.size()).arg(funzionanti);
}

QByteArray foglio_csv(const QList<RigaFoglio>& righe)
{
    QByteArray testo = linea_csv(colonne_foglio());
    for (const RigaFoglio& r : righe)
        testo += linea_csv(celle_foglio(r));
    return testo;
}

std::variant<Foglio, QString> RegistroCodici::foglio()
{
    QSqlDatabase db = QSqlDatabase::database(connessione_, false);
    QList<QStringList> righe;
    if (const auto e = sql::leggi_righe(db, sito_, righe))
        return errore(*e);
    const Colonne colonne;
    const QHash<int, QStringList> ultime = ultime_righe(righe, colonne);
    QSqlQuery q(db);
    if (const auto e = sql::esegui(
            q, QStringLiteral("SELECT codice, stato, assegnato_a, tipo FROM codici WHERE sito = ? ORDER BY codice"),
            {sito_}))
        return errore(*e);
    Foglio f{sito_, {}};
    while (q.next())
        f.righe << riga_foglio(q, ultime.value(q.value(0).toInt()), colonne);
    return f;
}

} // namespace brenk
