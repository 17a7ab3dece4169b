#include "app/main_window.h"

#include "app/qt_translation.h"

#include "acquisition/acquisition_engine.h"
#include "app/analysis_wiring.h"
#include "app/compact_font.h"
#include "app/dialog_wiring.h"
#include "app/instrument_groups_widget.h"
#include "app/print_actions.h"
#include "app/receive_view.h"
#include "config/message_port.h"
#include "session/kav_session.h"
#include "spectrum/spectrum_session.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds.h"
#include "view/view_bounds_widget.h"
#include "view/visir_controller.h"
#include "view/visir_panel_widget.h"
#include "view/visir_view_widget.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* SmallArrow(Qt::ArrowType type, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(type);
    button->setAutoRaise(true);
    button->setFixedSize(17, 15);
    return button;
}

} // namespace

TKavMainForm::TKavMainForm(TKavSession& session, TMessagePort& port, QWidget* parent)
    : QMainWindow(parent), Session(session), Port(port) {
    SetCaption(tr("Kavis. Спектрометр ЭПР"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kavis"));
    BuildWindow();
    Session.LoadStartupSettings();
    const TLanguage language = Session.Settings().Language;
    (language == TLanguage::En ? A.ALanguageEn : A.ALanguageRu)->setChecked(true);
    if (language != InstalledProgramLanguage())
        InstallLanguage(language);
    ShowStartupSettings();
    BuildReceiveSide();
    Dialogs = std::make_unique<TDialogWiring>(
        Session, Port, TDialogWidgets{this, A, Screen, PlotBox, Bounds, KavStatusBar});
    AnalysisActions = std::make_unique<TAnalysisWiring>(
        TAnalysisWiring::TParts{*this, A, Session.Settings(), Session.Points(), *PlotBox},
        Session.Analysis(), Port, Session.DecimalSep());
}

// The session outlives the window: the parts that show themselves on it go
// first.
TKavMainForm::~TKavMainForm() {
    Session.Detach();
}

void TKavMainForm::BuildWindow() {
    setObjectName(QStringLiteral("TKavMainForm"));
    setMinimumSize(MinimumWidth, MinimumHeight);
    A = BuildMainActions(this);
    BuildMainMenus(menuBar(), A);

    ToolBar = new QToolBar(QStringLiteral("MainBar"), this);
    ToolBar->setObjectName(QStringLiteral("MainBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setFixedHeight(ToolBarHeight);
    ToolBar->setIconSize(QSize(16, 16));
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    ToolBar->toggleViewAction()->setVisible(false);
    BuildMainToolBar(ToolBar, A);
    // Compact captions, so the whole bar fits the default width.
    FitToolBarCaptions(ToolBar, CompactFont(CompactFont(ToolBar->font())), MainBarFitWidth);
    addToolBar(Qt::TopToolBarArea, ToolBar);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(1, 2, 1, 2);
    column->setSpacing(2);
    column->addWidget(BuildPlotRow(), 1);
    column->addWidget(BuildVisirStrip());
    column->addWidget(BuildScrollRow());
    Groups =
        new TInstrumentGroupsWidget(Session.Settings(), Session.Format(),
                                    {A.AStop, A.AStart, A.AResetDiap, A.AMouseSelect}, central);
    column->addWidget(Groups);
    setCentralWidget(central);

    KavStatusBar = new TKavStatusBar(this);
    KavStatusBar->setObjectName(QStringLiteral("KavStatusBar"));
    KavStatusBar->setFont(CompactFont(KavStatusBar->font()));
    // The panels keep their widths while there is room; on a narrow window
    // they give way instead of widening the window: the port panels and the
    // unused one most, the wide pointer and info panels next, while the two
    // narrow instrument panels keep room for their whole text. Fifths of the
    // design width a panel may shrink to:
    static constexpr int MinimumFifths[TKavStatusBar::PanelCount] = {1, 1, 1, 2, 2, 5,
                                                                     5, 3, 3, 3, 3, 1};
    for (int k = 0; k < TKavStatusBar::PanelCount; ++k) {
        QWidget* panel = KavStatusBar->PanelLabel(k);
        const int width = TKavStatusBar::PanelWidths[k];
        panel->setMinimumWidth(width * MinimumFifths[k] / 5);
        panel->setMaximumWidth(width);
        panel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }
    KavStatusBar->setMinimumWidth(1);
    setStatusBar(KavStatusBar);

    BuildScreenMenu(this, A);
    PlotBox->SetScreenMenu(A.ScreenMenu);
    BindVisirs();
    ConnectActions();
    ConnectProcessing();
    ConnectPrinting();
    ConnectExchange();
}

QWidget* TKavMainForm::BuildPlotRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);

    Screen = new QFrame(row);
    Screen->setObjectName(QStringLiteral("ScreenPanel"));
    Screen->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Screen->setLineWidth(1);
    Screen->setAutoFillBackground(true);
    auto* inner = new QVBoxLayout(Screen);
    inner->setContentsMargins(1, 1, 1, 1);
    PlotBox = new TPlotWidget(Session.Settings(), Session.Points(), Session.Results(),
                              Session.Readings(), Session.Format(), Session.GFactor(), Screen);
    PlotBox->setObjectName(QStringLiteral("ScreenBox"));
    PlotBox->setMinimumSize(100, 60);
    // Start-up resizes the plot and repaints it several times before it is
    // first shown; only the last of these paints is drawn.
    PlotBox->PaintOnceWhenShown();
    inner->addWidget(PlotBox);
    layout->addWidget(Screen, 1);

    // At the plot's right: the vertical scroll bar and the ordinate-scale
    // spin button OrdScaleBtn (up: AIncScale, down: ADecScale).
    auto* side = new QWidget(row);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->setSpacing(1);
    VScroll = new QScrollBar(Qt::Vertical, side);
    VScroll->setObjectName(QStringLiteral("VertScroll"));
    // The ordinate has no offset to scroll: the bar stands idle.
    VScroll->setEnabled(false);
    sideLayout->addWidget(VScroll, 1);
    auto* ordUp = SmallArrow(Qt::UpArrow, side);
    auto* ordDown = SmallArrow(Qt::DownArrow, side);
    ordUp->setObjectName(QStringLiteral("OrdScaleUp"));
    ordDown->setObjectName(QStringLiteral("OrdScaleDown"));
    for (QToolButton* b : {ordUp, ordDown}) {
        b->setToolTip(tr("Изменение масштаба по ординате"));
        sideLayout->addWidget(b);
    }
    connect(ordUp, &QToolButton::clicked, A.AIncScale, &QAction::trigger);
    connect(ordDown, &QToolButton::clicked, A.ADecScale, &QAction::trigger);
    layout->addWidget(side);
    return row;
}

QWidget* TKavMainForm::BuildVisirStrip() {
    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("VisirPanel"));
    auto* grid = new QGridLayout(strip);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(1);
    VisPan1 = new TVisirPanelWidget(1, strip);
    VisPan2 = new TVisirPanelWidget(2, strip);
    VisPan1->setObjectName(QStringLiteral("VisPan1"));
    VisPan2->setObjectName(QStringLiteral("VisPan2"));
    // The view bound editors sit beside the visir panels, the lower bound on
    // the first row and the upper on the second, so the strip fits the
    // window's minimum width.
    Bounds = new TViewBoundsWidget(Session.Settings(), Session.Format(), strip);
    Bounds->setObjectName(QStringLiteral("ViewBounds"));
    QWidget* bounds[] = {Bounds->MinView(), Bounds->MinViewExt(), Bounds->MaxView(),
                         Bounds->MaxViewExt()};
    for (QWidget* w : bounds)
        Bounds->layout()->removeWidget(w);
    Bounds->hide();
    grid->addWidget(VisPan1, 0, 0);
    grid->addWidget(VisPan2, 1, 0);
    grid->addWidget(bounds[0], 0, 2);
    grid->addWidget(bounds[1], 0, 3);
    grid->addWidget(bounds[2], 1, 2);
    grid->addWidget(bounds[3], 1, 3);
    for (QWidget* w : bounds)
        w->show();
    grid->setColumnStretch(1, 1);
    AllBtn = new QToolButton(strip);
    AllBtn->setObjectName(QStringLiteral("AllBtn"));
    AllBtn->setDefaultAction(A.AAllView);
    AllBtn->setToolButtonStyle(Qt::ToolButtonIconOnly);
    AllBtn->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    grid->addWidget(AllBtn, 0, 4, 2, 1);
    return strip;
}

QWidget* TKavMainForm::BuildScrollRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    HScroll = new QScrollBar(Qt::Horizontal, row);
    HScroll->setObjectName(QStringLiteral("HorzScroll"));
    layout->addWidget(HScroll, 1);
    ScaleBtn = new QToolButton(row);
    ScaleBtn->setObjectName(QStringLiteral("ScaleBtn"));
    ScaleBtn->setText(QStringLiteral("↔"));
    ScaleBtn->setAutoRaise(true);
    ScaleBtn->setFixedSize(20, 17);
    layout->addWidget(ScaleBtn);
    connect(HScroll, &QScrollBar::valueChanged, this, &TKavMainForm::ScrollView);
    return row;
}

void TKavMainForm::BindVisirs() {
    TVisirWidgets widgets;
    widgets.Plot = PlotBox;
    widgets.Panel1 = VisPan1;
    widgets.Panel2 = VisPan2;
    widgets.StatusBar = KavStatusBar;
    widgets.ViewBounds = Bounds;
    widgets.ScaleBtn = ScaleBtn;
    widgets.AVisir1 = A.AVisir1;
    widgets.AVisir2 = A.AVisir2;
    widgets.AStandVisir = A.AStandVisir;
    widgets.AMouseSelect = A.AMouseSelect;
    widgets.AResetDiap = A.AResetDiap;
    VisirView = new TVisirWidgetView(widgets, this);
    VisirController = std::make_unique<TVisirController>(
        Session.Settings(), Session.Points(), Session.Format(), Session.GFactor(), *VisirView);
    VisirView->Bind(*VisirController);
    // The sweep bounds chosen on the plot go to the instrument controls
    // (receive_wiring.cpp).
    connect(Bounds, &TViewBoundsWidget::ViewChanged, this, &TKavMainForm::SyncHorizontalScroll);
}

void TKavMainForm::ConnectActions() {
    connect(A.AOpenFile, &QAction::triggered, this, &TKavMainForm::AOpenFileExecute);
    connect(A.ASaveFileAs, &QAction::triggered, this, &TKavMainForm::ASaveFileAsExecute);
    connect(A.ACloseSpectr, &QAction::triggered, this, &TKavMainForm::ACloseSpectrExecute);
    connect(A.AExit, &QAction::triggered, this, &QWidget::close);
    connect(A.AToolBar, &QAction::triggered, this, &TKavMainForm::AToolBarExecute);
    connect(A.APrintForm, &QAction::triggered, this, &TKavMainForm::APrintFormExecute);
    connect(A.AAbout, &QAction::triggered, this, &TKavMainForm::AAboutExecute);
    connect(A.ARepaint, &QAction::triggered, PlotBox, &TPlotWidget::ScreenBoxPaint);
    connect(A.AAllView, &QAction::triggered, Bounds, &TViewBoundsWidget::AAllViewExecute);
    connect(A.AIncScale, &QAction::triggered, Bounds, &TViewBoundsWidget::AIncScaleExecute);
    connect(A.ADecScale, &QAction::triggered, Bounds, &TViewBoundsWidget::ADecScaleExecute);
    connect(A.AAnalyse, &QAction::triggered, this, [this] { Session.SetReceiveMode(false); });
    connect(A.ALanguageRu, &QAction::triggered, this, [this] { SetLanguage(TLanguage::Ru); });
    connect(A.ALanguageEn, &QAction::triggered, this, [this] { SetLanguage(TLanguage::En); });
}

void TKavMainForm::SyncHorizontalScroll() {
    const TKavCfg& cfg = Session.Settings();
    const int span = cfg.ViewMax - cfg.ViewMin;
    const QSignalBlocker block(HScroll);
    HScroll->setRange(0, std::max(0, MaxViewHigh - span));
    HScroll->setPageStep(std::max(1, span));
    HScroll->setSingleStep(std::max(1, span / 20));
    HScroll->setValue(cfg.ViewMin);
}

void TKavMainForm::ScrollView(int viewMin) {
    // The bar moves the shown range across the sweep, keeping its width.
    const int span = Session.Settings().ViewMax - Session.Settings().ViewMin;
    Bounds->SetBounds(viewMin, viewMin + span);
}

void TKavMainForm::AToolBarExecute(bool checked) {
    // The check mark has already flipped; the layout moves the plot panel up
    // or down by the tool bar's height.
    ToolBar->setVisible(checked);
}

void TKavMainForm::SetLanguage(TLanguage language) {
    Session.Settings().Language = language;
    (language == TLanguage::En ? A.ALanguageEn : A.ALanguageRu)->setChecked(true);
    if (language != InstalledProgramLanguage())
        InstallLanguage(language);
}

void TKavMainForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        RetranslateWindow();
    QMainWindow::changeEvent(event);
}

void TKavMainForm::RetranslateWindow() {
    RetranslateMainActions(A);
    const auto shownNow = [this](int index) { return KavStatusBar->Panel(index); };
    Session.Engine().RetranslatePanels(shownNow);
    RetranslateFilePanels(Session.Spectrum(), shownNow);
    Session.Engine().Controls().RetranslateLabels();
    for (auto* b : findChildren<QToolButton*>(QRegularExpression(QStringLiteral("^OrdScale"))))
        b->setToolTip(tr("Изменение масштаба по ординате"));
    if (CaptionShown == TCaption::Initial)
        SetCaption(tr("Kavis. Спектрометр ЭПР"));
    else if (CaptionShown == TCaption::NoSpectrum)
        SetCaption(NoSpectrumCaption());
}
