#include "view/plot_widget.h"

#include "view/display_color_painter.h"
#include "view/visir_controller.h"

#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace {

// The field marker is red whatever the colour set says.
constexpr TColorValue FieldMarkerColour = 0x0000FF;

} // namespace

TPlotWidget::TPlotWidget(const TKavCfg& cfg, const TPointTable& store,
                         const TSpectrumResults& results, const TInstrumentReadings& readings,
                         const TValueFormat& format, const TGFactorDisplay& gfactor,
                         QWidget* parent)
    : QWidget(parent), Cfg(cfg), Store(store), Results(results), Readings(readings), Format(format),
      GFactor(gfactor) {
    TextFont = font();
    TextFont.setPointSize(10);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(40, 40);
    // Live drawing reaches the screen once per display frame: the pixels and
    // marker moves of every frame handled meanwhile are joined into one
    // rectangle and shown by one update.
    LiveFrame.setSingleShot(true);
    LiveFrame.setTimerType(Qt::PreciseTimer);
    connect(&LiveFrame, &QTimer::timeout, this, &TPlotWidget::FlushLiveDrawing);
}

int TPlotWidget::DisplayFrameMs() const {
    const QScreen* s = screen();
    const double rate = s ? s->refreshRate() : 0;
    return rate >= 20 && rate <= 500 ? static_cast<int>(1000 / rate) : DefaultFrameMs;
}

void TPlotWidget::MarkLiveDrawn(const QRect& area) {
    LiveDirty |= area;
    if (!LiveFrame.isActive())
        LiveFrame.start(DisplayFrameMs());
}

void TPlotWidget::FlushLiveDrawing() {
    LiveFrame.stop();
    if (!LiveDirty.isEmpty())
        update(LiveDirty);
    LiveDirty = QRect();
}

void TPlotWidget::EnsureCanvas() {
    if (Image.size() == size() && !Image.isNull())
        return;
    Image = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    // Texts measure and render at the screen's resolution.
    Image.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    Image.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    Image.fill(ToRgb(Cfg.DisplayColors.BackGround));
}

void TPlotWidget::PutPixel(int x, int y, QRgb colour) {
    Pixels().Put(x, y, colour);
}

void TPlotWidget::PutSlotPixels(const TImagePixels& px, std::uint16_t slot, QRgb colour) {
    const TPointSlot& s = Store[slot];
    const int x = Geo.XOfCode(s.X);
    px.Put(x, Geo.PointY(s.Y), colour);
    if (Cfg.ShowFirst && RawTrace)
        px.Put(x, Geo.PointY(RawTrace[slot]), ToRgb(Cfg.DisplayColors.AddGraph));
}

TPlotPainter TPlotWidget::Painter() const {
    return TPlotPainter(
        TPlotSource{Cfg, Store, Results, Readings, Format, GFactor, RawTrace, Analysis},
        Cfg.DisplayColors, TextFont, false, &Sprites);
}

void TPlotWidget::DrawGrid() {
    FullPaintDue = false;
    EnsureCanvas();
    // The wipe takes the moving marks with it.
    if (Visirs)
        Visirs->ForgetDrawnLines();
    MarkerX = -1;
    Geo = TPlotGeometry::Compute(width(), height(), Cfg.ViewMin, Cfg.ViewMax, Cfg.OrdScale);
    {
        QPainter p(&Image);
        Painter().DrawGrid(p, Geo);
    }
    update();
}

void TPlotWidget::ShowBackgroundOn(QWidget& frame) const {
    QPalette palette = frame.palette();
    palette.setColor(QPalette::Window, ToQColor(Cfg.DisplayColors.BackGround));
    frame.setPalette(palette);
}

void TPlotWidget::ScreenBoxPaint() {
    if (WaitingForScreen) {
        FullPaintDue = true;
        update();
        return;
    }
    ++FullPaints;
    DrawGrid();
    const TPlotPainter painter = Painter();
    painter.DrawPoints(Image, Geo);
    {
        QPainter p(&Image);
        painter.DrawMarksAndTexts(p, Geo);
    }
    if (Visirs)
        Visirs->PlaceShownVisirs();
    update();
}

void TPlotWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        ScreenBoxPaint();
    QWidget::changeEvent(event);
}

void TPlotWidget::PlotSlot(std::uint16_t slot, TColorValue colour) {
    EnsureCanvas();
    const TPointSlot& s = Store[slot];
    if (!IsValidSlot(s))
        return;
    const TImagePixels px = Pixels();
    const int x = Geo.XOfCode(s.X);
    const int y = Geo.PointY(s.Y);
    px.Put(x, y, ToRgb(colour));
    int top = y;
    int bottom = y;
    if (Cfg.ShowFirst && RawTrace) {
        const int raw = Geo.PointY(RawTrace[slot]);
        px.Put(x, raw, ToRgb(Cfg.DisplayColors.AddGraph));
        top = std::min(top, raw);
        bottom = std::max(bottom, raw);
    }
    MarkLiveDrawn(QRect(x, top, 1, bottom - top + 1));
}

void TPlotWidget::PlotSlot(std::uint16_t slot) {
    PlotSlot(slot, Cfg.DisplayColors.Graph);
}

void TPlotWidget::PlotPoint(long code, long ordinate, TColorValue colour) {
    EnsureCanvas();
    const int x = Geo.XOfCode(code);
    const int y = Geo.PointY(ordinate);
    PutPixel(x, y, ToRgb(colour));
    MarkLiveDrawn(QRect(x, y, 1, 1));
}

void TPlotWidget::XorMarker(int x) {
    // Apex at (x, H - 8), base from x - 5 to x + 5 on row H - 3: one run of
    // pixels per row, so no pixel is inverted twice. The colour bits are
    // inverted in place, as an exclusive-or pen would.
    const QRgb bits = ToRgb(FieldMarkerColour) & 0x00FFFFFF;
    const int h = Geo.H;
    for (int i = 0; i <= 5; ++i) {
        const int y = h - 8 + i;
        if (y < 0 || y >= Image.height())
            continue;
        QRgb* row = reinterpret_cast<QRgb*>(Image.scanLine(y));
        const int from = std::max(x - i, 0);
        const int to = std::min(x + i, Image.width() - 1);
        for (int k = from; k <= to; ++k)
            row[k] ^= bits;
    }
    MarkLiveDrawn(QRect(x - 5, h - 8, 11, 6));
}

void TPlotWidget::MoveFieldMarker(long code) {
    EnsureCanvas();
    if (code < Geo.ViewMin || code > Geo.ViewMax) {
        if (MarkerX >= 0)
            XorMarker(MarkerX);
        MarkerX = -1;
        return;
    }
    const int x = Geo.XOfCode(code);
    if (x == MarkerX)
        return;
    if (MarkerX >= 0)
        XorMarker(MarkerX);
    XorMarker(x);
    MarkerX = x;
}

void TPlotWidget::DrawVisirLine(int x, TColorValue colour) {
    EnsureCanvas();
    if (Geo.H - 5 < 3)
        return;
    QPainter p(&Image);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(ToQColor(colour));
    p.drawLine(x, 3, x, Geo.H - 5);
    update(x, 0, 1, height());
}

void TPlotWidget::MergeBand(int fromX, int toX, TColorValue colour) {
    EnsureCanvas();
    const int lo = std::max(std::min(fromX, toX), 0);
    const int hi = std::min(std::max(fromX, toX), Image.width() - 1);
    if (lo > hi)
        return;
    const QRgb add = ToRgb(colour) & 0x00FFFFFF;
    for (int y = 0; y < Image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(Image.scanLine(y));
        for (int x = lo; x <= hi; ++x)
            row[x] |= add;
    }
    update(lo, 0, hi - lo + 1, height());
}

void TPlotWidget::SetPointerShape(TPointerShape shape) {
    switch (shape) {
    case TPointerShape::Default:
        unsetCursor();
        break;
    case TPointerShape::HorizontalSplit:
        setCursor(Qt::SplitHCursor);
        break;
    case TPointerShape::Hand:
        setCursor(Qt::PointingHandCursor);
        break;
    }
}

void TPlotWidget::paintEvent(QPaintEvent* event) {
    if (WaitingForScreen) {
        WaitingForScreen = false;
        if (FullPaintDue)
            ScreenBoxPaint();
    }
    if (Image.size() != size())
        ScreenBoxPaint();
    QPainter p(this);
    p.drawImage(event->rect(), Image, event->rect());
}

void TPlotWidget::resizeEvent(QResizeEvent*) {
    ScreenBoxPaint();
}

void TPlotWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && ScreenMenu) {
        ScreenMenu->popup(event->globalPosition().toPoint());
        return;
    }
    Pressed = true;
    if (Visirs)
        Visirs->MouseDown(event->position().toPoint().x());
}

void TPlotWidget::mouseMoveEvent(QMouseEvent* event) {
    if (Visirs)
        Visirs->MouseMove(event->position().toPoint().x());
}

void TPlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!Pressed)
        return;
    Pressed = false;
    if (Visirs)
        Visirs->MouseUp(event->position().toPoint().x());
}
