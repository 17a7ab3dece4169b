#include "view/plot_picture_painter.h"

#include "base/atomic_file.h"
#include "view/label_painter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

namespace {

constexpr double MetersPerInch = 0.0254;

// On a picture the visir lines go under the texts, whose background boxes
// keep them readable; on the screen they are drawn last, in exclusive-or.
void PaintPicture(QPainter& p, const TPlotPainter& painter, const TPlotGeometry& geo) {
    painter.DrawGrid(p, geo);
    painter.DrawPoints(p, geo);
    painter.DrawVisirLines(p, geo);
    painter.DrawMarksAndTexts(p, geo);
}

} // namespace

QImage PlotPictureImage(const TPlotSource& source, const QFont& font, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(PictureDpi / MetersPerInch);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    TLabelSprites sprites;
    const TPlotPainter painter(source, source.Cfg.BMPColors, font, false, &sprites);
    const TPlotGeometry geo = painter.Geometry(size.width(), size.height());
    {
        QPainter p(&image);
        painter.DrawGrid(p, geo);
    }
    painter.DrawPoints(image, geo);
    QPainter p(&image);
    painter.DrawVisirLines(p, geo);
    painter.DrawMarksAndTexts(p, geo);
    return image;
}

QByteArray PlotPictureSvg(const TPlotSource& source, const QFont& font, QSize size,
                          const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(PictureDpi);
    svg.setTitle(title);
    svg.setDescription(QStringLiteral("Kav7"));
    const TPlotPainter painter(source, source.Cfg.BMPColors, font, true);
    const TPlotGeometry geo = painter.Geometry(size.width(), size.height());
    QPainter p(&svg);
    PaintPicture(p, painter, geo);
    p.end();
    return bytes;
}

bool WritePlotPicture(const QString& path, TPictureFormat format, const TPlotSource& source,
                      const QFont& font, QSize size, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QCoreApplication::translate("PlotPicturePainter",
                                                 "Не удалось записать файл \"%1\": %2")
                         .arg(path, reason);
        return false;
    };
    if (!IsPictureSize(size))
        return fail(QCoreApplication::translate("PlotPicturePainter",
                                                "размер рисунка %1 × %2 вне %3..%4 точек")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(MinPictureSide)
                        .arg(MaxPictureSide));
    QByteArray bytes;
    if (format == TPictureFormat::Svg) {
        bytes = PlotPictureSvg(source, font, size, QFileInfo(path).completeBaseName());
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!PlotPictureImage(source, font, size).save(&buffer, "PNG"))
            return fail(
                QCoreApplication::translate("PlotPicturePainter", "рисунок PNG не построен"));
    }
    QString reason;
    if (!WriteFileAtomically(path, bytes, &reason))
        return fail(reason);
    return true;
}
