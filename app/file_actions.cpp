// The open, save and close actions of the main window and the recent files.

#include "app/main_window.h"
#include "config/message_port.h"
#include "session/kav_session.h"
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

void TKavMainForm::AOpenFileExecute() {
    Session.SetReceiveMode(false);
    const QString name = Port.OpenFileName(
        SpectrumDialog(QCoreApplication::translate("FileActions", "Открыть фаил спектра"),
                       Session.Settings().WorkDir, false));
    if (!name.isEmpty() && Session.OpenChosenFile(name))
        PlotBox->ScreenBoxPaint();
}

void TKavMainForm::ASaveFileAsExecute() {
    const QString name = Port.SaveFileName(
        SpectrumDialog(QCoreApplication::translate("FileActions", "Сохранить фаил спектра"),
                       Session.Settings().WorkDir, true));
    if (name.isEmpty())
        return;
    QString error;
    if (!Session.SaveSpectrumAs(name, &error))
        Port.Error(error);
}

void TKavMainForm::ACloseSpectrExecute() {
    Session.CloseSpectrum();
    PlotBox->ScreenBoxPaint();
}

void TKavMainForm::RecentFileClicked(int index) {
    if (Session.OpenRecentFile(index))
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
