// The open, save and close actions of the main window and the recent files.

#include "app/main_window.h"
#include "app/message_port.h"
#include "spectrum/recent_files.h"
#include "view/plot_widget.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace {

TFileDialogRequest SpectrumDialog(const QString& title, const QString& workDir, bool save) {
    TFileDialogRequest request;
    request.Title = title;
    request.Directory = workDir;
    request.Filter = QCoreApplication::translate("FileActions", "Файлы спектров (*.kav)");
    request.DefaultSuffix = QStringLiteral("kav");
    request.ConfirmOverwrite = save;
    return request;
}

} // namespace

// OpenSpectrum with its failure shown: a file that cannot be read changes
// nothing and the program goes on.
bool TKavMainForm::OpenAndReport(const QString& path) {
    const TOpenResult result = OpenSpectrum(Session, path);
    if (result.Outcome == TLoadOutcome::Failed) {
        Port.Error(result.Error);
        return false;
    }
    return true;
}

void TKavMainForm::AOpenFileExecute() {
    SetReceiveMode(false);
    const QString name = Port.OpenFileName(SpectrumDialog(
        QCoreApplication::translate("FileActions", "Открыть фаил спектра"), Cfg.WorkDir, false));
    if (name.isEmpty())
        return;
    if (!OpenAndReport(name))
        return;
    UpdateRecentFiles(Recent, name, *this);
    Cfg.WorkDir = DirectoryWithSeparator(name);
    PlotBox->ScreenBoxPaint();
}

void TKavMainForm::ASaveFileAsExecute() {
    const QString name = Port.SaveFileName(SpectrumDialog(
        QCoreApplication::translate("FileActions", "Сохранить фаил спектра"), Cfg.WorkDir, true));
    if (name.isEmpty())
        return;
    QString error;
    if (!SaveSpectrumAs(Session, name, &error))
        Port.Error(error);
}

void TKavMainForm::ACloseSpectrExecute() {
    CloseSpectrum(Session);
    PlotBox->ScreenBoxPaint();
}

void TKavMainForm::RecentFileClicked(int index) {
    if (index < 0 || index >= Recent.size())
        return;
    const QString path = Recent[index];
    CloseSpectrum(Session);
    SetReceiveMode(false);
    OpenAndReport(path);
    PlotBox->ScreenBoxPaint();
}

void TKavMainForm::RebuildRecentFilesMenus(const QStringList& captions, bool submenuEnabled) {
    for (QMenu* menu : {A.RecentFilesMenu, A.RecentFilesDropDown}) {
        menu->clear();
        for (int k = 0; k < captions.size(); ++k) {
            QAction* item = menu->addAction(captions[k]);
            connect(item, &QAction::triggered, this, [this, k] { RecentFileClicked(k); });
        }
    }
    A.RecentFilesMenu->setEnabled(submenuEnabled);
}
