#pragma once

#include "config/kav_cfg.h"
#include "config/spin_field_widget.h"
#include "print/page_geometry.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

// The print setup dialog (TPrintSetupForm, "Печать спектра"): the active
// printer, the platform's printer setup, the paper orientation, the four
// margins and a preview of the page. It is built on the settings record and
// the program's printer just before it is shown, and takes the settings in
// then. OK stores the orientation and the margins, unless they leave no room
// for the plot on the page: then it says which margins meet, stores nothing
// and the dialog stays open. Cancel stores nothing,
// except that margins below the printer's unprintable strip are raised to it
// at once, and the printer keeps the orientation last clicked.
class TPrintSetupForm : public QDialog {
    Q_OBJECT
public:
    // The platform's printer setup on the printer; true when confirmed.
    using TPrinterSetup = std::function<bool(QPrinter&)>;
    // A warning box over the dialog.
    using TWarning = std::function<void(const QString&)>;

    static constexpr int MarginMax = 200;

    TPrintSetupForm(TKavCfg& cfg, QPrinter& printer, TPrinterSetup printerSetup, TWarning warning,
                    QWidget* parent = nullptr);

    // The printer's name, or "PDF" for a printer that writes PDF files.
    static QString PrinterName(const QPrinter& printer);

    // Recomputes the printer state (its printable area, the nearest paper,
    // the unprintable offsets), raises the margin edits' lower bounds and the
    // stored margins below them to the offsets, and repaints the preview.
    void UpdateSample();

    const TPrintableArea& Area() const { return PrinterArea; }
    TPaperSize Paper() const { return NearestPaper(PrinterArea.HorzSize, PrinterArea.VertSize); }
    const TPaperOffsets& Offsets() const { return PaperOffsets; }
    // The preview's geometry for the margin edits' values.
    TSampleGeometry SampleGeometry() const;

    QLineEdit* PrnName = nullptr;
    QPushButton* PrnSetupPrn = nullptr;
    TSpinField* LeftEdit = nullptr;
    TSpinField* RightEdit = nullptr;
    TSpinField* TopEdit = nullptr;
    TSpinField* BotEdit = nullptr;
    QGroupBox* OrientGroup = nullptr;
    QRadioButton* PortraitItem = nullptr;  // "Книжная", item 0
    QRadioButton* LandscapeItem = nullptr; // "Альбомная", item 1
    QGroupBox* SampleGroup = nullptr;
    QWidget* Sample = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    QGroupBox* BuildPrinterGroup();
    QGroupBox* BuildMarginGroup();
    QGroupBox* BuildOrientGroup();
    QGroupBox* BuildSampleGroup();
    void FormShow();
    void ShowPrinterOrientation();
    void ReadPrinterState();
    void PaintSample(QWidget& box);
    void PrnSetupPrnClick();
    void OrientGroupClick(int item);
    void OkBtnClick();

    friend class TPrintSampleBox;

    TKavCfg& Cfg;
    QPrinter& Printer;
    TPrinterSetup PrinterSetup;
    TWarning Warning;
    QButtonGroup* OrientItems = nullptr;
    TPrintableArea PrinterArea;
    TPaperOffsets PaperOffsets;
};
