// The receive side of the window: the simulator's handshake, live drawing,
// the control groups, the mode actions, the link's windows, a failed
// automatic save, and frames from a pseudo-terminal.

#include "app_fixture.h"

#include "acquisition/adc_window.h"
#include "acquisition/com_port_dialog.h"
#include "base/atomic_file.h"
#include "link/pty_line.h"
#include "processing/processing_actions.h"
#include "sim/device_factory.h"
#include "view/display_color_painter.h"

#include <QLineEdit>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

TSimInstrument& Sim(const TShownWindow& w) {
    return dynamic_cast<TSimDevice&>(*w.Session->Receiver().Device()).Instrument();
}

TKavMessageForm* MessageForm(const TShownWindow& w) {
    return Find<TKavMessageForm>(*w, "TKavMessageForm");
}

bool HasMessage(const TShownWindow& w, const QString& line) {
    return MessageForm(w)->Messages().contains(line);
}

// The automatic-save panel is marked after a failed save.
bool AutoSaveMarked(const TShownWindow& w) {
    return !Bar(*w)->PanelLabel(PanelAutoSave)->styleSheet().isEmpty();
}

// Waits (running the event loop) until the handshake with the simulated
// spectrometer is complete and the instrument has reported its controls.
bool Linked(const TShownWindow& w) {
    return QTest::qWaitFor(
        [&] {
            const TAcquisitionState& s = w.Session->Engine().State();
            return s.AllAcknowledged() && s.SendCount == 0 &&
                   w->findChild<TInstrumentGroupsWidget*>()->GainGroup()->isEnabled();
        },
        10000);
}

// Counts the paint events of a widget and the rectangles each one repaints.
struct TPaintCounter : QObject {
    int Paints = 0;
    QList<QRegion> Regions;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++Paints;
            Regions << static_cast<QPaintEvent*>(e)->region();
        }
        return false;
    }
};

// The widget's darkest pixel is as dark as the active text colour, not the
// grey of a disabled control.
bool DrawnReadable(QWidget* w) {
    const QImage image = w->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    const int text = qGray(w->palette().color(QPalette::Active, QPalette::WindowText).rgb());
    return darkest <= text + 40;
}

// A window in receive mode on a port named in Kav.ini.
struct TReceiveTest : ::testing::Test {
    TAppDir Dir;
    TScriptedPort Port;
    TShownWindow W;

    void Open(const QString& port, const QByteArray& main = {},
              TDeviceFactory devices = TestDevices()) {
        WriteReceiveIni(Dir, port, main);
        W = ShowWindow(Port, std::move(devices));
    }
};

} // namespace

// The handshake reaches the message window and the status bar; the
// operator's changes in the groups are sent and acknowledged.
TEST_F(TReceiveTest, TheSimulatorLinksAndTakesTheChangesInTheGroups) {
    Open("SIM");
    ASSERT_TRUE(W.Session->Receiving());
    ASSERT_TRUE(Linked(W));
    for (const char* line : {"Tm01. PROGRAMMA=7", "      SPnomer=42", "Tm11. POLEmaxP=65519",
                             "Tm22. KodAmpl=1", "Tm33. Ukorr=32768"})
        EXPECT_TRUE(HasMessage(W, line)) << line;
    TKavStatusBar* bar = Bar(*W);
    EXPECT_EQ(Panels(*W, {0, 1, 5, 6}), (QStringList{"SIM", "9600 бод", "PR: 7", "S/N: 42"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->Panel(7) == "Рабочий ход"; }, 10000));
    // The mode actions and the groups the instrument left to the computer.
    const auto a = [&](const char* name) { return Act(*W, name); };
    EXPECT_TRUE(a("AReceive")->isChecked() && !a("AReceive")->isEnabled());
    EXPECT_TRUE(!a("AAnalyse")->isChecked() && a("AAnalyse")->isEnabled());
    EXPECT_TRUE(a("AResetDiap")->isEnabled() && a("AStop")->isEnabled());
    TInstrumentGroupsWidget* g = W->findChild<TInstrumentGroupsWidget*>();
    EXPECT_TRUE(g->BoundsGroup()->isEnabled() && g->SpeedGroup()->isEnabled() &&
                g->CorrectionGroup()->isEnabled());
    EXPECT_EQ(g->AmpLbl()->text(), "ПЭВМ");
    EXPECT_TRUE(Port.Errors.isEmpty());

    g->AmpBox()->setCurrentIndex(3);   // "10": KodAmpl 4
    g->SpeedBox()->setCurrentIndex(9); // " 2 мин": KodRapid 7
    g->BotField()->setValue(1000);
    g->CorrBar()->setValue(32767 - 320);
    // Gain and speed rows, lower bound (the view follows it), correction.
    const TKavCfg& cfg = W.Session->Settings();
    EXPECT_EQ(std::tuple(cfg.Amplifying, cfg.Rapid, cfg.PoleMin, cfg.ViewMin, cfg.Correction),
              std::tuple(3, 9, 1000, 1000, 320));
    EXPECT_EQ(g->CorrEdit()->value(), 320);
    EXPECT_EQ(g->BotFieldExt()->text(), "1000");
    ASSERT_TRUE(Linked(W));
    EXPECT_EQ(std::tuple(Sim(W).KodAmpl(), Sim(W).KodRapid(), Sim(W).PoleMin(), Sim(W).Ukorr()),
              std::tuple(4, 7, 1000, 32768 + 320));
    for (const char* line :
         {"      POLEminP=1000", "Tm22. KodAmpl=4", "      KodRapid=7", "Tm33. Ukorr=33088"})
        EXPECT_TRUE(HasMessage(W, line)) << line;

    // The up/down pair steps the list and is sent too.
    QTest::mouseClick(g->UpDnAmp(true), Qt::LeftButton);
    EXPECT_EQ(g->AmpBox()->currentIndex(), 4);
    ASSERT_TRUE(Linked(W));
    EXPECT_EQ(Sim(W).KodAmpl(), 5);
}

TEST_F(TReceiveTest, LivePixelsAndTheFieldMarkerLandAtTheirPlaces) {
    Open("COM1");
    TPlotWidget* plot = Plot(*W);
    TPaintCounter paints;
    plot->installEventFilter(&paints);
    Deliver(*W.Session, SweepStart()); // the full repaint of a new sweep
    ASSERT_TRUE(QTest::qWaitFor([&] { return paints.Paints > 0; }, 2000));
    paints.Paints = 0;
    paints.Regions.clear();
    const QImage empty = plot->Canvas().copy();

    const int codes[] = {8000, 20000, 20003, 33000, 47000};
    const int values[] = {0, 2048 - 900, 2048, 4095, 2048 + 600}; // 0: held to row H - 2
    QByteArray frames;
    for (int k = 0; k < 5; ++k)
        frames += Point(codes[k], values[k]);
    Deliver(*W.Session, frames);
    const TPlotGeometry& geo = plot->Geometry();
    const QRgb graph = ToRgb(W.Session->Settings().DisplayColors.Graph);
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(codes[k]);
        EXPECT_EQ(W.Session->Points()[codes[k]].Y, values[k]);
        EXPECT_EQ(plot->Canvas().pixel(geo.XOfCode(codes[k]), geo.PointY(values[k])), graph);
    }
    // The marker stands under the last point, an exclusive-or red triangle.
    const int x = geo.XOfCode(47000);
    EXPECT_EQ(plot->FieldMarkerX(), x);
    EXPECT_EQ(plot->Canvas().pixel(x, geo.H - 8) ^ empty.pixel(x, geo.H - 8), 0xFF0000u);

    // Everything drawn by the poll reaches the screen in one update of one
    // rectangle, at the end of the display frame.
    const QRect pending = plot->PendingLiveArea();
    EXPECT_TRUE(pending.contains(geo.XOfCode(8000), geo.H - 2));
    EXPECT_TRUE(pending.contains(geo.XOfCode(33000), geo.PointY(4095)));
    EXPECT_TRUE(pending.contains(x, geo.H - 3));
    EXPECT_EQ(paints.Paints, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return paints.Paints > 0; }, 2000));
    EXPECT_EQ(paints.Paints, 1);
    EXPECT_EQ(paints.Regions[0].rectCount(), 1);
    EXPECT_TRUE(plot->PendingLiveArea().isEmpty());

    // The backward sweep moves the marker: erased at the old column, drawn at
    // the new one (out of the view: PlotWidgetTest).
    Deliver(*W.Session, Frame(TmBackwardSweep, {0, 0, 0, 0, 10000 >> 8, 10000 & 0xFF}));
    EXPECT_EQ(plot->FieldMarkerX(), geo.XOfCode(10000));
    EXPECT_EQ(plot->Canvas().pixel(x, geo.H - 8), empty.pixel(x, geo.H - 8));
}

TEST_F(TReceiveTest, ManualControlBitsDisableTheGroupsAndHideTheCorrection) {
    Open("COM1", "Amplifying=4\r\nCorrection=-640\r\n");
    TInstrumentGroupsWidget* g = W->findChild<TInstrumentGroupsWidget*>();
    // Until the instrument reports, the three groups stay disabled.
    EXPECT_FALSE(g->GainGroup()->isEnabled() || g->SpeedGroup()->isEnabled() ||
                 g->CorrectionGroup()->isEnabled());
    EXPECT_TRUE(g->BoundsGroup()->isEnabled());

    // Gain and correction by hand at KodAmpl 1, speed by hand at KodRapid 15.
    Deliver(*W.Session, Point(100, 2048, 0xC1, 0x8F));
    for (QWidget* w : std::initializer_list<QWidget*>{g->GainGroup(), g->SpeedGroup(),
                                                      g->CorrectionGroup(), g->CorrBar()})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QLabel* l : {g->AmpLbl(), g->SpeedLbl(), g->CorrLbl()})
        EXPECT_EQ(l->text(), "РУЧН. УПР.");
    EXPECT_EQ(g->AmpBox()->currentText(), "1");
    EXPECT_EQ(g->SpeedBox()->currentIndex(), 11); // "30 сек", the last row of code 15
    // The labels and the instrument's own gain and speed stay readable in
    // their disabled groups; "СТОП" and "ПУСК" could change only the list.
    for (QWidget* w : std::initializer_list<QWidget*>{g->AmpLbl(), g->SpeedLbl(), g->CorrLbl(),
                                                      g->AmpBox(), g->SpeedBox()})
        EXPECT_TRUE(DrawnReadable(w)) << w->objectName().toStdString();
    EXPECT_FALSE(Act(*W, "AStop")->isEnabled() || Act(*W, "AStart")->isEnabled());
    const QPalette hidden = g->CorrEditExt()->palette();
    EXPECT_EQ(hidden.color(QPalette::Disabled, QPalette::Text),
              hidden.color(QPalette::Disabled, QPalette::Base));

    // Back to the computer: the groups come back, the correction box shows
    // the setting again in the text colour, the gain list keeps its row.
    Deliver(*W.Session, Point(101, 2048, 0x01, 0x08));
    EXPECT_TRUE(g->GainGroup()->isEnabled() && g->SpeedGroup()->isEnabled() &&
                g->CorrectionGroup()->isEnabled() && g->CorrBar()->isEnabled());
    for (QLabel* l : {g->AmpLbl(), g->SpeedLbl(), g->CorrLbl()})
        EXPECT_EQ(l->text(), "ПЭВМ");
    const QPalette shown = g->CorrEditExt()->palette();
    EXPECT_NE(shown.color(QPalette::Active, QPalette::Text),
              shown.color(QPalette::Active, QPalette::Base));

    // Analysis mode greys all four groups and their labels.
    Act(*W, "AAnalyse")->trigger();
    EXPECT_FALSE(g->GainGroup()->isEnabled() || g->SpeedGroup()->isEnabled() ||
                 g->CorrectionGroup()->isEnabled() || g->BoundsGroup()->isEnabled());
    EXPECT_FALSE(g->AmpLbl()->isEnabled() || g->BotLbl()->isEnabled());
    EXPECT_FALSE(DrawnReadable(g->AmpLbl()));
    EXPECT_EQ(Bar(*W)->Panel(1), "<Закрыт>");
}

TEST_F(TReceiveTest, StopAndStartReturnToTheSpeedBefore) {
    Open("COM1", "Rapid=6\r\n");
    Deliver(*W.Session, Point(100, 2048, 0x01, 0x05)); // KodRapid 5: "16 мин", row 6
    QComboBox* speed = W->findChild<TInstrumentGroupsWidget*>()->SpeedBox();
    ASSERT_EQ(speed->currentIndex(), 6);
    Act(*W, "AStop")->trigger();
    EXPECT_EQ(speed->currentText(), " СТОП");
    EXPECT_TRUE(!Act(*W, "AStop")->isEnabled() && Act(*W, "AStart")->isEnabled());
    Act(*W, "AStart")->trigger();
    EXPECT_EQ(speed->currentIndex(), 6);
    // Closing while stopped keeps the speed before the stop.
    Act(*W, "AStop")->trigger();
    ASSERT_TRUE(W->close());
    EXPECT_EQ(Dir.ReadBack().Rapid, 6);
}

TEST_F(TReceiveTest, MouseSelectionSetsTheSweepBounds) {
    Open("COM1");
    TPlotWidget* plot = Plot(*W);
    const TPlotGeometry geo = plot->Geometry();
    Act(*W, "AMouseSelect")->trigger(); // the band itself: VisirTest
    QTest::mousePress(plot, Qt::LeftButton, {}, QPoint(300, 40));
    QTest::mouseMove(plot, QPoint(120, 40));
    QTest::mouseRelease(plot, Qt::LeftButton, {}, QPoint(120, 40));
    const int low = geo.FieldCodeOfX(120);
    const int high = geo.FieldCodeOfX(300);
    const auto* g = W->findChild<TInstrumentGroupsWidget*>();
    const TKavCfg& cfg = W.Session->Settings();
    EXPECT_EQ(std::pair(cfg.PoleMin, cfg.PoleMax), std::pair(low, high));
    EXPECT_EQ(std::pair(g->BotField()->value(), g->TopField()->value()), std::pair(low, high));
    EXPECT_FALSE(W.Session->Engine().State().BoundsAck);
    // The view follows the new bounds.
    EXPECT_EQ(std::pair(cfg.ViewMin, cfg.ViewMax), std::pair(low, high));
}

TEST(ReceiveMode, ReceiveActionClosesTheSpectrumAndModeIsKeptAtClose) {
    TAppDir dir;
    const QString file = dir.Path("line.kav");
    WriteTestSpectrum(file);
    dir.WriteIni("[Port]\r\nPortName=COM2\r\n[Main]\r\nMode=1\r\nLastOpen=" + file.toUtf8() +
                 "\r\n");
    TScriptedPort port;
    {
        auto w = ShowWindow(port);
        EXPECT_EQ(w.Session->Points()[1000].Y, EmptyY); // receive mode opens nothing
        Act(*w, "AAnalyse")->trigger();
        EXPECT_FALSE(w.Session->Receiving());
        EXPECT_TRUE(Act(*w, "AReceive")->isEnabled());
        ASSERT_TRUE(w->close());
    }
    EXPECT_FALSE(dir.ReadBack().Mode);
    auto w = ShowWindow(port);
    EXPECT_NE(w.Session->Points()[1000].Y, EmptyY); // analysis mode opens LastOpen
    EXPECT_EQ(w->windowTitle(), "Kavis - line.kav");
    // The file's ADC record is shown in the ADC window.
    EXPECT_FALSE(Find<TADCForm>(*w, "TADCForm")->Reading().isEmpty());
    Act(*w, "AReceive")->trigger();
    EXPECT_TRUE(w.Session->Receiving());
    EXPECT_EQ(w.Session->Points()[1000].Y, EmptyY);
    EXPECT_EQ(w->windowTitle(), "КАВ");
    EXPECT_EQ(Bar(*w)->Panel(0), "COM2");
    ASSERT_TRUE(w->close());
    EXPECT_TRUE(dir.ReadBack().Mode);
    EXPECT_TRUE(port.Errors.isEmpty());
}

// A serial device that is not there: the box and the message window give
// the system's reason beside the port.
TEST_F(TReceiveTest, APortThatDoesNotOpenIsReported) {
    const QString path = Dir.Path("ttyUSB0");
    Open(path, {}, DefaultDeviceFactory());
    const QString line =
        "Невозможно инициализировать порт " + path + ": " + SystemErrorText(ENOENT);
    EXPECT_EQ(Port.Errors, QStringList{line});
    EXPECT_EQ(MessageForm(W)->Messages(), QStringList{line});
    EXPECT_EQ(Bar(*W)->Panel(0) + Bar(*W)->Panel(1), QString());
    EXPECT_TRUE(W.Session->Receiving());
}

TEST_F(TReceiveTest, RealTimeButtonsSetTheirSwitchesAndBlinkWhileChecked) {
    Open("COM1");
    const auto a = [&](const char* name) { return Act(*W, name); };
    const QImage plainLpf = a("ASwLPF")->icon().pixmap(16, 16).toImage();
    const QImage plainSum = a("ASWSum")->icon().pixmap(16, 16).toImage();
    EXPECT_TRUE(W.Session->Engine().LPFTimer().isActive());
    a("ASwLPF")->trigger();
    EXPECT_TRUE(a("ASwLPF")->isChecked());
    EXPECT_TRUE(W.Session->Settings().EnableRTLPF);
    // Only the checked button blinks.
    W.Session->Engine().LPFTimerTimer();
    EXPECT_NE(a("ASwLPF")->icon().pixmap(16, 16).toImage(), plainLpf);
    EXPECT_EQ(a("ASWSum")->icon().pixmap(16, 16).toImage(), plainSum);
    // The filter runs from the next forward sweep.
    Deliver(*W.Session, SweepStart());
    EXPECT_EQ(Bar(*W)->Panel(9), "ФИЛЬТР [25]");

    // Analysis mode: both disabled, no blinking, their panel cleared.
    a("AAnalyse")->trigger();
    EXPECT_FALSE(a("ASwLPF")->isEnabled() || a("ASWSum")->isEnabled());
    EXPECT_FALSE(W.Session->Engine().LPFTimer().isActive());
    EXPECT_EQ(a("ASwLPF")->icon().pixmap(16, 16).toImage(), plainLpf);
    EXPECT_EQ(Bar(*W)->Panel(9), QString());
}

namespace {

// Answers the COM port dialog: the port and rate typed, then the button.
struct TComDialogPort : TScriptedPort {
    QString PortText, RateText;
    bool Accept = true;
    QStringList Offered;
    void RunDialog(QDialog& dialog) override {
        auto* form = dynamic_cast<TSetupCommForm*>(&dialog);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), "Настройка COM-порта");
        for (int k = 0; k < form->PortBox()->count(); ++k)
            Offered << form->PortBox()->itemText(k);
        Shown << form->PortBox()->currentText() + " " + form->RateBox()->currentText();
        form->PortBox()->setEditText(PortText);
        form->RateBox()->setEditText(RateText);
        QTest::mouseClick(Accept ? form->AcceptButton() : form->CancelButton(), Qt::LeftButton);
    }
    QStringList Shown;
};

// A factory of quiet lines that records the names it is asked to open.
struct TOpenedNames {
    QStringList Names;
    TDeviceFactory Factory() {
        return [this, quiet = TestDevices()](const QString& name) {
            Names << name;
            return quiet(name);
        };
    }
};

} // namespace

// The port's name and its rate's row in the settings.
static std::pair<QString, int> PortAndRate(const TShownWindow& w) {
    return {w.Session->Settings().Port.PortName, w.Session->Settings().Port.BaudRate};
}

TEST(LinkWindows, ComPortDialogStoresThePortAndRateAndReopensTheLink) {
    TAppDir dir;
    dir.WriteIni("[Port]\r\nPortName=COM1\r\nBaudRate=5\r\n[Main]\r\nMode=0\r\n");
    TComDialogPort port;
    TOpenedNames opened;
    auto w = ShowWindow(port, opened.Factory());
    EXPECT_TRUE(opened.Names.isEmpty()); // analysis mode: no port

    port.PortText = "COM3";
    port.RateText = "19200";
    Act(*w, "ASetupCom")->trigger();
    EXPECT_EQ(port.Shown.last(), "COM1 9600");
    EXPECT_EQ(PortAndRate(w), std::pair(QString("COM3"), 7));
    // The link is applied anew, in analysis mode too.
    EXPECT_EQ(opened.Names, QStringList{"COM3"});
    EXPECT_EQ(Panels(*w, {0, 1}), (QStringList{"COM3", "19200 бод"}));
    EXPECT_EQ(port.Offered.last(), "SIM"); // the list of ComPortChoices

    // A device path is kept whole, longer than a short name may be; a rate
    // typed by hand that is none of the list keeps the rate.
    const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    port.PortText = byId;
    port.RateText = "10000";
    Act(*w, "ASetupCom")->trigger();
    EXPECT_EQ(PortAndRate(w), std::pair(byId, 7));
    EXPECT_EQ(w.Session->Receiver().Settings().PortName, byId);

    // "Отмена" keeps both values and still applies the link anew (the open
    // port of the same name is not reopened).
    port.PortText = "COM9";
    port.RateText = "300";
    port.Accept = false;
    w.Session->Engine().AddMessage("before");
    w.Session->Engine().State().LinkReady = true;
    Act(*w, "ASetupCom")->trigger();
    EXPECT_EQ(PortAndRate(w), std::pair(byId, 7));
    EXPECT_EQ(MessageForm(w)->LineCount(), 0);
    EXPECT_FALSE(w.Session->Engine().State().LinkReady);
    EXPECT_EQ(opened.Names.last(), byId);
    EXPECT_TRUE(w.Session->Receiver().Opened());

    ASSERT_TRUE(w->close());
    EXPECT_EQ(dir.ReadBack().Port.PortName, byId);
}

TEST(LinkWindows, MessageWindowPlacementLinesAndClosing) {
    TAppDir dir;
    dir.WriteIni("[MsgWindow]\r\nLeft=300\r\nTop=120\r\nWidth=330\r\nHeight=280\r\nVisible=1\r\n"
                 "Style=3\r\n[Main]\r\nMode=0\r\n");
    TScriptedPort port;
    auto w = ShowWindow(port);
    TKavMessageForm* m = MessageForm(w);
    EXPECT_TRUE(m->isVisible());
    EXPECT_TRUE(m->StaysOnTop());
    EXPECT_EQ(m->size(), QSize(330, 280));
    EXPECT_TRUE(Act(*w, "AMessageView")->isChecked());
    EXPECT_EQ(m->windowTitle(), "Сообщения КАВ");
    EXPECT_EQ(m->TextBox()->toPlainText(), "<Нет сообщений>");

    // "Убрать все сообщения" removes every line; so does opening the link.
    w.Session->Engine().AddMessage("a");
    EXPECT_EQ(m->Messages(), QStringList{"a"});
    QTest::mouseClick(m->ClearButton(), Qt::LeftButton);
    EXPECT_EQ(m->TextBox()->toPlainText(), QString());
    w.Session->Engine().AddMessage("b");
    w.Session->Engine().OpenLink();
    EXPECT_EQ(m->LineCount(), 0);

    // Closing only hides it and unchecks its action; the action shows it.
    EXPECT_FALSE(m->close());
    EXPECT_FALSE(m->isVisible());
    EXPECT_FALSE(Act(*w, "AMessageView")->isChecked());
    EXPECT_FALSE(w.Session->Settings().MsgWindow.Visible);
    Act(*w, "AMessageView")->trigger();
    EXPECT_TRUE(m->isVisible());
    m->resize(310, 250);
    Act(*w, "AMessageView")->trigger();
    EXPECT_FALSE(m->isVisible());

    ASSERT_TRUE(w->close());
    const TKavCfg saved = dir.ReadBack();
    EXPECT_FALSE(saved.MsgWindow.Visible);
    EXPECT_EQ(saved.MsgWindow.Width, 310);
    EXPECT_EQ(saved.MsgWindow.Height, 250);
    EXPECT_EQ(saved.MsgWindow.Style, 3);
}

TEST(LinkWindows, ClosingTheAdcWindowUnchecksItsActionAndStopsTheRequests) {
    TAppDir dir;
    dir.WriteIni("[ADCWindow]\r\nLeft=500\r\nTop=40\r\n[Main]\r\nMode=0\r\nADCEnable=1\r\n");
    TScriptedPort port;
    auto w = ShowWindow(port);
    TADCForm* adc = Find<TADCForm>(*w, "TADCForm");
    EXPECT_EQ(adc->windowTitle(), "ВХОД  АЦП");
    EXPECT_TRUE(adc->isVisible());
    EXPECT_EQ(adc->pos(), QPoint(500, 40));
    EXPECT_TRUE(Act(*w, "AADCView")->isChecked());
    // The requests run whatever the mode.
    EXPECT_TRUE(w.Session->Engine().ADCTimer().isActive());

    EXPECT_FALSE(adc->close());
    EXPECT_FALSE(adc->isVisible());
    EXPECT_FALSE(Act(*w, "AADCView")->isChecked());
    EXPECT_FALSE(w.Session->Engine().ADCTimer().isActive());
    EXPECT_FALSE(w.Session->Settings().ADCEnable);

    // The action brings it back; a reading shows in the label.
    Act(*w, "AADCView")->trigger();
    EXPECT_TRUE(adc->isVisible() && w.Session->Engine().ADCTimer().isActive());
    Act(*w, "AReceive")->trigger();
    Deliver(*w.Session, Frame(TmAdcReading, {0x0F, 0xFF}));
    EXPECT_EQ(adc->ADCRes()->text(), "4095");
    ASSERT_TRUE(w->close());
    EXPECT_TRUE(dir.ReadBack().ADCEnable);
}

TEST_F(TReceiveTest, AFailedAutomaticSaveIsShownAtOnceAndReceivingGoesOn) {
    // The working directory is a file: nothing can be saved in it.
    const QString blocker = Dir.Path("not-a-dir");
    QFile(blocker).open(QIODevice::WriteOnly);
    Open("COM1", "AutoSave=1\r\nWorkDir=" + blocker.toUtf8() + "/\r\n");
    Deliver(*W.Session, SweepStart());
    ASSERT_EQ(Port.Warnings.size(), 1); // the scripted port shows it as a warning
    EXPECT_TRUE(Port.Warnings[0].startsWith("Автосохранение не выполнено: "));
    EXPECT_TRUE(Port.Warnings[0].contains("Спектр00000001.kav"));
    EXPECT_TRUE(MessageForm(W)->Messages().contains(Port.Warnings[0]));
    EXPECT_TRUE(AutoSaveMarked(W));
    EXPECT_EQ(Bar(*W)->PanelLabel(8)->toolTip(), Port.Warnings[0]);
    EXPECT_EQ(Bar(*W)->Panel(7), "Рабочий ход");
    Deliver(*W.Session, Point(2000, 2500));
    EXPECT_EQ(W.Session->Points()[2000].Y, 2500);

    // The next sweep saves where it can: the mark goes.
    W.Session->Settings().WorkDir = Dir.Dir.path() + "/";
    Deliver(*W.Session, SweepStart());
    EXPECT_FALSE(AutoSaveMarked(W));
    EXPECT_TRUE(QFile::exists(Dir.Path("Спектр00000001.kav")));
    EXPECT_EQ(Port.Warnings.size(), 1);
}

// The last automatic-save number: refused on the panel and in a warning.
TEST_F(TReceiveTest, TheLastAutoSaveNumberIsRefusedOnThePanelAndInAWarning) {
    Open("COM1",
         "AutoSave=1\r\nNumbMask=2147483647\r\nWorkDir=" + Dir.Dir.path().toUtf8() + "/\r\n");
    Deliver(*W.Session, SweepStart());
    ASSERT_EQ(Port.Warnings.size(), 1);
    EXPECT_EQ(Port.Warnings[0], "Автосохранение не выполнено: номер файла достиг предела "
                                "2147483647, задайте \"Стартовый номер\" в окне "
                                "\"Автосохранение...\"");
    EXPECT_TRUE(AutoSaveMarked(W));
    EXPECT_EQ(Bar(*W)->PanelLabel(8)->toolTip(), Port.Warnings[0]);
    EXPECT_TRUE(QDir(Dir.Dir.path()).entryList({"*.kav"}, QDir::Files).isEmpty());
    EXPECT_EQ(W.Session->Settings().NumbMask, 2147483647);
}

// The receive path on a real serial device: a pseudo-terminal is the port,
// the test plays the instrument on its master side.

namespace {

// The instrument's side of the line: bytes written whole, and a run of data
// points with the values they must be stored with.
void Send(TPtyLine& line, const QByteArray& bytes) {
    for (int done = 0; done < bytes.size();)
        done += line.WriteSome(bytes.constData() + done, static_cast<int>(bytes.size()) - done);
}
QByteArray Points(int first, int count) {
    QByteArray frames;
    for (int code = first; code < first + count; ++code)
        frames += Point(code, 2048 + code % 500);
    return frames;
}
bool Stored(TKavSession& s, int first, int count) {
    for (int code = first; code < first + count; ++code)
        if (s.Points()[code].Y != 2048 + code % 500)
            return false;
    return true;
}

struct PtyReceive : ::testing::Test {
    TAppDir Dir;
    TPtyLine Line{0};

    void SetUp() override {
        ASSERT_TRUE(Line.Ok());
        // The slave's own path: a device path is kept whole as the port name.
        WriteReceiveIni(Dir, Line.SlavePath, "AutoMinMax=1\r\n");
    }
    void Send(const QByteArray& bytes) { ::Send(Line, bytes); }
};

// While a warning box of the automatic processing is open, frames keep
// arriving; the box's event loop goes on running the poll timer.
struct TBoxDuringFrames : TScriptedPort {
    std::function<void()> WhileOpen;
    void Warning(const QString& text) override {
        TScriptedPort::Warning(text);
        if (WhileOpen)
            WhileOpen();
    }
};

} // namespace

TEST_F(PtyReceive, FramesFromTheLineReachTheStoreAndTheMessageWindow) {
    TScriptedPort port;
    auto w = ShowWindow(port, DefaultDeviceFactory());
    ASSERT_TRUE(w.Session->Receiver().Opened()) << port.Errors.join('\n').toStdString();
    EXPECT_EQ(Bar(*w)->Panel(0), Line.SlavePath);
    Send(Frame(TmUnitIdentity, {3, 17}) + SweepStart() + Points(5000, 200) + Filler());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Stored(*w.Session, 5000, 200); }, 10000));
    for (const char* line : {"Tm01. PROGRAMMA=3", "      SPnomer=17", "Tm03. POLEmax=65519"})
        EXPECT_TRUE(HasMessage(w, line)) << line;
    EXPECT_EQ(Panels(*w, {5, 7}), (QStringList{"PR: 3", "Рабочий ход"}));
}

TEST_F(PtyReceive, FramesArrivingWhileABoxIsOpenAreAllHandledAfterItCloses) {
    TBoxDuringFrames port;
    auto w = ShowWindow(port, DefaultDeviceFactory());
    ASSERT_TRUE(w.Session->Receiver().Opened());
    int storedWhileOpen = -1;
    bool pollingWhileOpen = false;
    port.WhileOpen = [&] {
        // 300 points arrive while the box waits for the operator, over many
        // poll periods.
        Send(Points(20000, 300) + Filler());
        QTest::qWait(400);
        storedWhileOpen = 0;
        for (int code = 20000; code < 20300; ++code)
            storedWhileOpen += w.Session->Points()[code].Y != EmptyY;
        pollingWhileOpen = w.Session->Receiver().Polling();
    };
    // A sweep and its backward run: the automatic extremum search warns that
    // the visirs are not set.
    Send(SweepStart() + Points(1000, 50) + Frame(TmBackwardSweep, {0, 0, 0, 0, 0x03, 0xE8}) +
         Filler());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.Warnings.isEmpty(); }, 10000));
    EXPECT_EQ(port.Warnings[0], TProcessingActions::MinMaxVisirWarning);
    // Nothing was handled while the box was open: the poll that opened it
    // was still running and no other poll began.
    EXPECT_EQ(storedWhileOpen, 0);
    EXPECT_TRUE(pollingWhileOpen);
    // Closed, every frame is handled, none lost.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Stored(*w.Session, 20000, 300); }, 10000));
    EXPECT_EQ(port.Warnings.size(), 1);
    for (const QString& line : MessageForm(w)->Messages())
        EXPECT_FALSE(line.startsWith("Ошибка")) << line.toStdString();
}

// The serial device goes away in the middle of a sweep: the port is shown
// closed, the sweep phase cleared, a warning that does not wait names the
// port and the system's reason once, the points stay, and "Прием" opens the
// port again when a device is back behind its name.
TEST(PtyVanishes, ThePortIsShownClosedThePointsStayAndReceiveOpensItAgain) {
    TAppDir dir;
    TPtyLine line(1);
    ASSERT_TRUE(line.Ok());
    WriteReceiveIni(dir, line.Link);
    TScriptedPort port;
    auto w = ShowWindow(port, DefaultDeviceFactory());
    ASSERT_TRUE(w.Session->Receiver().Opened()) << port.Errors.join('\n').toStdString();
    Send(line, SweepStart() + Points(5000, 200) + Filler());
    auto stored = [&] { return Stored(*w.Session, 5000, 200); };
    ASSERT_TRUE(QTest::qWaitFor(stored, 10000));
    TKavStatusBar* bar = Bar(*w);
    EXPECT_EQ(bar->Panel(7), "Рабочий ход");

    line.CloseMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.Warnings.isEmpty(); }, 10000));
    const QString lost =
        "Порт " + line.Link + " недоступен: связь потеряна (" + SystemErrorText(EIO) + ")";
    EXPECT_EQ(port.Warnings, QStringList{lost});
    EXPECT_TRUE(MessageForm(w)->Messages().contains(lost));
    EXPECT_EQ(Panels(*w, {0, 1, 7}), (QStringList{line.Link, "<Закрыт>", ""}));
    EXPECT_TRUE(stored());
    const auto a = [&](const char* name) { return Act(*w, name); };
    EXPECT_TRUE(a("AReceive")->isEnabled() && !a("AReceive")->isChecked());
    EXPECT_TRUE(w.Session->Receiving());
    // Said once; the handshake does not knock on a closed port meanwhile.
    QTest::qWait(1500);
    EXPECT_EQ(port.Warnings.size(), 1);
    EXPECT_FALSE(MessageForm(w)->Messages().contains("Передача параметров не удалась"));

    // Nothing there yet: "Прием" says so and stays ready for another try.
    a("AReceive")->trigger();
    ASSERT_EQ(port.Errors.size(), 1);
    EXPECT_TRUE(port.Errors[0].startsWith("Невозможно инициализировать порт " + line.Link + ": "));
    EXPECT_TRUE(a("AReceive")->isEnabled() && !a("AReceive")->isChecked());

    TPtyLine back(1); // a device behind the same name again
    ASSERT_TRUE(back.Ok());
    a("AReceive")->trigger();
    ASSERT_TRUE(w.Session->Receiver().Opened());
    EXPECT_TRUE(!a("AReceive")->isEnabled() && a("AReceive")->isChecked());
    EXPECT_EQ(bar->Panel(1), "9600 бод");
    EXPECT_TRUE(stored());
    Send(back, Point(6000, 2222) + Filler());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Session->Points()[6000].Y == 2222; }, 10000));
    EXPECT_TRUE(stored());
}
