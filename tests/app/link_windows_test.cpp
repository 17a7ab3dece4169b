// The link windows of the main window: the COM port dialog, the message
// window and the ADC readout; and the two boxes that must not trap or miss
// the operator (a failed automatic save, a settings file that cannot be
// written at close).

#include "receive_fixture.h"

#include "acquisition/adc_window.h"
#include "acquisition/com_port_dialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

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

TEST(LinkWindows, ComPortDialogStoresThePortAndRateAndReopensTheLink) {
    TAppDir dir;
    dir.WriteIni("[Port]\r\nPortName=COM1\r\nBaudRate=5\r\n[Main]\r\nMode=0\r\n");
    TComDialogPort port;
    TOpenedNames opened;
    auto w = ShowWindow(port, opened.Factory());
    EXPECT_TRUE(opened.Names.isEmpty()); // analysis mode: no port

    port.PortText = "COM3";
    port.RateText = "19200";
    w->Actions().ASetupCom->trigger();
    EXPECT_EQ(port.Shown.last(), "COM1 9600");
    EXPECT_EQ(w->Settings().Port.PortName, "COM3");
    EXPECT_EQ(w->Settings().Port.BaudRate, 7);
    // The link is applied anew, in analysis mode too.
    EXPECT_EQ(opened.Names, QStringList{"COM3"});
    EXPECT_EQ(w->StatusPanels()->Panel(0), "COM3");
    EXPECT_EQ(w->StatusPanels()->Panel(1), "19200 бод");
    // The list: COM1..COM16, the devices of this machine, SIM last.
    EXPECT_EQ(port.Offered.first(), "COM1");
    EXPECT_EQ(port.Offered[15], "COM16");
    EXPECT_EQ(port.Offered.last(), "SIM");

    // A rate typed by hand keeps the rate; a long short name is cut to ten
    // characters, a device path is kept whole.
    port.PortText = "ttyUSB012345";
    port.RateText = "10000";
    w->Actions().ASetupCom->trigger();
    EXPECT_EQ(w->Settings().Port.PortName, "ttyUSB0123");
    EXPECT_EQ(w->Settings().Port.BaudRate, 7);
    const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    port.PortText = byId;
    port.RateText = "115200";
    w->Actions().ASetupCom->trigger();
    EXPECT_EQ(w->Settings().Port.PortName, byId);
    EXPECT_EQ(w->Settings().Port.BaudRate, 11);
    EXPECT_EQ(w->Receiver().Settings().PortName, byId);

    // "Отмена" keeps both values and still applies the link anew: the
    // messages emptied, the handshake started again (the open port of the
    // same name is not reopened).
    port.PortText = "COM9";
    port.RateText = "300";
    port.Accept = false;
    w->Engine().AddMessage("before");
    w->Engine().State().LinkReady = true;
    w->Actions().ASetupCom->trigger();
    EXPECT_EQ(w->Settings().Port.PortName, byId);
    EXPECT_EQ(w->Settings().Port.BaudRate, 11);
    EXPECT_EQ(w->MessageForm()->LineCount(), 0);
    EXPECT_FALSE(w->Engine().State().LinkReady);
    EXPECT_EQ(opened.Names.last(), byId);
    EXPECT_TRUE(w->Receiver().Opened());

    ASSERT_TRUE(w->close());
    EXPECT_EQ(dir.ReadBack().Port.PortName, byId);
}

TEST(LinkWindows, MessageWindowHoldsAThousandLinesAndEmptiesOnTheNext) {
    TAppDir dir;
    WriteReceiveIni(dir, "COM1");
    TScriptedPort port;
    auto w = ShowWindow(port);
    TKavMessageForm* m = w->MessageForm();
    EXPECT_EQ(m->windowTitle(), "Сообщения КАВ");
    for (int k = 1; k <= 1000; ++k)
        w->Engine().AddMessage(QString::number(k));
    EXPECT_EQ(m->LineCount(), 1000);
    EXPECT_EQ(m->Messages().first(), "1");
    EXPECT_EQ(m->Messages().last(), "1000");
    w->Engine().AddMessage("1001");
    EXPECT_EQ(m->LineCount(), 0);
    EXPECT_EQ(m->TextBox()->toPlainText(), QString());
    // The count starts again.
    w->Engine().AddMessage("a");
    EXPECT_EQ(m->Messages(), QStringList{"a"});

    // "Убрать все сообщения" removes every line; so does opening the link.
    QTest::mouseClick(m->ClearButton(), Qt::LeftButton);
    EXPECT_EQ(m->LineCount(), 0);
    w->Engine().AddMessage("b");
    w->Engine().OpenLink();
    EXPECT_EQ(m->LineCount(), 0);
}

TEST(LinkWindows, MessageWindowPlacementVisibilityAndClosing) {
    TAppDir dir;
    dir.WriteIni("[MsgWindow]\r\nLeft=300\r\nTop=120\r\nWidth=330\r\nHeight=280\r\nVisible=1\r\n"
                 "Style=3\r\n[Main]\r\nMode=0\r\n");
    TScriptedPort port;
    auto w = ShowWindow(port);
    TKavMessageForm* m = w->MessageForm();
    EXPECT_TRUE(m->isVisible());
    EXPECT_TRUE(m->StaysOnTop());
    EXPECT_EQ(m->size(), QSize(330, 280));
    EXPECT_TRUE(w->Actions().AMessageView->isChecked());
    EXPECT_EQ(m->TextBox()->toPlainText(), "<Нет сообщений>");

    // Closing only hides it and unchecks its action; the action shows it.
    EXPECT_FALSE(m->close());
    EXPECT_FALSE(m->isVisible());
    EXPECT_FALSE(w->Actions().AMessageView->isChecked());
    EXPECT_FALSE(w->Settings().MsgWindow.Visible);
    w->Actions().AMessageView->trigger();
    EXPECT_TRUE(m->isVisible());
    m->resize(310, 250);
    w->Actions().AMessageView->trigger();
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
    TADCForm* adc = w->AdcForm();
    EXPECT_EQ(adc->windowTitle(), "ВХОД  АЦП");
    EXPECT_TRUE(adc->isVisible());
    EXPECT_EQ(adc->pos(), QPoint(500, 40));
    EXPECT_TRUE(w->Actions().AADCView->isChecked());
    // The requests run whatever the mode.
    EXPECT_TRUE(w->Engine().ADCTimer().isActive());

    EXPECT_FALSE(adc->close());
    EXPECT_FALSE(adc->isVisible());
    EXPECT_FALSE(w->Actions().AADCView->isChecked());
    EXPECT_FALSE(w->Engine().ADCTimer().isActive());
    EXPECT_FALSE(w->Settings().ADCEnable);

    // The action brings it back; a reading shows in the label.
    w->Actions().AADCView->trigger();
    EXPECT_TRUE(adc->isVisible() && w->Engine().ADCTimer().isActive());
    w->Actions().AReceive->trigger();
    Deliver(*w, Frame(TmAdcReading, {0x0F, 0xFF}));
    EXPECT_EQ(adc->ADCRes()->text(), "4095");
    ASSERT_TRUE(w->close());
    EXPECT_TRUE(dir.ReadBack().ADCEnable);
}

TEST(LinkWindows, AFailedAutomaticSaveIsShownAtOnceAndReceivingGoesOn) {
    TAppDir dir;
    // The working directory is a file: nothing can be saved in it.
    const QString blocker = dir.Path("not-a-dir");
    QFile(blocker).open(QIODevice::WriteOnly);
    WriteReceiveIni(dir, "COM1", "AutoSave=1\r\nWorkDir=" + blocker.toUtf8() + "/\r\n");
    TScriptedPort port;
    auto w = ShowWindow(port);
    Deliver(*w, SweepStart());
    ASSERT_EQ(port.Warnings.size(), 1); // the scripted port shows it as a warning
    EXPECT_TRUE(port.Warnings[0].startsWith("Автосохранение не выполнено: "));
    EXPECT_TRUE(port.Warnings[0].contains("Спектр00000001.kav"));
    EXPECT_TRUE(w->MessageForm()->Messages().contains(port.Warnings[0]));
    EXPECT_TRUE(w->ReceiveView().AutoSaveMarked());
    EXPECT_EQ(w->StatusPanels()->PanelLabel(8)->toolTip(), port.Warnings[0]);
    EXPECT_EQ(w->StatusPanels()->Panel(7), "Рабочий ход");
    Deliver(*w, Point(2000, 2500));
    EXPECT_EQ(w->Points()[2000].Y, 2500);

    // The next sweep saves where it can: the mark goes.
    w->Settings().WorkDir = dir.Dir.path() + "/";
    Deliver(*w, SweepStart());
    EXPECT_FALSE(w->ReceiveView().AutoSaveMarked());
    EXPECT_TRUE(QFile::exists(dir.Path("Спектр00000001.kav")));
    EXPECT_EQ(port.Warnings.size(), 1);
}

namespace {

// Answers the box of a settings file that cannot be written at close.
struct TSaveFailurePort : TScriptedPort {
    QList<TSettingsSaveAnswer> Answers;
    std::function<void()> BeforeAnswer;
    QStringList Asked;
    TSettingsSaveAnswer SettingsNotSaved(const QString& text) override {
        Asked << text;
        if (BeforeAnswer)
            BeforeAnswer();
        return Answers.isEmpty() ? TSettingsSaveAnswer::StayOpen : Answers.takeFirst();
    }
};

} // namespace

TEST(LinkWindows, ASettingsFileThatCannotBeWrittenDoesNotTrapTheOperator) {
    TAppDir dir;
    WriteReceiveIni(dir, "COM1");
    TSaveFailurePort port;
    auto w = ShowWindow(port);
    // A directory in the file's place: the write fails, for root as well.
    const QString ini = dir.Path("Kav.ini");
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_TRUE(QDir().mkdir(ini));

    // Kept open: nothing changes, receiving goes on.
    port.Answers = {TSettingsSaveAnswer::StayOpen};
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(port.Asked.size(), 1);
    EXPECT_TRUE(port.Asked[0].contains("Kav.ini"));
    EXPECT_TRUE(w->Engine().KavTimer().isActive());

    // Tried again (it fails again), then closed without saving.
    port.Answers = {TSettingsSaveAnswer::Retry, TSettingsSaveAnswer::CloseWithoutSaving};
    EXPECT_TRUE(w->close());
    EXPECT_EQ(port.Asked.size(), 3);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->Engine().KavTimer().isActive());
    EXPECT_FALSE(w->Receiver().Opened());
    ASSERT_TRUE(QDir().rmdir(ini));
    EXPECT_FALSE(QFile::exists(ini)); // nothing was written

    // A retry that succeeds closes with the file written.
    TSaveFailurePort again;
    auto w2 = ShowWindow(again);
    ASSERT_TRUE(QDir().mkdir(ini));
    w2->Settings().VisKoord1 = 1234;
    again.Answers = {TSettingsSaveAnswer::Retry};
    again.BeforeAnswer = [&] { QDir().rmdir(ini); };
    EXPECT_TRUE(w2->close());
    EXPECT_EQ(dir.ReadBack().VisKoord1, 1234);
}
