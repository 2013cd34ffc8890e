// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/principale.h"

#include "link/dispositivo_seriale.h"
#include "link/mappa_porte.h"
#include "ops/operazioni.h"
#include "ui/aiuto.h"
#include "ui/aspetto.h"
#include "ui/avvisi.h"
#include "ui/disegni.h"
#include "ui/guida.h"
#include "ui/supervisione.h"
#include "ui/titolo_scorrevole.h"
#include "ui/titolo_x11.h"
#include "ui_principale.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace brenk {

namespace {

// The first status supervision comes this long after loading, as the first
// tick of its timer always did: until then the window shows its start state.
constexpr int primo_controllo_ms = 10;

// The heading keeps its place: a face wider than the one the layout was
// drawn for is made smaller until the text fits before the type label.
void restringi_a_misura(QLabel* etichetta)
{
    QFont f = etichetta->font();
    while (QFontMetrics(f).horizontalAdvance(etichetta->text()) > etichetta->width() && f.pointSizeF() > 8)
        f.setPointSizeF(f.pointSizeF() - 0.25);
    etichetta->setFont(f);
}

} // namespace

Principale::Principale(Avvisi& avvisi, QWidget* parent)
    : Principale(avvisi, std::make_unique<DispositivoSeriale>(), orologio_reale(), parent)
{
}

Principale::Principale(Avvisi& avvisi, std::unique_ptr<Dispositivo> dispositivo, Orologio& orologio, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::Principale>()),
      avvisi_(avvisi),
      sessione_(std::make_unique<Sessione>(*this, std::move(dispositivo), orologio))
{
    ui_->setupUi(this);
    ordina_tabulazione();
    campi_ = {ui_->CodiceBrenk,   ui_->FqTx,         ui_->txb_tmp_rap, ui_->txb_amp,       ui_->Cmb_n_ing_all,
              ui_->Cmb_N_ing_bat, ui_->Cmb_n_tx_tot, ui_->cmb_Zelmrep, ui_->Cmb_tmr_p_all, ui_->Text1};
    riempi_scelte();
    scrivi_intervalli();
    opzioni_ = {ui_->Opt_toni_alti, ui_->Opt_toni_bassi, ui_->Opt_bat_no, ui_->Opt_bat_si,
                ui_->Opt_tx_sing,   ui_->Opt_tx_mult,    ui_->opt_brenk,  ui_->Opt_zelm};
    digitati_ = {ui_->CodiceBrenk, ui_->FqTx, ui_->txb_tmp_rap, ui_->txb_amp};
    controllati_ = {ui_->cmd_programma, ui_->Cmd_disconetti, ui_->Cmb_com,       ui_->Cmd_connetti, ui_->Cmd_init_vhf,
                    ui_->Cmd_init_uhf,  ui_->Cmd_tx,         ui_->Cmb_tmr_p_all, ui_->cmb_Zelmrep,  ui_->Cmb_n_tx_tot,
                    ui_->Cmb_N_ing_bat, ui_->Cmd_apri,       ui_->Cmd_salva,     ui_->Chk_serie,    ui_->Chk_registro};
    static_assert(std::tuple_size_v<decltype(controllati_)> == numero_controllati);

    setWindowTitle(titolo_principale());
    setWindowIcon(icona_programma());
    setFixedSize(size());
    applica_aspetto();
    collega_campi_digitati();
    collega_combo();
    collega_opzioni();
    collega_pulsanti();
    collega_aiuto();
    collega_supervisione();
    collega_conferma();
    collega_file();
    guida_con_f1(this);

    Tmr_scritte.setInterval(150);
    connect(&Tmr_scritte, &QTimer::timeout, this, &Principale::Tmr_scritte_Timer);

    // The first control of the tab order takes the focus when the window opens.
    ui_->cmb_Zelmrep->setFocus();
}

// The tab order, set before the combo boxes get the line edits that stand in
// for them in it.
void Principale::ordina_tabulazione()
{
    QWidget* const ordine[]{ui_->cmb_Zelmrep,    ui_->Cmb_n_tx_tot,  ui_->Opt_toni_alti, ui_->Opt_toni_bassi,
                            ui_->Opt_tx_sing,    ui_->Opt_tx_mult,   ui_->Opt_bat_no,    ui_->Opt_bat_si,
                            ui_->Cmb_N_ing_bat,  ui_->CodiceBrenk,   ui_->FqTx,          ui_->txb_tmp_rap,
                            ui_->txb_amp,        ui_->Cmb_n_ing_all, ui_->Cmd_connetti,  ui_->Cmd_disconetti,
                            ui_->Cmd_init_vhf,   ui_->Cmb_com,       ui_->Text7,         ui_->Command4,
                            ui_->Cmd_apri,       ui_->Cmd_salva,     ui_->Chk_serie,     ui_->Chk_registro,
                            ui_->Chk_automatica, ui_->txb_assegnato, ui_->Cmd_esporta,   ui_->Cmd_foglio,
                            ui_->txb_stato_con,  ui_->cmd_programma, ui_->opt_brenk,     ui_->Opt_zelm,
                            ui_->Cmd_init_uhf,   ui_->Cmd_tx,        ui_->Cmb_tmr_p_all, ui_->Text1};
    for (std::size_t i = 1; i < std::size(ordine); ++i)
        setTabOrder(ordine[i - 1], ordine[i]);
}

// The widgets outlive this part of the window; nothing they signal while
// they go may reach it.
Principale::~Principale()
{
    for (QObject* figlio : findChildren<QObject*>())
        figlio->disconnect(this);
    sessione_->disconnect(this);
}

void Principale::applica_aspetto()
{
    setFont(carattere(8.25));
    ui_->Label7->setFont(carattere(14.25));
    restringi_a_misura(ui_->Label7);
    for (QLineEdit* casella :
         {ui_->CodiceBrenk, ui_->FqTx, ui_->txb_tmp_rap, ui_->txb_amp, ui_->txb_stato_con, ui_->Text1, ui_->Text7})
        colora(casella, Qt::cyan);
    for (QComboBox* casella : findChildren<QComboBox*>()) {
        colora(casella, Qt::yellow);
        // The box's text field fills all of its rectangle with the base colour:
        // when its caret blinks, Qt need not repaint the box, group and window
        // beneath it.
        casella->lineEdit()->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    ui_->Image1->setPixmap(QPixmap::fromImage(disegna_logo(ui_->Image1->size())));
}

// Loading: the title length for the scroll, the title timer, and the status
// supervision from now on; requests before its first evaluation join it.
void Principale::carica()
{
    caricata_ = true;
    lunghezza_titolo_ = static_cast<qint16>(windowTitle().size());
    supervisione_in_coda_ = true;
    QTimer::singleShot(primo_controllo_ms, this, &Principale::valuta_in_coda);
    Tmr_scritte.start();
    if (da_aprire_)
        apri_file(*std::exchange(da_aprire_, {}));
}

void Principale::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    if (!caricata_)
        carica();
}

// The three drawn rectangles: the upper area, the bottom row and the files.
void Principale::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(QRect(8, 8, 608, 448));
    p.drawRect(QRect(8, 464, 608, 88));
    p.drawRect(QRect(8, 560, 608, 96));
}

// ---- Status supervision and title ----

// The status text and the three option buttons the table reads say when they
// change; the Esecutore says when an operation starts or ends.
void Principale::collega_supervisione()
{
    connect(ui_->txb_stato_con, &QLineEdit::textChanged, this, &Principale::rivaluta);
    for (QRadioButton* pulsante : {ui_->Opt_zelm, ui_->Opt_tx_sing, ui_->Opt_bat_si})
        connect(pulsante, &QRadioButton::toggled, this, &Principale::rivaluta);
}

// The other two inputs, `fleg` and the block's type, are plain values that
// only an operation changes, always in a step that also starts or ends it or
// reports to the window (progress, type, message): those reports ask for an
// evaluation too. The evaluation is queued, so all the requests of one step
// of the event loop make one evaluation, once every change of it is in.
void Principale::rivaluta()
{
    if (!caricata_ || supervisione_in_coda_)
        return;
    supervisione_in_coda_ = true;
    QMetaObject::invokeMethod(this, &Principale::valuta_in_coda, Qt::QueuedConnection);
}

void Principale::valuta_in_coda()
{
    supervisione_in_coda_ = false;
    Timer_stato_Timer();
    confronta_file();
}

void Principale::Timer_stato_Timer()
{
    const Supervisione esito = supervisiona(
        {ui_->txb_stato_con->text(), sessione_->fleg(), sessione_->blocco()[Tipo_brenk], ui_->Opt_zelm->isChecked(),
         ui_->Opt_tx_sing->isChecked(), ui_->Opt_bat_si->isChecked(), sessione_->occupato()});
    if (esito.reimposta_stato) {
        imposta_stato(stato_non_connesso);
        return;
    }
    QWidget* prima = focusWidget();
    for (std::size_t i = 0; i < controllati_.size(); ++i) {
        const auto abilitato = esito.abilitato[i];
        if (abilitato && controllati_[i]->isEnabled() != *abilitato)
            controllati_[i]->setEnabled(*abilitato);
    }
    segui_il_fuoco(prima);
    if (esito.forza_brenk)
        seleziona(Opzione::opt_brenk);
    if (esito.svuota_tipo && !ui_->lab_tipo_brenk->text().isEmpty())
        ui_->lab_tipo_brenk->clear();
}

// A control disabled under the focus sends it to the next of the tab chain,
// often an option button: the focus goes instead to the button the next
// step needs, and follows that step while the operator leaves it there.
void Principale::segui_il_fuoco(QWidget* prima)
{
    const bool spento = prima && !prima->isEnabled() && std::ranges::count(controllati_, prima);
    if (spento || (parcheggio_ && focusWidget() == parcheggio_))
        parcheggia(pulsante_seguente());
}

QPushButton* Principale::pulsante_seguente() const
{
    if (ui_->cmd_programma->isEnabled())
        return ui_->cmd_programma;
    return ui_->Cmd_connetti->isEnabled() ? ui_->Cmd_connetti : ui_->Cmd_disconetti;
}

void Principale::parcheggia(QPushButton* pulsante)
{
    parcheggio_ = pulsante;
    pulsante->setFocus(Qt::OtherFocusReason);
}

void Principale::Tmr_scritte_Timer()
{
    setWindowTitle(ruota_titolo(windowTitle(), lunghezza_titolo_));
    titolo_inviato_per_intero();
}

// ---- Help line and event filter ----

void Principale::collega_aiuto()
{
    setMouseTracking(true);
    installEventFilter(this);
    for (const QString& nome : aree_con_aiuto()) {
        QWidget* area = findChild<QWidget*>(nome);
        area->setMouseTracking(true);
        area->installEventFilter(this);
    }
}

// Return and Enter press the focused push button, as Space does: a plain
// window has no default button to take them.
bool Principale::premuto_con_invio(QObject* oggetto, const QKeyEvent& tasto)
{
    auto* pulsante = qobject_cast<QPushButton*>(oggetto);
    if (!pulsante || (tasto.key() != Qt::Key_Return && tasto.key() != Qt::Key_Enter))
        return false;
    if (!tasto.isAutoRepeat())
        pulsante->click();
    return true;
}

// Only the free surface of an area counts: the pointer on a control inside
// it leaves the help line as it was.
void Principale::mostra_aiuto(QWidget* area, QPoint posizione)
{
    if (area->childAt(posizione))
        return;
    if (const auto testo = testo_aiuto(area->objectName()))
        ui_->Text7->setText(*testo);
}

bool Principale::eventFilter(QObject* oggetto, QEvent* evento)
{
    switch (evento->type()) {
    case QEvent::MouseMove:
        if (oggetto->isWidgetType())
            mostra_aiuto(static_cast<QWidget*>(oggetto), static_cast<QMouseEvent*>(evento)->position().toPoint());
        break;
    case QEvent::FocusOut:
        if (auto* casella = qobject_cast<QLineEdit*>(oggetto))
            lascia_campo(casella, *static_cast<QFocusEvent*>(evento));
        break;
    case QEvent::KeyPress:
        // A refusal's tip lasts until the next key in its field.
        if (qobject_cast<QLineEdit*>(oggetto))
            QToolTip::hideText();
        else if (premuto_con_invio(oggetto, *static_cast<QKeyEvent*>(evento)))
            return true;
        break;
    case QEvent::ToolTip:
        // Which device each "Com n" stands for, as it is now.
        if (oggetto == ui_->Cmb_com)
            ui_->Cmb_com->setToolTip(descrizione_porte());
        break;
    default:
        break;
    }
    return QWidget::eventFilter(oggetto, evento);
}

} // namespace brenk
