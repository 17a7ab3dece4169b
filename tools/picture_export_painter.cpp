// kavtool export FILE.kav... --format png|svg [-o OUT|DIR/] [--ini Kav.ini]
// [--size WxH]: a picture of the plot of each spectrum, in the settings'
// BMPColors and view, as kavtool-paint draws it for kavtool.

#include "tools/paint_commands_painter.h"

#include "spectrum/spectrum_results.h"
#include "spectrum/value_format.h"
#include "tools/export_run.h"
#include "tools/kavtool.h"
#include "view/plot_picture_painter.h"

#include <QGuiApplication>

namespace {

bool WritePicture(const TExportJob& job, const TExportSpectrum& s, QStringList&, QString* error) {
    if (job.Format != TExchangeFormat::Png && job.Format != TExchangeFormat::Svg) {
        *error = QStringLiteral("kavtool-paint draws pictures only (png, svg)");
        return false;
    }
    const TSpectrumResults results;
    const TValueFormat valueFormat(s.Cfg, SystemDecimalSep());
    const TGFactorDisplay gfactor;
    const TPlotSource source{s.Cfg, *s.Store, results, s.Readings, valueFormat, gfactor};
    QFont font = QGuiApplication::font();
    font.setPointSize(10);
    return WritePlotPicture(
        job.Output, job.Format == TExchangeFormat::Svg ? TPictureFormat::Svg : TPictureFormat::Png,
        source, font, job.Size, error);
}

} // namespace

int RunPictureExport(const QStringList& args) {
    return RunExportWith(args, WritePicture);
}
