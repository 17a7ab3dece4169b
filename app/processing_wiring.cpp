// The processing actions of the menu "Функции" and the tool bar, joined to
// the core sequences.

#include "app/main_window.h"
#include "app/message_port.h"
#include "view/plot_widget.h"

#include <QAction>
#include <QSignalBlocker>

void TKavMainForm::ConnectProcessing() {
    TProcessingActions* p = ProcessingActions.get();
    connect(A.AFilter, &QAction::triggered, this, [p] { p->AFilterExecute(); });
    connect(A.AGliss, &QAction::triggered, this, [p] { p->AGlissExecute(); });
    connect(A.AEqualize, &QAction::triggered, this, [p] { p->AEqualizeExecute(); });
    connect(A.AIntegr, &QAction::triggered, this, [p] { p->AIntegrExecute(); });
    connect(A.AMinMax, &QAction::triggered, this, [p] { p->AMinMaxExecute(); });
    connect(A.ADivision, &QAction::triggered, this, [p] { p->ADivisionExecute(); });
    connect(A.ABackUp, &QAction::triggered, this, [p] { p->ABackUpExecute(); });
    connect(A.ACalcFrecDFPG, &QAction::triggered, this, [p] { p->ACalcFrecDFPGExecute(); });
    connect(A.AGShow, &QAction::triggered, this, &TKavMainForm::AGShowTriggered);
}

// The check mark of AGShow is the core's to set: the click's own flip is
// undone first, then the action decides (it refuses without a frequency).
void TKavMainForm::AGShowTriggered() {
    {
        const QSignalBlocker block(A.AGShow);
        A.AGShow->setChecked(GFactor.Shown);
    }
    ProcessingActions->AGShowExecute();
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
    return GFactor.Shown;
}
