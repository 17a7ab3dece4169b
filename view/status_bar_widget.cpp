#include "view/status_bar_widget.h"

#include "config/language.h"

#include <QEvent>
#include <QLabel>

namespace {

// The texts of the window's design, visible until the first clearing.
const std::array<const char*, TKavStatusBar::PanelCount> DesignTexts = {
    "",
    "",
    "",
    "",
    "",
    "PR:",
    "S/N:",
    "Info",
    QT_TRANSLATE_NOOP("TKavStatusBar", "АВТО"),
    QT_TRANSLATE_NOOP("TKavStatusBar", "ФИЛЬТР"),
    QT_TRANSLATE_NOOP("TKavStatusBar", "НАКОПЛ"),
    ""};

} // namespace

TKavStatusBar::TKavStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (int k = 0; k < PanelCount; ++k) {
        auto* label = new QLabel(tr(DesignTexts[k]), this);
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
    if (QLabel* label = PanelLabel(index)) {
        label->setText(text);
        FitPanel(index);
    }
}

void TKavStatusBar::FitPanel(int index) {
    // In Russian the panels keep the widths their owner gave them.
    if (InstalledProgramLanguage() == TLanguage::Ru)
        return;
    QLabel* label = Panels[static_cast<std::size_t>(index)];
    const int margins = 2 * (label->margin() + label->frameWidth()) + 4;
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + margins;
    if (needed > label->maximumWidth())
        label->setMaximumWidth(needed);
    if (needed > label->width() && label->minimumWidth() == label->maximumWidth())
        label->setFixedWidth(needed);
}

QString TKavStatusBar::Panel(int index) const {
    const QLabel* label = PanelLabel(index);
    return label ? label->text() : QString();
}

void TKavStatusBar::ClearPanels() {
    for (QLabel* label : Panels)
        label->clear();
}

void TKavStatusBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        for (int k = 0; k < PanelCount; ++k) {
            QLabel* label = Panels[static_cast<std::size_t>(k)];
            const int own = PanelWidths[static_cast<std::size_t>(k)];
            // Back to the panel's own width, then wide enough for its text.
            if (label->maximumWidth() > own)
                label->setMaximumWidth(own);
            if (label->minimumWidth() > own)
                label->setMinimumWidth(own);
            FitPanel(k);
        }
    }
    QStatusBar::changeEvent(event);
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
