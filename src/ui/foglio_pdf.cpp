// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/foglio_pdf.h"

#include "archivio/disco.h"
#include "ui/testi.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSysInfo>
#include <QTextDocument>

namespace brenk {

namespace {

// A4 at this many dots per inch: fine enough for any printer.
constexpr int risoluzione = 300;
// The page number's band at the foot of each page, in millimetres.
constexpr qreal piede_mm = 10;

// The columns' shares of the page's width, in percent. A cell of a free
// text ("Assegnato a", "Esito") wraps; the others' values keep to one line.
constexpr int larghezze[] = {7, 20, 5, 7, 10, 19, 18, 14};

QString cella(const char* tag, qsizetype colonna, const QString& testo)
{
    const bool libera = colonna == 1 || colonna == 5 || QLatin1String(tag) == u"th";
    QString html = testo.toHtmlEscaped();
    if (!libera)
        html.replace(u' ', QStringLiteral("&nbsp;"));
    return QStringLiteral("<%1 width=\"%2%\">%3</%1>").arg(QLatin1String(tag)).arg(larghezze[colonna]).arg(html);
}

QString riga_html(const QStringList& celle, const char* tag)
{
    QString html = QStringLiteral("<tr>");
    for (qsizetype i = 0; i < celle.size(); ++i)
        html += cella(tag, i, celle[i]);
    return html + QStringLiteral("</tr>");
}

QString tabella(const QList<RigaFoglio>& righe)
{
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><thead>")
                   + riga_html(colonne_foglio(), "th") + QStringLiteral("</thead>");
    for (const RigaFoglio& r : righe)
        html += riga_html(celle_foglio(r), "td");
    return html + QStringLiteral("</table>");
}

QString voce(const QString& nome, const QString& valore)
{
    return QStringLiteral("<p>%1: <b>%2</b></p>").arg(nome, valore.toHtmlEscaped());
}

// The signatures, side by side, with room to sign above the line.
QString firme()
{
    const QString cella = QStringLiteral("<td width=\"50%\"><br><br>______________________________<br>%1</td>");
    return QStringLiteral("<br><table width=\"100%\"><tr>") + cella.arg(firma_tecnico) + cella.arg(firma_responsabile)
           + QStringLiteral("</tr></table>");
}

QString html(const Foglio& f, QDate giorno, const QString& computer)
{
    return QStringLiteral("<h2>%1</h2>").arg(titolo_foglio) + voce(foglio_sito, f.sito)
           + voce(foglio_data, giorno.toString(QStringLiteral("dd/MM/yyyy"))) + voce(foglio_computer, computer)
           + tabella(f.righe) + QStringLiteral("<p>%1</p>").arg(conteggio_foglio(f.righe).toHtmlEscaped()) + firme();
}

// Each page of `doc`, laid out on `pdf`'s pages, with its number at the foot.
void stampa(QTextDocument& doc, QPdfWriter& pdf)
{
    const QRectF area = pdf.pageLayout().paintRectPixels(risoluzione);
    const qreal piede = piede_mm / 25.4 * risoluzione;
    doc.setPageSize(QSizeF(area.width(), area.height() - piede));
    const int pagine = doc.pageCount();
    const qreal alta = doc.pageSize().height();
    QPainter p(&pdf);
    for (int i = 0; i < pagine; ++i) {
        if (i > 0)
            pdf.newPage();
        p.save();
        p.translate(0, -i * alta);
        doc.drawContents(&p, QRectF(0, i * alta, area.width(), alta));
        p.restore();
        p.drawText(QRectF(0, alta, area.width(), piede), Qt::AlignRight | Qt::AlignBottom,
                   foglio_pagina.arg(i + 1).arg(pagine));
    }
}

} // namespace

QByteArray foglio_pdf(const Foglio& foglio, QDate giorno, const QString& computer)
{
    QByteArray testo;
    QBuffer buffer(&testo);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(12, 15, 12, 10), QPageLayout::Millimeter);
    pdf.setResolution(risoluzione);
    pdf.setTitle(titolo_foglio);
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&pdf);
    QFont carattere = doc.defaultFont();
    carattere.setPointSize(8);
    // No ligatures: the PDF's text is searched and copied as it reads.
    carattere.setStyleStrategy(QFont::PreferNoShaping);
    doc.setDefaultFont(carattere);
    doc.setHtml(html(foglio, giorno, computer));
    stampa(doc, pdf);
    return testo;
}

QString percorso_csv(const QString& pdf)
{
    const QFileInfo file(pdf);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral(".csv"));
}

std::optional<QString> scrivi_foglio(const Foglio& foglio, const QString& pdf)
{
    if (const auto problema = salva_intero(pdf, foglio_pdf(foglio, QDate::currentDate(), QSysInfo::machineHostName())))
        return problema;
    return salva_intero(percorso_csv(pdf), foglio_csv(foglio.righe));
}

} // namespace brenk
