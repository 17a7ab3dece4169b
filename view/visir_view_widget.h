#pragma once

#include "view/visir_view.h"

#include <QObject>
#include <functional>

class QAbstractButton;
class QAction;
class TKavStatusBar;
class TPlotWidget;
class TViewBoundsWidget;
class TVisirController;
class TVisirPanelWidget;

// The widgets the visirs and the mouse act on. Plot, both panels, the status
// bar and the view bound editors are required; buttons and actions are
// optional (null: not connected).
struct TVisirWidgets {
    TPlotWidget* Plot = nullptr;
    TVisirPanelWidget* Panel1 = nullptr;
    TVisirPanelWidget* Panel2 = nullptr;
    TKavStatusBar* StatusBar = nullptr;
    TViewBoundsWidget* ViewBounds = nullptr;
    QAbstractButton* ScaleBtn = nullptr; // check-style
    QAction* AVisir1 = nullptr;          // checkable
    QAction* AVisir2 = nullptr;          // checkable
    QAction* AStandVisir = nullptr;
    QAction* AMouseSelect = nullptr; // checkable
    QAction* AResetDiap = nullptr;
};

// TVisirView on the real widgets. Bind() joins it to the controller: the
// plot draws for the controller and feeds it the mouse, the up-downs, the
// buttons and the actions run the controller's handlers, and a change of the
// view bounds repaints the plot. The sweep bounds belong to the instrument
// controls: the window sets OnSweepBoundsSelected.
class TVisirWidgetView : public QObject, public TVisirView {
    Q_OBJECT
public:
    explicit TVisirWidgetView(const TVisirWidgets& widgets, QObject* parent = nullptr);

    void Bind(TVisirController& controller);

    // BotField := bottom, TopField := top, their change handlers, and the
    // sweep bounds marked as not yet sent.
    std::function<void(int bottom, int top)> OnSweepBoundsSelected;

    void SetVisirReadout(int n, const QString& abscissa, const QString& ordinate) override;
    void SetVisirUpDown(int n, int position) override;
    void SetVisirShown(int n, bool shown) override;
    void SetStatusPanel(int index, const QString& text) override;
    void SetScaleButtonDown(bool down) override;
    void SetMouseSelectChecked(bool on) override;
    void SelectView(int minCode, int maxCode) override;
    void SelectSweepBounds(int bottom, int top) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TVisirPanelWidget* Panel(int n) const;

    TVisirWidgets W;
};
