#include "core/Artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <array>

namespace {

// Every button picture is a white glyph on a rounded tile; the tile colour groups the
// commands (setup blue, selection green, editors teal, link orange, output grey).
const std::array<QColor, 13> kTileColours = {
    QColor(), QColor(0x2f, 0x6f, 0xb3), QColor(0x2e, 0x8b, 0x57), QColor(0xc0, 0x39, 0x2b),
    QColor(0x16, 0x8a, 0x8a), QColor(0x16, 0x8a, 0x8a), QColor(0x16, 0x8a, 0x8a),
    QColor(0xd9, 0x77, 0x06), QColor(0x8e, 0x44, 0xad), QColor(0x5d, 0x6d, 0x7e),
    QColor(0x2f, 0x6f, 0xb3), QColor(0x7f, 0x8c, 0x8d), QColor(0xd9, 0x77, 0x06)};

QPen glyphPen(qreal width) { return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void drawTile(QPainter &p, const QColor &colour)
{
    QLinearGradient shade(0, 0, 0, 64);
    shade.setColorAt(0, colour.lighter(125));
    shade.setColorAt(1, colour.darker(115));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
}

void drawWaves(QPainter &p, QPointF centre, int count, qreal startRadius, qreal step, qreal spanDeg)
{
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < count; ++i) {
        const qreal r = startRadius + i * step;
        QRectF arc(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
        p.drawArc(arc, int(-spanDeg / 2 * 16), int(spanDeg * 16));
    }
}

void drawGlyph(QPainter &p, int n)
{
    p.setPen(glyphPen(4));
    p.setBrush(Qt::NoBrush);
    switch (n) {
    case 1: { // serial connector
        QPainterPath shell;
        shell.moveTo(12, 22); shell.lineTo(52, 22); shell.lineTo(46, 42); shell.lineTo(18, 42); shell.closeSubpath();
        p.drawPath(shell);
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(19 + i * 6.5, 29), 2.2, 2.2);
        for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(22 + i * 6.5, 36), 2.2, 2.2);
        break;
    }
    case 2: { // map pin over a county outline
        QPainterPath pin;
        pin.moveTo(32, 54);
        pin.cubicTo(18, 38, 16, 30, 16, 25);
        pin.arcTo(QRectF(16, 9, 32, 32), 180, -180);
        pin.cubicTo(48, 30, 46, 38, 32, 54);
        p.drawPath(pin);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(32, 25), 5, 5);
        break;
    }
    case 3: { // warning triangle
        QPainterPath tri;
        tri.moveTo(32, 11); tri.lineTo(54, 50); tri.lineTo(10, 50); tri.closeSubpath();
        p.drawPath(tri);
        p.drawLine(QPointF(32, 24), QPointF(32, 37));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(32, 44), 1.5, 1.5);
        break;
    }
    case 4: { // option switches
        for (int i = 0; i < 3; ++i) {
            const qreal y = 18 + i * 14;
            p.drawLine(QPointF(14, y), QPointF(50, y));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(i == 1 ? 40 : 22, y), 4.5, 4.5);
            p.setBrush(Qt::NoBrush);
        }
        break;
    }
    case 5: { // clock
        p.drawEllipse(QPointF(32, 32), 20, 20);
        p.drawLine(QPointF(32, 32), QPointF(32, 19));
        p.drawLine(QPointF(32, 32), QPointF(42, 37));
        break;
    }
    case 6: { // microphone
        p.drawRoundedRect(QRectF(25, 10, 14, 26), 7, 7);
        p.drawArc(QRectF(18, 18, 28, 26), 180 * 16, 180 * 16);
        p.drawLine(QPointF(32, 44), QPointF(32, 53));
        p.drawLine(QPointF(24, 53), QPointF(40, 53));
        break;
    }
    case 7: { // transfer arrows
        p.drawLine(QPointF(12, 24), QPointF(48, 24));
        p.drawPolyline(QPolygonF({QPointF(40, 16), QPointF(49, 24), QPointF(40, 32)}));
        p.drawLine(QPointF(52, 40), QPointF(16, 40));
        p.drawPolyline(QPolygonF({QPointF(24, 32), QPointF(15, 40), QPointF(24, 48)}));
        break;
    }
    case 8: { // memory chip
        p.drawRoundedRect(QRectF(20, 20, 24, 24), 3, 3);
        p.setPen(glyphPen(3));
        for (int i = 0; i < 3; ++i) {
            const qreal o = 26 + i * 6;
            p.drawLine(QPointF(o, 12), QPointF(o, 18));
            p.drawLine(QPointF(o, 46), QPointF(o, 52));
            p.drawLine(QPointF(12, o), QPointF(18, o));
            p.drawLine(QPointF(46, o), QPointF(52, o));
        }
        break;
    }
    case 9: { // printer
        p.drawRect(QRectF(20, 12, 24, 12));
        p.drawRoundedRect(QRectF(12, 24, 40, 18), 4, 4);
        p.drawRect(QRectF(20, 36, 24, 16));
        p.setPen(glyphPen(2.5));
        p.drawLine(QPointF(25, 42), QPointF(39, 42));
        p.drawLine(QPointF(25, 47), QPointF(35, 47));
        break;
    }
    case 10: { // help
        p.drawEllipse(QPointF(32, 32), 20, 20);
        QPainterPath q;
        q.moveTo(25, 26);
        q.arcTo(QRectF(25, 18, 14, 14), 180, -220);
        q.lineTo(32, 37);
        p.drawPath(q);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(32, 44), 1.5, 1.5);
        break;
    }
    case 11: { // exit door
        p.drawPolyline(QPolygonF({QPointF(36, 18), QPointF(36, 12), QPointF(14, 12), QPointF(14, 52),
                                  QPointF(36, 52), QPointF(36, 46)}));
        p.drawLine(QPointF(26, 32), QPointF(52, 32));
        p.drawPolyline(QPolygonF({QPointF(45, 25), QPointF(52, 32), QPointF(45, 39)}));
        break;
    }
    case 12: { // loudspeaker with sound waves
        QPainterPath cone;
        cone.moveTo(12, 26); cone.lineTo(20, 26); cone.lineTo(30, 16); cone.lineTo(30, 48);
        cone.lineTo(20, 38); cone.lineTo(12, 38); cone.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(cone);
        drawWaves(p, QPointF(30, 32), 2, 10, 8, 90);
        break;
    }
    default:
        break;
    }
}

void drawReceiver(QPainter &p, const QRectF &box)
{
    // A weather radio: a rounded cabinet with a speaker grille, a display and a whip antenna.
    const qreal w = box.width(), h = box.height();
    const QRectF cabinet(box.left() + w * 0.08, box.top() + h * 0.38, w * 0.84, h * 0.54);
    // The antenna leans right; the waves leave its tip and stay inside the box.
    const QPointF tip(box.left() + w * 0.76, box.top() + h * 0.22);
    p.setPen(QPen(QColor(0x1f, 0x3a, 0x5f), w * 0.025));
    p.drawLine(QPointF(box.left() + w * 0.68, cabinet.top()), tip);
    p.setPen(QPen(QColor(0xd9, 0x77, 0x06), w * 0.03, Qt::SolidLine, Qt::RoundCap));
    drawWaves(p, tip, 2, w * 0.06, w * 0.055, 100);

    QLinearGradient body(cabinet.topLeft(), cabinet.bottomLeft());
    body.setColorAt(0, QColor(0x3b, 0x6e, 0xa8));
    body.setColorAt(1, QColor(0x1f, 0x3a, 0x5f));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(cabinet, w * 0.08, w * 0.08);

    const QRectF grille(cabinet.left() + w * 0.07, cabinet.top() + h * 0.1, cabinet.height() * 0.7, cabinet.height() * 0.7);
    p.setBrush(QColor(0x12, 0x24, 0x3d));
    p.drawEllipse(grille);
    p.setBrush(QColor(0x5b, 0x8d, 0xc9));
    const QPointF c = grille.center();
    for (int ring = 1; ring <= 3; ++ring)
        for (int k = 0; k < ring * 6; ++k) {
            const qreal a = 2 * M_PI * k / (ring * 6);
            const qreal r = grille.width() * 0.13 * ring;
            p.drawEllipse(QPointF(c.x() + r * qCos(a), c.y() + r * qSin(a)), w * 0.012, w * 0.012);
        }

    const QRectF display(grille.right() + w * 0.06, cabinet.top() + h * 0.1, cabinet.right() - grille.right() - w * 0.12, h * 0.16);
    p.setBrush(QColor(0x9b, 0xe5, 0x9b));
    p.drawRoundedRect(display, w * 0.015, w * 0.015);
    // Below the display, a lamp at its left and three keys ending under its right edge.
    p.setBrush(QColor(0xc0, 0x39, 0x2b));
    p.drawEllipse(QPointF(display.left() + w * 0.025, display.bottom() + h * 0.12), w * 0.022, w * 0.022);
    p.setBrush(QColor(0xe8, 0xee, 0xf5));
    const qreal key = w * 0.05, pitch = w * 0.075;
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(display.right() - key - (2 - i) * pitch, display.bottom() + h * 0.08, key, h * 0.07),
                          w * 0.012, w * 0.012);
}

} // namespace

QPixmap imageListPicture(int n, int size)
{
    if (n < 1 || n > 12)
        return QPixmap();
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    drawTile(p, kTileColours[n]);
    drawGlyph(p, n);
    return pixmap;
}

QPixmap programIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawReceiver(p, QRectF(0, 0, size, size));
    return pixmap;
}

QPixmap splashPicture(int width, int height)
{
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(0x2c, 0x3e, 0x50));
    sky.setColorAt(0.6, QColor(0x4a, 0x69, 0x8c));
    sky.setColorAt(1, QColor(0xa9, 0xc6, 0xe0));
    p.fillRect(pixmap.rect(), sky);
    // A storm cloud with a lightning bolt on the left, the receiver on the right.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5d, 0x6d, 0x7e));
    const qreal cx = width * 0.27, cy = height * 0.35;
    for (const auto &[dx, dy, r] : {std::tuple{-40.0, 10.0, 28.0}, {0.0, -8.0, 38.0}, {42.0, 8.0, 30.0}, {0.0, 18.0, 30.0}})
        p.drawEllipse(QPointF(cx + dx, cy + dy), r, r);
    QPainterPath bolt;
    bolt.moveTo(cx + 4, cy + 30); bolt.lineTo(cx - 16, cy + 72); bolt.lineTo(cx, cy + 70);
    bolt.lineTo(cx - 10, cy + 108); bolt.lineTo(cx + 22, cy + 58); bolt.lineTo(cx + 6, cy + 60);
    bolt.lineTo(cx + 18, cy + 30); bolt.closeSubpath();
    p.setBrush(QColor(0xf7, 0xdc, 0x6f));
    p.drawPath(bolt);
    const qreal side = std::min(width * 0.5, height * 0.95);
    drawReceiver(p, QRectF(width - side - width * 0.04, (height - side) / 2, side, side));
    return pixmap;
}
