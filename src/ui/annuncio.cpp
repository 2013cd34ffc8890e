// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/annuncio.h"

#include "ui/aspetto.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace brenk {

namespace {

constexpr Qt::Alignment allineamento = Qt::AlignCenter;

// A notification, which a screen reader speaks as it shows. A label changing
// its name out of the focus is heard by none.
class AnnuncioAccessibile : public QAccessibleWidget {
public:
    explicit AnnuncioAccessibile(Annuncio* annuncio) : QAccessibleWidget(annuncio, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<const Annuncio*>(object())->testo() : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* accessibile(const QString& classe, QObject* oggetto)
{
    if (classe != QLatin1String(Annuncio::staticMetaObject.className()))
        return nullptr;
    return new AnnuncioAccessibile(static_cast<Annuncio*>(oggetto));
}

} // namespace

Annuncio::Annuncio(QWidget* parent) : QFrame(parent)
{
    [[maybe_unused]] static const bool installata = [] {
        QAccessible::installFactory(accessibile);
        return true;
    }();
}

void Annuncio::annuncia(const QString& testo, const QColor& sfondo)
{
    const bool in_coda = in_coda_.has_value();
    in_coda_ = {testo, sfondo};
    if (!in_coda)
        QMetaObject::invokeMethod(this, &Annuncio::mostra, Qt::QueuedConnection);
}

// Qt says that the place shows, and no longer shows, as it does so; a new
// text over one already shown is said the same way.
void Annuncio::mostra()
{
    const auto [testo, sfondo] = *std::exchange(in_coda_, {});
    QPalette colori = palette();
    colori.setColor(QPalette::Window, sfondo);
    setPalette(colori);
    if (testo == testo_)
        return;
    testo_ = testo;
    update();
    if (testo.isEmpty()) {
        hide();
    } else if (isHidden()) {
        show();
    } else if (isVisible()) {
        QAccessibleEvent di_nuovo(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&di_nuovo);
    }
}

void Annuncio::paintEvent(QPaintEvent* evento)
{
    QFrame::paintEvent(evento);
    QPainter p(this);
    p.setFont(carattere_che_sta(font(), testo_, contentsRect(), allineamento));
    p.drawText(contentsRect(), allineamento | Qt::TextWordWrap, testo_);
}

} // namespace brenk
