#include "app/receive_view.h"

#include "acquisition/acquisition_engine.h"
#include "acquisition/adc_window.h"
#include "acquisition/message_window.h"
#include "app/instrument_groups_widget.h"
#include "config/message_port.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_panel_widget.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

std::size_t Index(TAcqAction a) {
    return static_cast<std::size_t>(a);
}

// The lit image of a blinking button: its own image on a lime ground.
QIcon LitIcon(const QIcon& plain) {
    QPixmap lit(16, 16);
    lit.fill(QColor(0, 255, 0));
    QPainter p(&lit);
    plain.paint(&p, lit.rect());
    return QIcon(lit);
}

} // namespace

TReceiveView::TReceiveView(const TReceiveWidgets& widgets, TMessagePort& port)
    : W(widgets), Port(port) {
    for (std::size_t k = 0; k < W.Actions.size(); ++k)
        if (W.Actions[k])
            Plain[k] = W.Actions[k]->icon();
    LpfLit = LitIcon(Plain[Index(TAcqAction::RealTimeLpf)]);
    SumLit = LitIcon(Plain[Index(TAcqAction::RealTimeSum)]);
}

// ---- TAcquisitionView --------------------------------------------------------

void TReceiveView::SetStatusPanel(int index, const QString& text) {
    W.StatusBar->SetPanel(index, text);
    // The port panels give way first on a narrow window, and a device path
    // is longer than its panel: their hint holds the whole text.
    if (index == PanelPort || index == PanelBaud)
        W.StatusBar->PanelLabel(index)->setToolTip(text);
    // The automatic-save panel is written at every forward sweep; a failure
    // marks it again after the write.
    if (index == PanelAutoSave && AutoSaveFailed)
        MarkAutoSavePanel(false, QString());
}

void TReceiveView::AddMessage(const QString& text) {
    W.Messages->AddMessage(text);
}

void TReceiveView::ClearMessages() {
    W.Messages->ClearMessages();
}

void TReceiveView::ShowError(const QString& text) {
    Port.Error(text);
}

void TReceiveView::ShowAutoSaveFailure(const QString& text) {
    MarkAutoSavePanel(true, text);
    Port.NonModalWarning(text);
}

void TReceiveView::ShowLinkLost(const QString& text) {
    Port.NonModalWarning(text);
}

void TReceiveView::MarkAutoSavePanel(bool failed, const QString& reason) {
    AutoSaveFailed = failed;
    QLabel* panel = W.StatusBar->PanelLabel(PanelAutoSave);
    panel->setStyleSheet(failed ? QStringLiteral("QLabel { background: red; color: white; }")
                                : QString());
    panel->setToolTip(reason);
}

void TReceiveView::PlotSlot(std::uint16_t slot) {
    W.Plot->PlotSlot(slot);
}

void TReceiveView::PlotPoint(long code, long ordinate, TColorValue colour) {
    W.Plot->PlotPoint(code, ordinate, colour);
}

void TReceiveView::MoveFieldMarker(long code) {
    W.Plot->MoveFieldMarker(code);
}

void TReceiveView::Repaint() {
    W.Plot->ScreenBoxPaint();
}

void TReceiveView::SetVisirOrdinate(int n, const QString& text) {
    (n == 1 ? W.Panel1 : W.Panel2)->SetOrdinateText(text);
}

void TReceiveView::SetAdcWindowShown(bool shown) {
    W.Adc->setVisible(shown);
}

void TReceiveView::SetAdcReading(const QString& text) {
    W.Adc->SetReading(text);
}

// ---- TControlsView -----------------------------------------------------------

void TReceiveView::ShowControls(const TControlsState& state) {
    W.Groups->ShowControls(state);
    for (std::size_t k = 0; k < state.Actions.size(); ++k)
        if (!HasShown || !(state.Actions[k] == Shown.Actions[k]))
            ShowAction(static_cast<TAcqAction>(k), state.Actions[k]);
    Shown = state;
    HasShown = true;
}

void TReceiveView::ShowAction(TAcqAction which, const TActionState& state) {
    QAction* action = W.Actions[Index(which)];
    if (!action)
        return;
    action->setEnabled(state.Enabled);
    if (action->isCheckable()) {
        const QSignalBlocker block(action);
        action->setChecked(state.Checked);
    }
    action->setIcon(ImageIcon(which, state.Image));
}

QIcon TReceiveView::ImageIcon(TAcqAction which, int image) const {
    if (image == LpfBlinkImage)
        return LpfLit;
    if (image == SumBlinkImage)
        return SumLit;
    return Plain[Index(which)];
}

// The view edits take the bound; their change handlers set the view and
// repaint (nothing happens when the edit already holds it).
void TReceiveView::SetMinView(int code) {
    W.ViewBounds->MinView()->setValue(code);
}

void TReceiveView::SetMaxView(int code) {
    W.ViewBounds->MaxView()->setValue(code);
}

void TReceiveView::RepaintPlot() {
    W.Plot->ScreenBoxPaint();
}

void TReceiveView::ForgetShown() {
    HasShown = false;
    W.Groups->ForgetShown();
}
