// The export and import actions of the menu "Спектр": the spectrum in memory
// for other programs (BES3T, CSV) or as a picture of the plot (PNG, SVG),
// and another program's spectrum as the spectrum in memory.

#include "app/main_window.h"
#include "app/picture_size_dialog.h"
#include "config/message_port.h"
#include "session/kav_session.h"
#include "view/plot_picture_painter.h"
#include "view/plot_widget.h"

#include <QAction>
#include <QCoreApplication>

namespace {

TFileDialogRequest ExportDialog(const QString& workDir) {
    TFileDialogRequest request;
    request.Title = QCoreApplication::translate("ExchangeWiring", "Экспорт спектра");
    request.Directory = workDir;
    request.Filter = QCoreApplication::translate(
        "ExchangeWiring",
        "BES3T (*.DSC);;Текст CSV (*.csv);;Рисунок PNG (*.png);;Рисунок SVG (*.svg)");
    request.DefaultSuffix = QStringLiteral("DSC");
    request.ConfirmOverwrite = true;
    return request;
}

TFileDialogRequest ImportDialog(const QString& workDir) {
    TFileDialogRequest request;
    request.Title = QCoreApplication::translate("ExchangeWiring", "Импорт спектра");
    request.Directory = workDir;
    request.Filter = QCoreApplication::translate("ExchangeWiring",
                                                 "BES3T (*.DSC);;Текст CSV (*.csv);;Текст (*.txt)");
    return request;
}

} // namespace

void TKavMainForm::ConnectExchange() {
    connect(A.AExport, &QAction::triggered, this, &TKavMainForm::AExportExecute);
    connect(A.AImport, &QAction::triggered, this, &TKavMainForm::AImportExecute);
}

void TKavMainForm::AExportExecute() {
    const QString name = Port.SaveFileName(ExportDialog(Session.Settings().WorkDir));
    if (name.isEmpty())
        return;
    const TExchangeFormat format = ExchangeFormatOfPath(name);
    QString error;
    QStringList notes;
    if (format == TExchangeFormat::Bes3t || format == TExchangeFormat::Csv) {
        if (!Session.ExportSpectrum(name, format, notes, &error)) {
            Port.Error(error);
            return;
        }
    } else if (format == TExchangeFormat::Png || format == TExchangeFormat::Svg) {
        TPictureSizeDialog sizeDialog(PictureSize, this);
        Port.RunDialog(sizeDialog);
        if (sizeDialog.result() != QDialog::Accepted)
            return;
        PictureSize = sizeDialog.ChosenSize();
        const TPlotSource source{Session.Settings(),        Session.Points(),
                                 Session.Results(),         Session.Readings(),
                                 Session.Format(),          Session.GFactor(),
                                 PlotBox->RawTraceValues(), PlotBox->AnalysisShown()};
        if (!WritePlotPicture(
                name, format == TExchangeFormat::Svg ? TPictureFormat::Svg : TPictureFormat::Png,
                source, PlotBox->LabelFont(), PictureSize, &error)) {
            Port.Error(error);
            return;
        }
        Session.Settings().WorkDir = DirectoryWithSeparator(name);
    } else {
        Port.Error(QCoreApplication::translate(
                       "ExchangeWiring",
                       "Файл \"%1\": по расширению не понять формат; экспорт пишет "
                       ".DSC (BES3T), .csv, .png и .svg")
                       .arg(name));
        return;
    }
    if (!notes.isEmpty())
        Port.Information(notes.join(u'\n'));
}

// An imported spectrum becomes the spectrum in memory as if a file had been
// opened; LastOpen and the recent files stay as they were.
void TKavMainForm::AImportExecute() {
    Session.SetReceiveMode(false);
    const QString name = Port.OpenFileName(ImportDialog(Session.Settings().WorkDir));
    if (name.isEmpty())
        return;
    QStringList notes;
    QString error;
    if (!Session.ImportSpectrum(name, notes, &error)) {
        Port.Error(error);
        return;
    }
    PlotBox->ScreenBoxPaint();
    if (!notes.isEmpty())
        Port.Warning(notes.join(u'\n'));
}
