#include "view/status_bar_widget.h"

#include <QLabel>

namespace {

// The texts of the window's design, visible until the first clearing.
const std::array<const char*, TKavStatusBar::PanelCount> DesignTexts = {
    "", "", "", "", "", "PR:", "S/N:", "Info", "АВТО", "ФИЛЬТР", "НАКОПЛ", ""};

} // namespace

TKavStatusBar::TKavStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (int k = 0; k < PanelCount; ++k) {
        auto* label = new QLabel(QString::fromUtf8(DesignTexts[k]), this);
        label->setFixedWidth(PanelWidths[k]);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setMargin(1);
        addWidget(label);
        Panels[k] = label;
    }
}

QLabel* TKavStatusBar::PanelLabel(int index) const {
    if (index < 0 || index >= PanelCount)
        return nullptr;
    return Panels[index];
}

void TKavStatusBar::SetPanel(int index, const QString& text) {
    if (QLabel* label = PanelLabel(index))
        label->setText(text);
}

QString TKavStatusBar::Panel(int index) const {
    const QLabel* label = PanelLabel(index);
    return label ? label->text() : QString();
}

void TKavStatusBar::ClearPanels() {
    for (QLabel* label : Panels)
        label->clear();
}

void TKavStatusBar::showEvent(QShowEvent* event) {
    // The window shows its children before its own first-show steps run, so
    // the panels are blank when those steps write into them.
    if (!ShownOnce) {
        ShownOnce = true;
        ClearPanels();
    }
    QStatusBar::showEvent(event);
}
