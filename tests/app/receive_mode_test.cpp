// The receive mode in the window: the handshake with the simulated
// spectrometer, live drawing, the control groups under the instrument's
// reports and the operator's hands, the mode actions and what is kept at
// close.

#include "receive_fixture.h"

#include "acquisition/adc_window.h"
#include "sim/sim_device.h"
#include "view/display_color.h"

#include <QLineEdit>
#include <QPaintEvent>
#include <QToolButton>

namespace {

TSimInstrument& Sim(TKavMainForm& w) {
    return dynamic_cast<TSimDevice&>(*w.Receiver().Device()).Instrument();
}

bool HasMessage(TKavMainForm& w, const QString& line) {
    return w.MessageForm()->Messages().contains(line);
}

// Waits (running the event loop) until the handshake with the simulated
// spectrometer is complete and the instrument has reported its controls.
bool Linked(TKavMainForm& w) {
    return QTest::qWaitFor(
        [&] {
            return w.Engine().State().AllAcknowledged() && w.Engine().State().SendCount == 0 &&
                   w.InstrumentGroups()->GainGroup()->isEnabled();
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

} // namespace

TEST(ReceiveMode, HandshakeWithTheSimulatorReachesTheMessageWindowAndStatusBar) {
    TAppDir dir;
    WriteReceiveIni(dir, "SIM");
    TScriptedPort port;
    auto w = ShowWindow(port);
    ASSERT_TRUE(w->IsReceiving());
    ASSERT_TRUE(Linked(*w));
    for (const char* line : {"Tm01. PROGRAMMA=7", "      SPnomer=42", "Tm11. POLEmaxP=65519",
                             "Tm22. KodAmpl=1", "Tm33. Ukorr=32768"})
        EXPECT_TRUE(HasMessage(*w, line)) << line;
    TKavStatusBar* bar = w->StatusPanels();
    EXPECT_EQ(bar->Panel(0), "SIM");
    EXPECT_EQ(bar->Panel(1), "9600 бод");
    EXPECT_EQ(bar->Panel(5), "PR: 7");
    EXPECT_EQ(bar->Panel(6), "S/N: 42");
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->Panel(7) == "Рабочий ход"; }, 10000));
    // The mode actions and the groups the instrument left to the computer.
    const TMainActions& a = w->Actions();
    EXPECT_TRUE(a.AReceive->isChecked() && !a.AReceive->isEnabled());
    EXPECT_TRUE(!a.AAnalyse->isChecked() && a.AAnalyse->isEnabled());
    EXPECT_TRUE(a.AResetDiap->isEnabled() && a.AStop->isEnabled());
    TInstrumentGroupsWidget* g = w->InstrumentGroups();
    EXPECT_TRUE(g->BoundsGroup()->isEnabled() && g->SpeedGroup()->isEnabled() &&
                g->CorrectionGroup()->isEnabled());
    EXPECT_EQ(g->AmpLbl()->text(), "ПЭВМ");
    EXPECT_TRUE(port.Errors.isEmpty());
}

TEST(ReceiveMode, ChangesInTheGroupsAreSentAndAcknowledged) {
    TAppDir dir;
    WriteReceiveIni(dir, "SIM");
    TScriptedPort port;
    auto w = ShowWindow(port);
    ASSERT_TRUE(Linked(*w));
    TInstrumentGroupsWidget* g = w->InstrumentGroups();

    g->AmpBox()->setCurrentIndex(3);   // "10": KodAmpl 4
    g->SpeedBox()->setCurrentIndex(9); // " 2 мин": KodRapid 7
    g->BotField()->setValue(1000);
    g->CorrBar()->setValue(32767 - 320);
    EXPECT_EQ(w->Settings().Amplifying, 3);
    EXPECT_EQ(w->Settings().Rapid, 9);
    EXPECT_EQ(w->Settings().PoleMin, 1000);
    EXPECT_EQ(w->Settings().ViewMin, 1000); // the view follows the lower bound
    EXPECT_EQ(w->Settings().Correction, 320);
    EXPECT_EQ(g->CorrEdit()->value(), 320);
    EXPECT_EQ(g->BotFieldExt()->text(), "1000");
    ASSERT_TRUE(Linked(*w));
    EXPECT_EQ(Sim(*w).KodAmpl(), 4);
    EXPECT_EQ(Sim(*w).KodRapid(), 7);
    EXPECT_EQ(Sim(*w).PoleMin(), 1000);
    EXPECT_EQ(Sim(*w).Ukorr(), 32768 + 320);
    for (const char* line :
         {"      POLEminP=1000", "Tm22. KodAmpl=4", "      KodRapid=7", "Tm33. Ukorr=33088"})
        EXPECT_TRUE(HasMessage(*w, line)) << line;

    // The up/down pair steps the list and is sent too.
    QTest::mouseClick(g->UpDnAmp(true), Qt::LeftButton);
    EXPECT_EQ(g->AmpBox()->currentIndex(), 4);
    ASSERT_TRUE(Linked(*w));
    EXPECT_EQ(Sim(*w).KodAmpl(), 5);
}

TEST(ReceiveMode, LivePixelsAndTheFieldMarkerLandAtTheirPlaces) {
    TAppDir dir;
    WriteReceiveIni(dir, "COM1");
    TScriptedPort port;
    auto w = ShowWindow(port);
    TPlotWidget* plot = w->Plot();
    TPaintCounter paints;
    plot->installEventFilter(&paints);
    Deliver(*w, SweepStart()); // the full repaint of a new sweep
    ASSERT_TRUE(QTest::qWaitFor([&] { return paints.Paints > 0; }, 2000));
    paints.Paints = 0;
    paints.Regions.clear();
    const QImage empty = plot->Canvas().copy();

    const int codes[] = {8000, 20000, 20003, 33000, 47000};
    const int values[] = {0, 2048 - 900, 2048, 4095, 2048 + 600}; // 0: held to row H - 2
    QByteArray frames;
    for (int k = 0; k < 5; ++k)
        frames += Point(codes[k], values[k]);
    Deliver(*w, frames);
    const TPlotGeometry& geo = plot->Geometry();
    const QRgb graph = ToRgb(w->Settings().DisplayColors.Graph);
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(codes[k]);
        EXPECT_EQ(w->Points()[codes[k]].Y, values[k]);
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
    // the new one; moved out of the view it is erased and forgotten.
    Deliver(*w, Frame(TmBackwardSweep, {0, 0, 0, 0, 10000 >> 8, 10000 & 0xFF}));
    EXPECT_EQ(plot->FieldMarkerX(), geo.XOfCode(10000));
    EXPECT_EQ(plot->Canvas().pixel(x, geo.H - 8), empty.pixel(x, geo.H - 8));
    w->Settings().ViewMax = 60000; // as the last paint left the view
    plot->ScreenBoxPaint();
    const QImage painted = plot->Canvas().copy();
    Deliver(*w, Point(30000, 2048));
    Deliver(*w, Point(62000, 2048));
    EXPECT_EQ(plot->FieldMarkerX(), -1);
    const int mx = plot->Geometry().XOfCode(30000);
    EXPECT_EQ(plot->Canvas().pixel(mx, geo.H - 8), painted.pixel(mx, geo.H - 8));
}

TEST(ReceiveMode, ManualControlBitsDisableTheGroupsAndHideTheCorrection) {
    TAppDir dir;
    WriteReceiveIni(dir, "COM1", "Amplifying=4\r\nCorrection=-640\r\n");
    TScriptedPort port;
    auto w = ShowWindow(port);
    TInstrumentGroupsWidget* g = w->InstrumentGroups();
    // Until the instrument reports, the three groups stay disabled.
    EXPECT_FALSE(g->GainGroup()->isEnabled() || g->SpeedGroup()->isEnabled() ||
                 g->CorrectionGroup()->isEnabled());
    EXPECT_TRUE(g->BoundsGroup()->isEnabled());

    // Gain and correction by hand at KodAmpl 1, speed by hand at KodRapid 15.
    Deliver(*w, Point(100, 2048, 0xC1, 0x8F));
    EXPECT_FALSE(g->GainGroup()->isEnabled());
    EXPECT_FALSE(g->SpeedGroup()->isEnabled());
    EXPECT_FALSE(g->CorrectionGroup()->isEnabled());
    EXPECT_FALSE(g->CorrBar()->isEnabled());
    for (QLabel* l : {g->AmpLbl(), g->SpeedLbl(), g->CorrLbl()})
        EXPECT_EQ(l->text(), "РУЧН. УПР.");
    EXPECT_EQ(g->AmpBox()->currentText(), "1");
    EXPECT_EQ(g->SpeedBox()->currentIndex(), 11); // "30 сек", the last row of code 15
    const QPalette hidden = g->CorrEditExt()->palette();
    EXPECT_EQ(hidden.color(QPalette::Disabled, QPalette::Text),
              hidden.color(QPalette::Disabled, QPalette::Base));

    // Back to the computer: the groups come back, the correction box shows
    // the setting again in the text colour, the gain list keeps its row.
    Deliver(*w, Point(101, 2048, 0x01, 0x08));
    EXPECT_TRUE(g->GainGroup()->isEnabled() && g->SpeedGroup()->isEnabled() &&
                g->CorrectionGroup()->isEnabled() && g->CorrBar()->isEnabled());
    for (QLabel* l : {g->AmpLbl(), g->SpeedLbl(), g->CorrLbl()})
        EXPECT_EQ(l->text(), "ПЭВМ");
    EXPECT_EQ(g->AmpBox()->currentText(), "1");
    EXPECT_EQ(g->CorrEdit()->value(), -640);
    const QPalette shown = g->CorrEditExt()->palette();
    EXPECT_NE(shown.color(QPalette::Active, QPalette::Text),
              shown.color(QPalette::Active, QPalette::Base));

    // Analysis mode greys all four groups and their labels.
    w->Actions().AAnalyse->trigger();
    EXPECT_FALSE(g->GainGroup()->isEnabled() || g->SpeedGroup()->isEnabled() ||
                 g->CorrectionGroup()->isEnabled() || g->BoundsGroup()->isEnabled());
    EXPECT_FALSE(g->AmpLbl()->isEnabled() || g->BotLbl()->isEnabled());
    EXPECT_EQ(w->StatusPanels()->Panel(1), "<Закрыт>");
}

TEST(ReceiveMode, StopAndStartReturnToTheSpeedBefore) {
    TAppDir dir;
    WriteReceiveIni(dir, "COM1", "Rapid=6\r\n");
    TScriptedPort port;
    auto w = ShowWindow(port);
    Deliver(*w, Point(100, 2048, 0x01, 0x05)); // KodRapid 5: "16 мин", row 6
    const TMainActions& a = w->Actions();
    QComboBox* speed = w->InstrumentGroups()->SpeedBox();
    ASSERT_EQ(speed->currentIndex(), 6);
    a.AStop->trigger();
    EXPECT_EQ(speed->currentText(), " СТОП");
    EXPECT_EQ(w->Settings().Rapid, 2);
    EXPECT_FALSE(a.AStop->isEnabled());
    EXPECT_TRUE(a.AStart->isEnabled());
    a.AStart->trigger();
    EXPECT_EQ(speed->currentIndex(), 6);
    EXPECT_EQ(w->Settings().Rapid, 6);
    EXPECT_TRUE(a.AStop->isEnabled());
    EXPECT_FALSE(a.AStart->isEnabled());

    // Closing while stopped keeps the speed before the stop.
    a.AStop->trigger();
    ASSERT_TRUE(w->close());
    EXPECT_EQ(dir.ReadBack().Rapid, 6);
}

TEST(ReceiveMode, MouseSelectionSetsTheSweepBounds) {
    TAppDir dir;
    WriteReceiveIni(dir, "COM1");
    TScriptedPort port;
    auto w = ShowWindow(port);
    TPlotWidget* plot = w->Plot();
    const TPlotGeometry geo = plot->Geometry();
    w->Actions().AMouseSelect->trigger();
    EXPECT_TRUE(w->Actions().AMouseSelect->isChecked());
    // From right to left, with the band painted in fuchsia as it grows.
    QTest::mousePress(plot, Qt::LeftButton, {}, QPoint(300, 40));
    QTest::mouseMove(plot, QPoint(120, 40));
    EXPECT_EQ(plot->Canvas().pixel(200, 10) & 0xFF00FFu, 0xFF00FFu);
    QTest::mouseRelease(plot, Qt::LeftButton, {}, QPoint(120, 40));
    const int low = geo.FieldCodeOfX(120);
    const int high = geo.FieldCodeOfX(300);
    EXPECT_EQ(w->Settings().PoleMin, low);
    EXPECT_EQ(w->Settings().PoleMax, high);
    EXPECT_EQ(w->InstrumentGroups()->BotField()->value(), low);
    EXPECT_EQ(w->InstrumentGroups()->TopField()->value(), high);
    EXPECT_FALSE(w->Engine().State().BoundsAck);
    EXPECT_FALSE(w->Actions().AMouseSelect->isChecked());
    // The view follows the new bounds.
    EXPECT_EQ(w->Settings().ViewMin, low);
    EXPECT_EQ(w->Settings().ViewMax, high);
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
        EXPECT_EQ(w->Points()[1000].Y, EmptyY); // receive mode opens nothing
        w->Actions().AAnalyse->trigger();
        EXPECT_FALSE(w->IsReceiving());
        EXPECT_TRUE(w->Actions().AReceive->isEnabled());
        EXPECT_FALSE(w->Engine().KavTimer().isActive());
        ASSERT_TRUE(w->close());
    }
    EXPECT_FALSE(dir.ReadBack().Mode);
    auto w = ShowWindow(port);
    EXPECT_NE(w->Points()[1000].Y, EmptyY); // analysis mode opens LastOpen
    EXPECT_EQ(w->windowTitle(), "Kavis - line.kav");
    // The file's ADC record is shown in the ADC window.
    EXPECT_FALSE(w->AdcReadingText().isEmpty());
    EXPECT_EQ(w->AdcForm()->Reading(), w->AdcReadingText());
    w->Actions().AReceive->trigger();
    EXPECT_TRUE(w->IsReceiving());
    EXPECT_EQ(w->Points()[1000].Y, EmptyY);
    EXPECT_EQ(w->windowTitle(), "КАВ");
    EXPECT_TRUE(w->Engine().KavTimer().isActive());
    EXPECT_EQ(w->StatusPanels()->Panel(0), "COM2");
    ASSERT_TRUE(w->close());
    EXPECT_TRUE(dir.ReadBack().Mode);
    EXPECT_TRUE(port.Errors.isEmpty());
}

TEST(ReceiveMode, APortThatDoesNotOpenIsReported) {
    TAppDir dir;
    WriteReceiveIni(dir, "COM7");
    TScriptedPort port;
    auto w = ShowWindow(port, [](const QString&) { return nullptr; });
    EXPECT_EQ(port.Errors, QStringList{"Невозможно инициализировать порт COM7"});
    EXPECT_EQ(w->StatusPanels()->Panel(0), QString());
    EXPECT_EQ(w->StatusPanels()->Panel(1), QString());
    EXPECT_TRUE(w->IsReceiving());
}

TEST(ReceiveMode, RealTimeButtonsSetTheirSwitchesAndBlinkWhileChecked) {
    TAppDir dir;
    WriteReceiveIni(dir, "COM1");
    TScriptedPort port;
    auto w = ShowWindow(port);
    const TMainActions& a = w->Actions();
    const QImage plainLpf = a.ASwLPF->icon().pixmap(16, 16).toImage();
    const QImage plainSum = a.ASWSum->icon().pixmap(16, 16).toImage();
    EXPECT_TRUE(w->Engine().LPFTimer().isActive());
    a.ASwLPF->trigger();
    EXPECT_TRUE(a.ASwLPF->isChecked());
    EXPECT_TRUE(w->Settings().EnableRTLPF);
    EXPECT_FALSE(w->Settings().EnableRTSum);
    // Only the checked button blinks.
    w->Engine().LPFTimerTimer();
    EXPECT_NE(a.ASwLPF->icon().pixmap(16, 16).toImage(), plainLpf);
    EXPECT_EQ(a.ASWSum->icon().pixmap(16, 16).toImage(), plainSum);
    w->Engine().LPFTimerTimer();
    EXPECT_EQ(a.ASwLPF->icon().pixmap(16, 16).toImage(), plainLpf);
    // The filter runs from the next forward sweep.
    Deliver(*w, SweepStart());
    EXPECT_EQ(w->StatusPanels()->Panel(9), "ФИЛЬТР [25]");
    EXPECT_TRUE(w->Engine().State().LpfActive);

    // Analysis mode: the two buttons are disabled, stop blinking and show
    // their own images; their panels are cleared.
    w->Engine().LPFTimerTimer();
    a.AAnalyse->trigger();
    EXPECT_FALSE(a.ASwLPF->isEnabled() || a.ASWSum->isEnabled());
    EXPECT_FALSE(w->Engine().LPFTimer().isActive());
    EXPECT_EQ(a.ASwLPF->icon().pixmap(16, 16).toImage(), plainLpf);
    EXPECT_EQ(w->StatusPanels()->Panel(9), QString());
}
