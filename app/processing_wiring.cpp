// The processing actions of the menu "Функции" and the tool bar, joined to
// the session's processing actions.

#include "app/main_window.h"
#include "config/message_port.h"
#include "session/kav_session.h"
#include "view/plot_widget.h"

#include <QAction>
#include <QSignalBlocker>

void TKavMainForm::ConnectProcessing() {
    const std::pair<QAction*, void (TProcessingActions::*)()> handlers[] = {
        {A.AFilter, &TProcessingActions::AFilterExecute},
        {A.AGliss, &TProcessingActions::AGlissExecute},
        {A.AEqualize, &TProcessingActions::AEqualizeExecute},
        {A.AIntegr, &TProcessingActions::AIntegrExecute},
        {A.AMinMax, &TProcessingActions::AMinMaxExecute},
        {A.ADivision, &TProcessingActions::ADivisionExecute},
        {A.ABackUp, &TProcessingActions::ABackUpExecute},
        {A.ACalcFrecDFPG, &TProcessingActions::ACalcFrecDFPGExecute},
    };
    for (const auto& [action, handler] : handlers)
        connect(action, &QAction::triggered, this,
                [this, h = handler] { (Session.Processing().*h)(); });
    connect(A.AGShow, &QAction::triggered, this, &TKavMainForm::AGShowTriggered);
}

// The check mark of AGShow is the core's to set: the click's own flip is
// undone first, then the action decides (it refuses without a frequency).
void TKavMainForm::AGShowTriggered() {
    {
        const QSignalBlocker block(A.AGShow);
        A.AGShow->setChecked(Session.GFactor().Shown);
    }
    Session.Processing().AGShowExecute();
}

void TKavMainForm::ShowWarning(const QString& text) {
    Port.Warning(text);
}

void TKavMainForm::ShowInformation(const QString& text) {
    Port.Information(text);
}

void TKavMainForm::Repaint() {
    PlotBox->ScreenBoxPaint();
}

bool TKavMainForm::IsBackUpEnabled() const {
    return A.ABackUp->isEnabled();
}

bool TKavMainForm::IsGFactorShown() const {
    return Session.GFactor().Shown;
}
