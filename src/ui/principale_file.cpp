// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's files: "Apri…" and "Salva…" of parameter files (also a
// file dropped on the window or named on the command line), the choice of
// the record's file, and what the window shows as a file keeps it. Nothing
// here touches the disk until the operator uses one of them.

#include "ui/principale.h"

#include "archivio/file_parametri.h"
#include "ui/foglio_pdf.h"
#include "ui/testi.h"
#include "ui_principale.h"

#include <QDesktopServices>
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
// Files of the first extension are made; the others are taken too. Qt makes
// the modal dialog the active window, but gives the window back to no one
// when it closes: where no window manager does, the window would stay
// inactive, and Qt tells assistive technology of no focus in it.
QFileDialog* dialogo(QWidget* finestra, const QString& titolo, const QStringList& estensioni,
                     QFileDialog::AcceptMode modo)
{
    auto* d = new QFileDialog(finestra, titolo, ricordato(chiave_cartella),
                              QStringLiteral("%1 (*.%2)").arg(titolo, estensioni.join(QStringLiteral(" *."))));
    d->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(d, &QDialog::finished, finestra, &QWidget::activateWindow);
    d->setAcceptMode(modo);
    d->setFileMode(modo == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    d->setDefaultSuffix(estensioni.first());
    return d;
}

// A server's address typed in the dialog's file name comes back joined to
// the folder shown: what follows its scheme is the address.
QString indirizzo_registro(const QString& scelto)
{
    const qsizetype schema = scelto.indexOf(QStringLiteral("postgresql:/"));
    if (schema < 0)
        return scelto;
    QString resto = scelto.mid(schema + 12);
    while (resto.startsWith(u'/'))
        resto.remove(0, 1);
    return QStringLiteral("postgresql://") + resto;
}

// A file label shows the file's name; assistive technology reads it after
// what the label stands for.
const QString voce_file = QStringLiteral("File dei parametri");
const QString voce_registro = QStringLiteral("Registro");

void nomina(QLabel* etichetta, const QString& cosa, const QString& nome)
{
    etichetta->setText(nome);
    etichetta->setAccessibleName(nome.isEmpty() ? cosa : cosa + QStringLiteral(": ") + nome);
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
    nomina(ui_->lab_registro, voce_registro, QFileInfo(ricordato(chiave_registro)).fileName());
    connect(ui_->Chk_serie, &QCheckBox::toggled, sessione_.get(), &Sessione::imposta_serie);
    connect(ui_->Chk_serie, &QCheckBox::toggled, this, &Principale::rivaluta); // the file label
    connect(ui_->Chk_automatica, &QCheckBox::toggled, sessione_.get(), &Sessione::imposta_automatica);
    // "Automatica" goes with a series and a record: offered with both.
    const auto offri_automatica = [this] {
        ui_->Chk_automatica->setEnabled(ui_->Chk_serie->isChecked() && ui_->Chk_registro->isChecked());
    };
    connect(ui_->Chk_serie, &QCheckBox::toggled, this, offri_automatica);
    connect(ui_->Chk_registro, &QCheckBox::toggled, this, offri_automatica);
    offri_automatica();
    connect(ui_->Cmd_esporta, &QPushButton::clicked, this, &Principale::scegli_esportazione);
    connect(ui_->txb_assegnato, &QLineEdit::textChanged, this,
            [this](const QString& a_chi) { sessione_->giornata().imposta_assegnato(a_chi); });
    connect(ui_->txb_assegnato, &QLineEdit::returnPressed, this,
            [this] { sessione_->correggi_assegnato(ui_->txb_assegnato->text()); });
    connect(sessione_.get(), &Sessione::registro_cambiato, this, [this] {
        ui_->lab_riepilogo->setText(sessione_->giornata().riepilogo());
        ui_->Cmd_esporta->setEnabled(sessione_->giornata().registro());
        ui_->Cmd_foglio->setEnabled(sessione_->giornata().registro());
    });
    connect(ui_->Cmd_foglio, &QPushButton::clicked, this, &Principale::scegli_foglio);
    ui_->Cmd_esporta->setEnabled(false);
    ui_->Cmd_foglio->setEnabled(false);
}

void Principale::scegli_file(bool salvare)
{
    QFileDialog* d = dialogo(this, titolo_file_parametri, {estensione_parametri},
                             salvare ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    connect(d, &QFileDialog::fileSelected, this,
            [this, salvare](const QString& percorso) { salvare ? salva_file(percorso) : apri_file(percorso); });
    d->open();
}

// The record only ever grows: choosing an existing file is not overwriting
// it. A server's address may be typed as the file's name. "Registro" stays
// off until a record is taken.
void Principale::scegli_registro(bool acceso)
{
    if (!acceso) {
        sessione_->usa_registro(std::nullopt);
        return;
    }
    ui_->Chk_registro->setChecked(false);
    QFileDialog* d = dialogo(this, titolo_file_registro, {estensione_registro_sql, estensione_registro},
                             QFileDialog::AcceptSave);
    d->setOption(QFileDialog::DontConfirmOverwrite);
    d->setOption(QFileDialog::DontUseNativeDialog);
    if (const QString ultimo = ricordato(chiave_registro); !ultimo.isEmpty())
        d->selectFile(ultimo);
    connect(d, &QFileDialog::fileSelected, this,
            [this](const QString& scelto) { usa_registro(indirizzo_registro(scelto)); });
    d->open();
}

void Principale::usa_registro(const QString& indirizzo)
{
    if (!sessione_->usa_registro(indirizzo))
        return;
    ricorda(chiave_registro, indirizzo);
    if (!indirizzo.startsWith(QStringLiteral("postgresql:")))
        ricorda_cartella(indirizzo);
    const bool server = indirizzo.startsWith(QStringLiteral("postgresql:"));
    nomina(ui_->lab_registro, voce_registro,
           server ? sessione_->giornata().nome_registro() : QFileInfo(indirizzo).fileName());
    ui_->Chk_registro->setChecked(true);
}

void Principale::scegli_esportazione()
{
    QFileDialog* d = dialogo(this, titolo_esporta, {estensione_registro}, QFileDialog::AcceptSave);
    connect(d, &QFileDialog::fileSelected, this, [this](const QString& percorso) {
        if (const auto problema = sessione_->giornata().esporta_csv(percorso))
            sessione_->dire(*problema);
    });
    d->open();
}

void Principale::scegli_foglio()
{
    QFileDialog* d = dialogo(this, titolo_foglio, {QStringLiteral("pdf")}, QFileDialog::AcceptSave);
    connect(d, &QFileDialog::fileSelected, this, &Principale::consegna_foglio);
    d->open();
}

// The PDF and the CSV beside it; the PDF then opens in the desktop's viewer,
// which prints it (not on a screen of none: the tests').
void Principale::consegna_foglio(const QString& pdf)
{
    const auto foglio = sessione_->giornata().foglio();
    const auto* problema = std::get_if<QString>(&foglio);
    const auto non_scritto = problema ? std::optional(*problema) : scrivi_foglio(std::get<Foglio>(foglio), pdf);
    if (non_scritto) {
        sessione_->dire(*non_scritto);
        return;
    }
    ricorda_cartella(pdf);
    if (QGuiApplication::platformName() != u"offscreen")
        QDesktopServices::openUrl(QUrl::fromLocalFile(pdf));
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
    sessione_->mostra_file(letto.valori, QFileInfo(percorso).completeBaseName());
    nomina_file(QFileInfo(percorso).fileName());
}

void Principale::salva_file(const QString& percorso)
{
    Sessione& s = *sessione_;
    if (const auto problema = salva_parametri(percorso, {s.valori(), s.tipo(), s.blocco().letti})) {
        sessione_->dire(*problema);
        return;
    }
    ricorda_cartella(percorso);
    s.file_salvato(QFileInfo(percorso).completeBaseName());
    nomina_file(QFileInfo(percorso).fileName());
}

// The file's name, and whether the window still shows its values: a read
// or a change has replaced them.
void Principale::nomina_file(const QString& nome)
{
    nome_file_ = nome;
    file_in_finestra_ = true;
    nomina(ui_->lab_file, voce_file, nome);
}

void Principale::confronta_file()
{
    const bool in_finestra = sessione_->mostra_il_file();
    if (nome_file_.isEmpty() || in_finestra == std::exchange(file_in_finestra_, in_finestra))
        return;
    nomina(ui_->lab_file, voce_file, in_finestra ? nome_file_ : file_non_in_finestra.arg(nome_file_));
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
