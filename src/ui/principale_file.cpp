// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's files: "Apri…" and "Salva…" of parameter files (also a
// file dropped on the window or named on the command line), the choice of
// the record's file, and what the window shows as a file keeps it. Nothing
// here touches the disk until the operator uses one of them.

#include "ui/principale.h"

#include "archivio/file_parametri.h"
#include "ui/testi.h"
#include "ui_principale.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>

namespace brenk {

namespace {

const QString chiave_cartella = QStringLiteral("cartella");
const QString chiave_registro = QStringLiteral("registro");

// What the operator chose in an earlier run, if anything.
QString ricordato(const QString& chiave)
{
    return QSettings(QStringLiteral("brenk-zelm"), QStringLiteral("brenk-zelm")).value(chiave).toString();
}

void ricorda(const QString& chiave, const QString& valore)
{
    QSettings(QStringLiteral("brenk-zelm"), QStringLiteral("brenk-zelm")).setValue(chiave, valore);
}

// A dialog of its own window, which the event loop runs: nothing waits in it.
QFileDialog* dialogo(QWidget* finestra, const QString& titolo, const QString& estensione,
                     QFileDialog::AcceptMode modo)
{
    auto* d = new QFileDialog(finestra, titolo, ricordato(chiave_cartella),
                              QStringLiteral("%1 (*.%2)").arg(titolo, estensione));
    d->setAttribute(Qt::WA_DeleteOnClose);
    d->setAcceptMode(modo);
    d->setFileMode(modo == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    d->setDefaultSuffix(estensione);
    return d;
}

} // namespace

void Principale::collega_file()
{
    setAcceptDrops(true);
    ui_->Cmd_apri->setShortcut(QKeySequence::Open);
    ui_->Cmd_salva->setShortcut(QKeySequence::Save);
    connect(ui_->Cmd_apri, &QPushButton::clicked, this, [this] { scegli_file(false); });
    connect(ui_->Cmd_salva, &QPushButton::clicked, this, [this] { scegli_file(true); });
    connect(ui_->Chk_registro, &QCheckBox::clicked, this, &Principale::scegli_registro);
    ui_->lab_registro->setText(QFileInfo(ricordato(chiave_registro)).fileName());
    connect(ui_->Chk_serie, &QCheckBox::toggled, this,
            [this](bool accesa) { sessione_->giornata().imposta_serie(accesa); });
}

void Principale::scegli_file(bool salvare)
{
    QFileDialog* d = dialogo(this, titolo_file_parametri, estensione_parametri,
                             salvare ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    connect(d, &QFileDialog::fileSelected, this,
            [this, salvare](const QString& percorso) { salvare ? salva_file(percorso) : apri_file(percorso); });
    d->open();
}

// The record is only ever appended to: choosing an existing file is not
// overwriting it. "Registro" stays off until a file is chosen.
void Principale::scegli_registro(bool acceso)
{
    if (!acceso) {
        sessione_->giornata().imposta_registro(std::nullopt);
        return;
    }
    ui_->Chk_registro->setChecked(false);
    QFileDialog* d = dialogo(this, titolo_file_registro, estensione_registro, QFileDialog::AcceptSave);
    d->setOption(QFileDialog::DontConfirmOverwrite);
    if (const QString ultimo = ricordato(chiave_registro); !ultimo.isEmpty())
        d->selectFile(ultimo);
    connect(d, &QFileDialog::fileSelected, this, &Principale::usa_registro);
    d->open();
}

void Principale::usa_registro(const QString& percorso)
{
    if (const auto problema = sessione_->giornata().imposta_registro(percorso)) {
        sessione_->dire(*problema);
        return;
    }
    ricorda(chiave_registro, percorso);
    ricorda_cartella(percorso);
    ui_->lab_registro->setText(QFileInfo(percorso).fileName());
    ui_->Chk_registro->setChecked(true);
}

void Principale::ricorda_cartella(const QString& percorso)
{
    ricorda(chiave_cartella, QFileInfo(percorso).absolutePath());
}

void Principale::apri_file(const QString& percorso)
{
    FileParametri letto;
    if (const auto problema = apri_parametri(percorso, letto)) {
        sessione_->dire(*problema);
        return;
    }
    ricorda_cartella(percorso);
    ui_->lab_file->setText(QFileInfo(percorso).fileName());
    sessione_->mostra_file(letto.valori);
}

void Principale::salva_file(const QString& percorso)
{
    Sessione& s = *sessione_;
    if (const auto problema = salva_parametri(percorso, {s.valori(), s.tipo(), s.blocco().letti})) {
        sessione_->dire(*problema);
        return;
    }
    ricorda_cartella(percorso);
    ui_->lab_file->setText(QFileInfo(percorso).fileName());
}

// One local file, dropped while no operation runs, opens as with "Apri…".
void Principale::dragEnterEvent(QDragEnterEvent* evento)
{
    const QList<QUrl> indirizzi = evento->mimeData()->urls();
    if (indirizzi.size() == 1 && indirizzi.constFirst().isLocalFile() && !occupato())
        evento->acceptProposedAction();
}

void Principale::dropEvent(QDropEvent* evento)
{
    apri_file(evento->mimeData()->urls().constFirst().toLocalFile());
}

} // namespace brenk
