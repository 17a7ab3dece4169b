#include "app/tool_icon_painter.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace {

// Draws one glyph on a 16 × 16 grid in the ink colour.
void DrawGlyph(QPainter& p, TToolGlyph glyph, const QColor& ink) {
    QPen pen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const auto arrowHead = [&p](QPointF tip, QPointF a, QPointF b) {
        p.drawLine(tip, a);
        p.drawLine(tip, b);
    };
    QPainterPath path;
    switch (glyph) {
    case TToolGlyph::Save: // a floppy disk
        p.drawRoundedRect(QRectF(2, 2, 12, 12), 1.5, 1.5);
        p.setBrush(ink);
        p.drawRect(QRectF(5, 2, 6, 3.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(4.5, 9, 7, 5));
        break;
    case TToolGlyph::Open: // a folder
        path.moveTo(1.5, 13.5);
        path.lineTo(1.5, 3.5);
        path.lineTo(6, 3.5);
        path.lineTo(7.5, 5.5);
        path.lineTo(14.5, 5.5);
        path.lineTo(14.5, 13.5);
        path.closeSubpath();
        p.drawPath(path);
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        break;
    case TToolGlyph::Close: // a cross
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case TToolGlyph::Print: // a printer with its sheet
        p.drawRect(QRectF(4.5, 1.5, 7, 4.5));
        p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1, 1);
        p.setBrush(ink);
        p.drawRect(QRectF(4.5, 10, 7, 4.5));
        break;
    case TToolGlyph::Receive: // an arrow down into a tray
        p.drawLine(QPointF(8, 1.5), QPointF(8, 9.5));
        arrowHead(QPointF(8, 9.5), QPointF(4.5, 6), QPointF(11.5, 6));
        path.moveTo(1.5, 10);
        path.lineTo(1.5, 14);
        path.lineTo(14.5, 14);
        path.lineTo(14.5, 10);
        p.drawPath(path);
        break;
    case TToolGlyph::Analyse: // a magnifying glass
        p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(14, 14));
        break;
    case TToolGlyph::Undo: // a bent arrow back to the left
        path.moveTo(13.5, 13.5);
        path.cubicTo(13.5, 7, 10, 5, 3, 5);
        p.drawPath(path);
        arrowHead(QPointF(2.5, 5), QPointF(6, 1.5), QPointF(6, 8.5));
        break;
    case TToolGlyph::Smooth: // a smooth wave over a faint noisy one
        p.setPen(QPen(ink, 1, Qt::DotLine));
        p.drawPolyline(
            QPolygonF({{1, 9}, {3, 5}, {5, 7}, {7, 3}, {9, 10}, {11, 8}, {13, 12}, {15, 9}}));
        p.setPen(pen);
        path.moveTo(1, 8);
        path.cubicTo(4, 2, 6, 2, 8, 8);
        path.cubicTo(10, 14, 12, 14, 15, 8);
        p.drawPath(path);
        break;
    case TToolGlyph::Level: // a tilted base line brought level
        p.setPen(QPen(ink, 1, Qt::DashLine));
        p.drawLine(QPointF(1, 14), QPointF(15, 6));
        p.setPen(pen);
        p.drawLine(QPointF(1, 10.5), QPointF(15, 10.5));
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 4), QPointF(12, 9));
        arrowHead(QPointF(12, 9), QPointF(10.5, 7), QPointF(13.5, 7));
        break;
    case TToolGlyph::Integral: // the integral sign
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
        path.moveTo(12, 3);
        path.cubicTo(11, 0.5, 8, 1, 8, 4.5);
        path.lineTo(8, 11.5);
        path.cubicTo(8, 15, 5, 15.5, 4, 13);
        p.drawPath(path);
        break;
    case TToolGlyph::Extrema: // a line with its peaks marked
        p.drawPolyline(QPolygonF({{1, 12}, {5, 4}, {10, 13}, {15, 5}}));
        p.setPen(QPen(ink, 1));
        p.drawLine(QPointF(3, 1.5), QPointF(7, 1.5));
        p.drawLine(QPointF(8, 15.5), QPointF(12, 15.5));
        break;
    case TToolGlyph::LowPass: // the response of a low-pass filter
        p.setPen(QPen(ink, 1));
        p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
        p.setPen(pen);
        path.moveTo(1, 4);
        path.lineTo(6, 4);
        path.cubicTo(10, 4, 10, 13, 15, 13);
        p.drawPath(path);
        break;
    case TToolGlyph::Sum: // sigma
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        p.drawPolyline(QPolygonF(
            {{12.5, 4}, {12.5, 2}, {3.5, 2}, {8.5, 8}, {3.5, 14}, {12.5, 14}, {12.5, 12}}));
        break;
    case TToolGlyph::WholeSpectrum: // a frame with arrows out to both sides
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        p.drawLine(QPointF(4, 8), QPointF(12, 8));
        arrowHead(QPointF(4, 8), QPointF(6, 6), QPointF(6, 10));
        arrowHead(QPointF(12, 8), QPointF(10, 6), QPointF(10, 10));
        break;
    case TToolGlyph::Stop:
        p.setBrush(ink);
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
        break;
    case TToolGlyph::Start:
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({{4.5, 2.5}, {13, 8}, {4.5, 13.5}}));
        break;
    case TToolGlyph::WidenRange: // a double arrow between two bounds
        p.drawLine(QPointF(1.5, 3), QPointF(1.5, 13));
        p.drawLine(QPointF(14.5, 3), QPointF(14.5, 13));
        p.drawLine(QPointF(4, 8), QPointF(12, 8));
        arrowHead(QPointF(4, 8), QPointF(6.5, 5.5), QPointF(6.5, 10.5));
        arrowHead(QPointF(12, 8), QPointF(9.5, 5.5), QPointF(9.5, 10.5));
        break;
    case TToolGlyph::MouseSelect: // the mouse pointer
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(ink);
        p.drawPolygon(QPolygonF(
            {{4, 1.5}, {4, 13}, {7, 10.5}, {9, 14.5}, {11, 13.5}, {9, 9.5}, {12.5, 9.5}}));
        break;
    case TToolGlyph::More: // two chevrons to the right
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{3, 3}, {7.5, 8}, {3, 13}}));
        p.drawPolyline(QPolygonF({{8.5, 3}, {13, 8}, {8.5, 13}}));
        break;
    }
}

class TToolIconEngine : public QIconEngine {
public:
    explicit TToolIconEngine(TToolGlyph glyph) : Glyph(glyph) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const QPalette palette = QGuiApplication::palette();
        const QColor ink = mode == QIcon::Disabled
                               ? palette.color(QPalette::Disabled, QPalette::ButtonText)
                           : mode == QIcon::Selected ? palette.color(QPalette::HighlightedText)
                                                     : palette.color(QPalette::ButtonText);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        DrawGlyph(*painter, Glyph, ink);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new TToolIconEngine(Glyph); }
    QString key() const override { return QStringLiteral("kav7-tool-glyph"); }

private:
    TToolGlyph Glyph;
};

} // namespace

QIcon ToolIcon(TToolGlyph glyph) {
    return QIcon(new TToolIconEngine(glyph));
}
