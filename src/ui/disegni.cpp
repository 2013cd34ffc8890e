// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/disegni.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace brenk {

namespace {

void sfondo(QPainter& p, QRectF area, QColor alto, QColor basso)
{
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, alto);
    g.setColorAt(1, basso);
    p.fillRect(area, g);
}

// Concentric arcs opening to the right of `centro`: the radio waves.
void onde(QPainter& p, QPointF centro, qreal primo_raggio, qreal passo, int quante, qreal spessore)
{
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < quante; ++i) {
        const qreal r = primo_raggio + i * passo;
        QColor c(255, 220, 60);
        c.setAlphaF(1.0 - 0.22 * i);
        p.setPen(QPen(c, spessore, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(centro.x() - r, centro.y() - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
}

void corpo(QPainter& p, QRectF c)
{
    QLinearGradient g(c.topLeft(), c.topRight());
    g.setColorAt(0, QColor(70, 74, 82));
    g.setColorAt(0.5, QColor(120, 126, 138));
    g.setColorAt(1, QColor(50, 54, 60));
    p.setPen(QPen(QColor(20, 20, 24), 3));
    p.setBrush(g);
    p.drawRoundedRect(c, 28, 28);
}

void comandi(QPainter& p, QRectF c)
{
    // Display with the band and the status.
    const QRectF display(c.left() + 24, c.top() + 40, c.width() - 48, 70);
    p.setPen(QPen(QColor(10, 30, 30), 2));
    p.setBrush(QColor(0, 200, 200));
    p.drawRoundedRect(display, 6, 6);
    p.setPen(QColor(0, 40, 40));
    p.setFont(QFont(QStringLiteral("Sans Serif"), 14, QFont::Bold));
    p.drawText(display, Qt::AlignCenter, QStringLiteral("UHF  TX"));

    // Status lamp.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 230, 90));
    p.drawEllipse(QPointF(c.right() - 34, c.top() + 136), 8, 8);

    // The alarm push-button.
    const QPointF centro(c.center().x(), c.top() + 215);
    p.setPen(QPen(QColor(90, 0, 0), 3));
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(centro, 46, 46);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("Sans Serif"), 13, QFont::Bold));
    p.drawText(QRectF(centro.x() - 46, centro.y() - 46, 92, 92), Qt::AlignCenter, QStringLiteral("SOS"));

    // Speaker slots.
    p.setPen(QPen(QColor(30, 32, 36), 4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const qreal y = c.bottom() - 52 + i * 12;
        p.drawLine(QPointF(c.left() + 50, y), QPointF(c.right() - 50, y));
    }
}

} // namespace

QImage disegna_trasmettitore()
{
    QImage immagine(320, 480, QImage::Format_RGB888);
    QPainter p(&immagine);
    p.setRenderHint(QPainter::Antialiasing);
    sfondo(p, immagine.rect(), QColor(16, 32, 80), QColor(90, 140, 200));

    const QRectF c(70, 120, 180, 320);
    // Antenna stub on the top left of the body, with its waves.
    p.setPen(QPen(QColor(20, 20, 24), 2));
    p.setBrush(QColor(35, 35, 40));
    p.drawRoundedRect(QRectF(c.left() + 24, 40, 22, c.top() - 30), 8, 8);
    onde(p, QPointF(c.left() + 35, 52), 30, 26, 4, 6);

    corpo(p, c);
    comandi(p, c);

    p.setPen(QColor(230, 240, 255));
    p.setFont(QFont(QStringLiteral("Sans Serif"), 20, QFont::Bold));
    p.drawText(QRectF(0, 444, 320, 32), Qt::AlignCenter, QStringLiteral("BRENK"));
    return immagine;
}

QImage disegna_logo(QSize dimensione)
{
    QImage immagine(dimensione, QImage::Format_RGB888);
    QPainter p(&immagine);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = immagine.rect();
    sfondo(p, area, QColor(16, 32, 80), QColor(60, 100, 170));
    const qreal h = area.height();
    onde(p, QPointF(h * 0.35, h * 0.5), h * 0.18, h * 0.14, 3, 3);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("Sans Serif"), 12, QFont::Bold));
    p.drawText(area.adjusted(h * 0.75, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("BRENK"));
    return immagine;
}

} // namespace brenk
