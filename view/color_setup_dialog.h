#pragma once

#include "config/kav_cfg.h"
#include "config/message_port.h"

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;

// The colour dialog (TColorSetupForm): three sheets for the colour sets of
// the screen, the printer and the BMP file, each with a coloured panel for
// every colour of the set but the grid's.
// A click on a panel opens the colour chooser at the panel's colour; OK
// writes every panel into its set. The grid colour has no panel and keeps
// its value.
class TColorSetupForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int SheetCount = 3; // "Монитор", "Принтер", "Файл BMP"
    static constexpr int RowCount = 12;

    TColorSetupForm(TKavCfg& cfg, TMessagePort& port, QWidget* parent = nullptr);

    // The settings into the panels (done on creation).
    void FormShow();

    QTabWidget* Sheets() const { return Tabs; }
    QFrame* Panel(int sheet, int row) const { return Panels[sheet][row]; }
    TColorValue PanelColor(int sheet, int row) const { return Colors[sheet][row]; }
    QPushButton* OKBtn() const { return Ok; }
    QPushButton* CancelBtn() const { return Cancel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildSheet(int sheet);
    void SetPanelColor(int sheet, int row, TColorValue colour);
    void PanelClick(int sheet, int row);
    void OKBtnClick();

    TKavCfg& Cfg;
    TMessagePort& Port;
    QTabWidget* Tabs = nullptr;
    std::array<std::array<QFrame*, RowCount>, SheetCount> Panels{};
    std::array<std::array<TColorValue, RowCount>, SheetCount> Colors{};
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};
