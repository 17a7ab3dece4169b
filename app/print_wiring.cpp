// APrint and APrintSetup, joined to the printout of the session's spectrum.

#include "app/instrument_groups_widget.h"
#include "app/main_window.h"
#include "app/print_actions.h"
#include "session/kav_session.h"
#include "view/plot_widget.h"

#include <QAction>
#include <QComboBox>

void TKavMainForm::ConnectPrinting() {
    TPrintActions::TSources sources{
        Session.Settings(),
        Session.Points(),
        Session.Results(),
        Session.Readings(),
        Session.Format(),
        Session.GFactor(),
        [this] { return Session.Receiving(); },
        [this] { return Session.Spectrum().ShownName; },
        [this] { return Groups->AmpBox()->currentText(); },
        [this] { return Groups->SpeedBox()->currentText(); },
        [this] { return PlotBox->RawTraceValues(); },
        [this] { return PlotBox->AnalysisShown(); },
    };
    Printing = std::make_unique<TPrintActions>(std::move(sources), Port, this);
    connect(A.APrint, &QAction::triggered, this, [this] { Printing->APrintExecute(); });
    connect(A.APrintSetup, &QAction::triggered, this, [this] { Printing->APrintSetupExecute(); });
}
