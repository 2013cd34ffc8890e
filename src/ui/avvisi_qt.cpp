// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/avvisi_qt.h"
#include "ui/testi.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace brenk {

namespace {

// The suspension point of an operation that waits for the operator to close
// a message box. If the operation is abandoned first, its frame takes the box
// and the pending resumption with it.
class AttesaMessaggio {
public:
    AttesaMessaggio(const QString& testo, Icona icona, QWidget* finestra)
        : testo_(testo), icona_(icona), finestra_(finestra)
    {
    }
    AttesaMessaggio(const AttesaMessaggio&) = delete;
    AttesaMessaggio& operator=(const AttesaMessaggio&) = delete;
    ~AttesaMessaggio() { delete scatola_; }

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> h)
    {
        const auto icona = icona_ == Icona::Esclamazione ? QMessageBox::Warning : QMessageBox::NoIcon;
        scatola_ = new QMessageBox(icona, titolo_applicazione, testo_, QMessageBox::Ok, finestra_);
        scatola_->setWindowModality(Qt::ApplicationModal);
        // Resume from the event loop once the box's own signal has returned;
        // `guardia_` drops the resumption if this frame is gone by then.
        QObject::connect(scatola_, &QDialog::finished, &guardia_, [this, h] {
            scatola_->deleteLater();
            scatola_ = nullptr;
            QTimer::singleShot(0, &guardia_, [h] { h.resume(); });
        });
        scatola_->show();
    }
    void await_resume() const noexcept {}

private:
    QString testo_;
    Icona icona_;
    QPointer<QWidget> finestra_;
    QPointer<QMessageBox> scatola_;
    QObject guardia_;
};

Task<void> mostra(QString testo, Icona icona, QPointer<QWidget> finestra)
{
    co_await AttesaMessaggio(testo, icona, finestra);
}

} // namespace

void AvvisiQt::beep()
{
    QApplication::beep();
}

Task<void> AvvisiQt::messaggio(const QString& testo, Icona icona)
{
    return mostra(testo, icona, finestra_);
}

} // namespace brenk
