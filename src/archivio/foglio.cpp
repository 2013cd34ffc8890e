// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/foglio.h"

#include "archivio/registro_codici.h"
#include "archivio/registro_sql.h"
#include "archivio/testi.h"
#include "params/numero.h"

#include <QHash>

namespace brenk {

namespace {

// Where a line of the record (celle_registro) holds the field `c`.
qsizetype colonna(Campo c)
{
    return colonne_registro().indexOf(didascalia(scheda(c)));
}

// A line of a programming that wrote its code, or whose reservation is still
// open; a factory loading's line names the factory's code and is not one.
bool del_codice(const QStringList& riga)
{
    const QStringList colonne = colonne_registro();
    return riga.value(colonne.indexOf(colonna_codice_scritto)) == parola_si
           || riga.value(colonne.indexOf(colonna_esito)) == esito_in_corso;
}

// The last line of each code among the site's lines, which come in time order.
QHash<int, QStringList> ultime_righe(const QList<QStringList>& righe)
{
    const qsizetype codice = colonna(Campo::CodiceBrenk);
    QHash<int, QStringList> ultime;
    for (const QStringList& r : righe) {
        if (del_codice(r))
            ultime.insert(static_cast<int>(valore_numerico(r.value(codice))), r);
    }
    return ultime;
}

RigaFoglio riga_foglio(const QSqlQuery& q, const QStringList& ultima)
{
    const QString esito = ultima.value(colonne_registro().indexOf(colonna_esito));
    return {q.value(0).toInt(),
            q.value(2).toString(),
            q.value(3).toString(),
            ultima.value(colonna(Campo::Text1)).trimmed(),
            ultima.value(colonna(Campo::FqTx)),
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
    const QHash<int, QStringList> ultime = ultime_righe(righe);
    QSqlQuery q(db);
    if (const auto e = sql::esegui(
            q, QStringLiteral("SELECT codice, stato, assegnato_a, tipo FROM codici WHERE sito = ? ORDER BY codice"),
            {sito_}))
        return errore(*e);
    Foglio f{sito_, {}};
    while (q.next())
        f.righe << riga_foglio(q, ultime.value(q.value(0).toInt()));
    return f;
}

} // namespace brenk
