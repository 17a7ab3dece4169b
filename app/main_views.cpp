// What the core's open, close and parameter rules change in the window.

#include "acquisition/adc_window.h"
#include "app/about_dialog.h"
#include "app/instrument_groups_widget.h"
#include "app/main_window.h"
#include "app/print_actions.h"
#include "config/message_port.h"
#include "session/kav_session.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"

#include <QAction>
#include <QApplication>
#include <QSignalBlocker>

void TKavMainForm::SetGainIndex(int index) {
    Groups->SetGainIndex(index);
}

void TKavMainForm::SetSpeedIndex(int index) {
    Groups->SetSpeedIndex(index);
}

void TKavMainForm::BlankSelectorTexts() {
    Groups->BlankSelectorTexts();
}

void TKavMainForm::SetStatusPanel(int index, const QString& text) {
    KavStatusBar->SetPanel(index, text);
}

void TKavMainForm::SetAdcReading(const QString& text) {
    if (ADCForm)
        ADCForm->SetReading(text);
}

void TKavMainForm::SetViewBoundTexts(const QString& minText, const QString& maxText) {
    Bounds->SetExtTexts(minText, maxText);
}

void TKavMainForm::SetBackUpEnabled(bool enabled) {
    A.ABackUp->setEnabled(enabled);
}

void TKavMainForm::SetSaveAsEnabled(bool enabled) {
    A.ASaveFileAs->setEnabled(enabled);
}

void TKavMainForm::SetGFactorShown(bool shown) {
    Session.GFactor().Shown = shown;
    const QSignalBlocker block(A.AGShow);
    A.AGShow->setChecked(shown);
}

void TKavMainForm::SetCaption(const QString& text) {
    CaptionShown = text == NoSpectrumCaption()            ? TCaption::NoSpectrum
                   : text == tr("Kavis. Спектрометр ЭПР") ? TCaption::Initial
                                                          : TCaption::Other;
    // The application title first: the window system appends it to a
    // caption that does not already end with it.
    QApplication::setApplicationDisplayName(text);
    setWindowTitle(text);
}

void TKavMainForm::APrintFormExecute() {
    Printing->APrintFormExecute(grab().toImage());
}

void TKavMainForm::AAboutExecute() {
    TKavAboutForm about(this);
    Port.RunDialog(about);
}
