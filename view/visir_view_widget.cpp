#include "view/visir_view_widget.h"

#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_controller.h"
#include "view/visir_panel_widget.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QSignalBlocker>

TVisirWidgetView::TVisirWidgetView(const TVisirWidgets& widgets, QObject* parent)
    : QObject(parent), W(widgets) {}

void TVisirWidgetView::Bind(TVisirController& controller) {
    TVisirController* c = &controller;
    W.Plot->SetVisirs(c);
    c->SetSurface(W.Plot);
    connect(W.Panel1, &TVisirPanelWidget::UpDownClicked, this,
            [c](int position) { c->UpDownClicked(1, position); });
    connect(W.Panel2, &TVisirPanelWidget::UpDownClicked, this,
            [c](int position) { c->UpDownClicked(2, position); });
    connect(W.ViewBounds, &TViewBoundsWidget::ViewChanged, W.Plot, &TPlotWidget::ScreenBoxPaint);
    if (W.ScaleBtn) {
        W.ScaleBtn->setCheckable(true);
        W.ScaleBtn->setToolTip(tr("Задать масштаб по оси абсцисс"));
        // The button is the window's; its hint follows a change of language.
        W.ScaleBtn->installEventFilter(this);
        connect(W.ScaleBtn, &QAbstractButton::clicked, this,
                [c](bool down) { c->ScaleButtonClicked(down); });
    }
    if (W.AVisir1)
        connect(W.AVisir1, &QAction::triggered, this, [c] { c->AVisir1Execute(); });
    if (W.AVisir2)
        connect(W.AVisir2, &QAction::triggered, this, [c] { c->AVisir2Execute(); });
    if (W.AStandVisir)
        connect(W.AStandVisir, &QAction::triggered, this, [c] { c->AStandVisirExecute(); });
    if (W.AMouseSelect)
        connect(W.AMouseSelect, &QAction::triggered, this, [c] { c->AMouseSelectExecute(); });
    if (W.AResetDiap)
        connect(W.AResetDiap, &QAction::triggered, this, [c] { c->AResetDiapExecute(); });
}

TVisirPanelWidget* TVisirWidgetView::Panel(int n) const {
    return n == 1 ? W.Panel1 : W.Panel2;
}

void TVisirWidgetView::SetVisirReadout(int n, const QString& abscissa, const QString& ordinate) {
    Panel(n)->SetReadout(abscissa, ordinate);
}

void TVisirWidgetView::SetVisirUpDown(int n, int position) {
    Panel(n)->SetUpDownPosition(position);
}

void TVisirWidgetView::SetVisirShown(int n, bool shown) {
    Panel(n)->setVisible(shown);
    if (QAction* action = n == 1 ? W.AVisir1 : W.AVisir2) {
        const QSignalBlocker block(action);
        action->setCheckable(true);
        action->setChecked(shown);
    }
}

void TVisirWidgetView::SetStatusPanel(int index, const QString& text) {
    W.StatusBar->SetPanel(index, text);
}

void TVisirWidgetView::SetScaleButtonDown(bool down) {
    if (W.ScaleBtn) {
        const QSignalBlocker block(W.ScaleBtn);
        W.ScaleBtn->setChecked(down);
    }
}

void TVisirWidgetView::SetMouseSelectChecked(bool on) {
    if (W.AMouseSelect) {
        const QSignalBlocker block(W.AMouseSelect);
        W.AMouseSelect->setCheckable(true);
        W.AMouseSelect->setChecked(on);
    }
}

void TVisirWidgetView::SelectView(int minCode, int maxCode) {
    W.ViewBounds->SetBounds(minCode, maxCode);
}

void TVisirWidgetView::SelectSweepBounds(int bottom, int top) {
    if (OnSweepBoundsSelected)
        OnSweepBoundsSelected(bottom, top);
}

bool TVisirWidgetView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == W.ScaleBtn && event->type() == QEvent::LanguageChange)
        W.ScaleBtn->setToolTip(tr("Задать масштаб по оси абсцисс"));
    return QObject::eventFilter(watched, event);
}
