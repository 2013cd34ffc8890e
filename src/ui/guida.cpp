// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/guida.h"

#include "ui/testi.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace brenk {

namespace {

const QString nome_guida = QStringLiteral("guida");

QString testo_guida()
{
    QFile file(QStringLiteral(":/guida.html"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A window of its own, not modal: the operator reads it while working.
QDialog* nuova_guida(QWidget* finestra)
{
    auto* guida = new QDialog(finestra);
    guida->setObjectName(nome_guida);
    guida->setAttribute(Qt::WA_DeleteOnClose);
    guida->setWindowTitle(titolo_guida);
    auto* testo = new QTextBrowser(guida);
    testo->setHtml(testo_guida());
    auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Close, guida);
    QObject::connect(pulsanti, &QDialogButtonBox::rejected, guida, &QDialog::close);
    auto* colonna = new QVBoxLayout(guida);
    colonna->addWidget(testo);
    colonna->addWidget(pulsanti);
    guida->resize(560, 520);
    return guida;
}

} // namespace

void guida_con_f1(QWidget* finestra)
{
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), finestra);
    QObject::connect(f1, &QShortcut::activated, finestra, [finestra] {
        auto* guida = finestra->findChild<QDialog*>(nome_guida, Qt::FindDirectChildrenOnly);
        if (!guida)
            guida = nuova_guida(finestra);
        guida->show();
        guida->raise();
        guida->activateWindow();
    });
}

} // namespace brenk
