#include "EditorGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor Ink(0x20, 0x30, 0x48);
const QColor Blue(0x1F, 0x4E, 0x8C);
const QColor Green(0x1B, 0x7F, 0x2A);
const QColor Red(0xB0, 0x30, 0x20);
const QColor Paper(0xFF, 0xFF, 0xF4);
const QColor Folder(0xE8, 0xB8, 0x48);

void Page(QPainter& p, QRectF r) {
    p.setPen(QPen(Ink, 1.2));
    p.setBrush(Paper);
    p.drawRect(r);
}

void Letter(QPainter& p, const QString& text, const QColor& colour, int pixelSize) {
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(pixelSize);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, text);
}

void Draw(QPainter& p, const QString& name) {
    if (name == QLatin1String("OpenBtn")) {
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(Folder);
        p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(8, 6), QPointF(10, 8), QPointF(17, 8),
                                 QPointF(17, 16), QPointF(2, 16)}));
        p.setBrush(QColor(0xF6, 0xD6, 0x78));
        p.drawPolygon(
            QPolygonF({QPointF(4, 10), QPointF(19, 10), QPointF(17, 16), QPointF(2, 16)}));
    } else if (name == QLatin1String("SaveBtn")) {
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(Blue);
        p.drawRect(QRectF(3, 3, 14, 14));
        p.setBrush(Paper);
        p.drawRect(QRectF(6, 3, 8, 5));
        p.drawRect(QRectF(5.5, 11, 9, 6));
    } else if (name == QLatin1String("CopyBtn")) {
        Page(p, QRectF(3, 3, 9, 11));
        Page(p, QRectF(8, 7, 9, 11));
    } else if (name == QLatin1String("CutBtn")) {
        p.setPen(QPen(Ink, 1.6));
        p.drawLine(QPointF(6, 3), QPointF(13, 13));
        p.drawLine(QPointF(14, 3), QPointF(7, 13));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Red, 1.6));
        p.drawEllipse(QPointF(6, 15.5), 2.6, 2.6);
        p.drawEllipse(QPointF(14, 15.5), 2.6, 2.6);
    } else if (name == QLatin1String("PasteBtn")) {
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(QColor(0xB8, 0x86, 0x4B));
        p.drawRect(QRectF(3, 4, 12, 14));
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawRect(QRectF(6.5, 2.5, 5, 3));
        Page(p, QRectF(9, 9, 8, 9));
    } else if (name == QLatin1String("UndoBtn")) {
        p.setPen(QPen(Blue, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath arc;
        arc.moveTo(5, 9);
        arc.cubicTo(8, 4, 17, 5, 16, 12);
        arc.cubicTo(15.5, 15, 12, 16, 9, 16);
        p.drawPath(arc);
        p.setBrush(Blue);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(2, 5), QPointF(8, 6), QPointF(4, 12)}));
    } else if (name == QLatin1String("GenerateBtn")) {
        p.setPen(QPen(Green, 1.2));
        for (int i = 0; i < 4; ++i) {
            p.drawLine(QPointF(3 + 4.5 * i, 3), QPointF(3 + 4.5 * i, 17));
            p.drawLine(QPointF(3, 3 + 4.5 * i), QPointF(17, 3 + 4.5 * i));
        }
        p.drawLine(QPointF(3, 17), QPointF(17, 3));
    } else if (name == QLatin1String("CheckBtn")) {
        p.setPen(QPen(Green, 2.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(3.5, 10.5), QPointF(8, 15), QPointF(16.5, 4.5)}));
    } else if (name == QLatin1String("PreviewBtn")) {
        p.setPen(QPen(Ink, 1.6));
        p.drawPolyline(QPolygonF(
            {QPointF(4, 17), QPointF(4, 7), QPointF(10, 3), QPointF(16, 7), QPointF(16, 17)}));
        p.drawLine(QPointF(4, 7), QPointF(16, 7));
        p.drawLine(QPointF(4, 7), QPointF(16, 17));
    } else if (name == QLatin1String("CalculateBtn")) {
        Letter(p, QStringLiteral("Σ"), Blue, 16);
    } else if (name == QLatin1String("VisualizeBtn")) {
        p.setPen(Qt::NoPen);
        p.setBrush(Blue);
        p.drawRect(QRectF(3, 11, 3.5, 6));
        p.setBrush(Green);
        p.drawRect(QRectF(8.2, 6, 3.5, 11));
        p.setBrush(Red);
        p.drawRect(QRectF(13.5, 3, 3.5, 14));
    } else if (name == QLatin1String("MatBtn")) {
        Letter(p, QStringLiteral("E"), Red, 15);
    } else if (name == QLatin1String("InsertProfDat")) {
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawRect(QRectF(4, 3, 12, 2.5));
        p.drawRect(QRectF(8.8, 3, 2.4, 14));
        p.drawRect(QRectF(4, 14.5, 12, 2.5));
    } else if (name == QLatin1String("CalculatorBtn")) {
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(QColor(0xD8, 0xD8, 0xD8));
        p.drawRect(QRectF(4, 2, 12, 16));
        p.setBrush(QColor(0xB8, 0xD8, 0xB0));
        p.drawRect(QRectF(6, 4, 8, 3.5));
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                p.drawRect(QRectF(6 + 3 * column, 9.5 + 2.8 * row, 2, 1.8));
    } else if (name == QLatin1String("HelpBtn")) {
        Letter(p, QStringLiteral("?"), Blue, 16);
    } else if (name == QLatin1String("ExitBtn")) {
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(QColor(0xB8, 0x86, 0x4B));
        p.drawRect(QRectF(3, 2, 8, 16));
        p.setPen(QPen(Red, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(9, 10), QPointF(18, 10));
        p.drawPolyline(QPolygonF({QPointF(15, 7), QPointF(18, 10), QPointF(15, 13)}));
    }
}

} // namespace

QIcon EditorGlyphs::Icon(const QString& button) {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, button);
    painter.end();
    return QIcon(pixmap);
}
