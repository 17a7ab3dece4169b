#pragma once

#include "config/kav_cfg.h"
#include "processing/gfactor_display.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/value_format.h"

#include <QString>
#include <functional>
#include <memory>

class QImage;
class QPrinter;
class QWidget;
class TAnalysisOverlay;
class TMessagePort;
struct TPrintout;

// APrint and APrintSetup of the main window, with the program's printer:
// the current printer with its settings, or, when the machine has no
// printer, a PDF writer whose file the user names at each print.
class TPrintActions {
public:
    // What the printout reads, the session's instances.
    struct TSources {
        TKavCfg& Cfg;
        const TPointTable& Store;
        const TSpectrumResults& Results;
        const TInstrumentReadings& Readings;
        const TValueFormat& Format;
        const TGFactorDisplay& GFactor;
        std::function<bool()> Receiving;
        // The name of the spectrum shown (the caption's), empty for none:
        // the header's file name and the proposed PDF name.
        std::function<QString()> ShownName;
        // The texts the gain and sweep speed selectors show.
        std::function<QString()> GainText;
        std::function<QString()> SpeedText;
        // The unfiltered trace drawn beside the points when ShowFirst is on.
        std::function<const std::uint16_t*()> RawTrace;
        // The line fit and comparison shown over the spectrum, or none.
        std::function<const TAnalysisOverlay*()> Analysis = {};
    };

    TPrintActions(TSources sources, TMessagePort& port, QWidget* dialogParent);
    ~TPrintActions();

    // Prints the spectrum on the current printer with its settings; with no
    // printer, writes the page as a PDF under a name the save dialog gets
    // (the shown spectrum's name with ".pdf", in WorkDir). A failure is shown with
    // its reason and changes nothing else.
    void APrintExecute();
    // The print setup dialog; its OK prints at once.
    void APrintSetupExecute();
    // "Печать главного окна": the image of the window on one page of the
    // same printer, in the orientation of the settings; with no printer, a
    // PDF under a name the save dialog gets, written whole or not at all. A
    // failure is shown with its reason.
    void APrintFormExecute(const QImage& window);

    // The program's printer, made at first use.
    QPrinter& Printer();

private:
    TPrintout Page() const;
    void WritePdf(const TPrintout& page);
    // The save dialog for a PDF: its title and the name it proposes.
    QString AskPdfName(const QString& title, const QString& proposed);

    TSources Sources;
    TMessagePort& Port;
    QWidget* DialogParent;
    std::unique_ptr<QPrinter> CurrentPrinter;
};
