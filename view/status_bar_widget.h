#pragma once

#include <QStatusBar>
#include <QString>
#include <array>

class QLabel;

// The main window's information panel (KavStatusBar): twelve panels of fixed
// widths addressed by index 0..11. They hold their design texts until the
// window is first shown, when all twelve are blanked. In Russian the widths
// are fixed; in English a panel widens to a text it is given that does not
// fit, and goes back to its own width when the language returns to Russian.
class TKavStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int PanelCount = 12;
    static constexpr std::array<int, PanelCount> PanelWidths = {50, 70,  25, 95, 105, 50,
                                                                50, 180, 40, 83, 115, 50};

    explicit TKavStatusBar(QWidget* parent = nullptr);

    // An index outside 0..11 is ignored; an empty text blanks the panel.
    void SetPanel(int index, const QString& text);
    QString Panel(int index) const;
    // Blanks all twelve panels.
    void ClearPanels();
    QLabel* PanelLabel(int index) const;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FitPanel(int index);

    std::array<QLabel*, PanelCount> Panels{};
    bool ShownOnce = false;
};
