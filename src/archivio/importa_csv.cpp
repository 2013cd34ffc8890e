// SPDX-License-Identifier: GPL-3.0-or-later
// An older CSV record into a new SQLite record, read as RFC 4180 the way
// spreadsheets write it.

#include "archivio/disco.h"
#include "archivio/registro_codici.h"
#include "archivio/registro_sql.h"
#include "archivio/testi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace brenk {

namespace {

// One line of the file: where it starts, and its cells; none when it cannot be read.
struct Linea {
    int numero;
    std::optional<QStringList> celle;
};

// Reads one line from `i`, quoted line breaks included, up to its end;
// `righe` counts the line breaks it spans. None when a quote never closes.
std::optional<QStringList> leggi_linea(QStringView testo, qsizetype& i, int& righe)
{
    QStringList celle{QString()};
    bool tra_virgolette = false;
    for (; i < testo.size(); ++i) {
        const QChar c = testo[i];
        const bool segue_virgoletta = i + 1 < testo.size() && testo[i + 1] == u'"';
        righe += c == u'\n';
        if (tra_virgolette && c == u'"' && segue_virgoletta)
            celle.last() += testo[++i];
        else if (c == u'"')
            tra_virgolette = !tra_virgolette;
        else if (!tra_virgolette && c == u',')
            celle << QString();
        else if (!tra_virgolette && c == u'\n')
            break;
        else if (tra_virgolette || c != u'\r' || (i + 1 < testo.size() && testo[i + 1] != u'\n'))
            celle.last() += c;
    }
    ++i;
    if (tra_virgolette)
        return std::nullopt;
    return celle;
}

// The file's lines but the empty ones. A line whose quote never closes is
// not read, and reading goes on at the next line of the file.
QList<Linea> linee_csv(QString testo)
{
    if (testo.startsWith(QChar(0xFEFF)))
        testo.remove(0, 1);
    QList<Linea> linee;
    qsizetype i = 0;
    int numero = 1;
    while (i < testo.size()) {
        const qsizetype inizio = i;
        int righe = 0;
        auto celle = leggi_linea(testo, i, righe);
        if (!celle) {
            i = testo.indexOf(u'\n', inizio) + 1;
            i = i == 0 ? testo.size() : i;
            righe = 1;
        }
        if (!celle || *celle != QStringList{QString()})
            linee << Linea{numero, celle};
        numero += righe;
    }
    return linee;
}

// The cells as many as the header's: a spreadsheet may add an empty one.
std::optional<QStringList> tagliate(std::optional<QStringList> celle)
{
    const qsizetype colonne = colonne_registro().size();
    if (celle && celle->size() == colonne + 1 && celle->last().isEmpty())
        celle->removeLast();
    if (!celle || celle->size() != colonne)
        return std::nullopt;
    return celle;
}

// The code a line says reached its unit; 0 when none, -1 when it cannot be one.
int codice_scritto(const QStringList& celle)
{
    const QString& codice = celle[prime_colonne + static_cast<qsizetype>(Campo::CodiceBrenk)];
    if (celle[prime_colonne - 1] != parola_si || codice.isEmpty())
        return 0;
    bool ok = false;
    const int n = codice.toInt(&ok);
    const Intervallo ammessi = scheda(Campo::CodiceBrenk).valori;
    return ok && n >= ammessi.minimo && n <= ammessi.massimo ? n : -1;
}

std::optional<QSqlError> importa_linea(QSqlDatabase& db, const QString& sito, const QStringList& celle, int codice)
{
    if (const auto e = sql::inserisci_riga(db, QUuid::createUuid().toString(QUuid::WithoutBraces), sito, celle))
        return e;
    if (codice == 0)
        return std::nullopt;
    QSqlQuery q(db);
    return sql::esegui(q,
                       QStringLiteral("INSERT INTO codici (sito, codice, stato, computer, utente, quando, assegnato_a, "
                                      "tipo, valori) VALUES (?, ?, ?, ?, ?, ?, '', ?, ?) ON CONFLICT (sito, codice) "
                                      "DO UPDATE SET quando = excluded.quando, tipo = excluded.tipo, "
                                      "valori = excluded.valori"),
                       {sito, codice, stato_scritto, sql::computer(), sql::utente(), celle[0], celle[prime_colonne - 3],
                        sql::testo_valori(celle)});
}

// Why the first line is not this layout's header: a spreadsheet that saved
// it again with semicolons gets a word of its own.
std::optional<QString> non_intestazione(const Linea& prima)
{
    if (tagliate(prima.celle) == colonne_registro())
        return std::nullopt;
    if (prima.celle && tagliate(prima.celle->join(u',').split(u';')) == colonne_registro())
        return registro_punto_e_virgola;
    return non_un_registro;
}

QString nel_csv(const QString& percorso, const QString& problema)
{
    return problema_registro.arg(QDir::toNativeSeparators(percorso), problema);
}

} // namespace

QString importa_csv(const QString& csv, QString& database)
{
    const QFileInfo info(csv);
    const QString nuovo = info.dir().filePath(info.completeBaseName() + QStringLiteral(".sqlite"));
    database.clear();
    if (const auto problema = non_da_leggere(csv, dimensione_massima_registro, registro_troppo_grande))
        return nel_csv(csv, *problema);
    QFile file(csv);
    if (!file.open(QIODevice::ReadOnly))
        return nel_csv(csv, motivo(file));
    QList<Linea> linee = linee_csv(QString::fromUtf8(file.readAll()));
    if (linee.isEmpty())
        return nel_csv(csv, non_un_registro);
    if (const auto problema = non_intestazione(linee.takeFirst()))
        return nel_csv(csv, *problema);

    QString problema;
    const auto registro = RegistroCodici::apri(nuovo, info.completeBaseName(), problema);
    if (!registro)
        return problema;
    QSqlDatabase db = QSqlDatabase::database(registro->connessione_, false);
    QList<QStringList> gia;
    if (const auto e = sql::leggi_righe(db, registro->sito_, gia))
        return registro->errore(*e);
    database = nuovo;
    if (!gia.isEmpty())
        return csv_gia_importato.arg(QDir::toNativeSeparators(csv), QDir::toNativeSeparators(database));

    QStringList non_lette;
    int importate = 0;
    std::optional<QSqlError> e = sql::inizia(db);
    for (qsizetype i = 0; !e && i < linee.size(); ++i) {
        const auto celle = tagliate(linee[i].celle);
        const int codice = celle ? codice_scritto(*celle) : -1;
        if (codice < 0)
            non_lette << QString::number(linee[i].numero);
        else if (!(e = importa_linea(db, registro->sito_, *celle, codice)))
            ++importate;
    }
    if ((e = sql::chiudi(db, e))) {
        database.clear();
        return registro->errore(*e);
    }
    const QString fatto = csv_importato.arg(importate).arg(QDir::toNativeSeparators(csv),
                                                           QDir::toNativeSeparators(database));
    return non_lette.isEmpty() ? fatto : fatto + righe_non_lette.arg(non_lette.join(QStringLiteral(", ")));
}

} // namespace brenk
