#include "view/visir_panel_widget.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace {

QLineEdit* MakeReadout(QWidget* parent, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setMinimumWidth(width);
    return edit;
}

QToolButton* MakeArrow(Qt::ArrowType type, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setAutoRaise(true);
    return button;
}

} // namespace

TVisirPanelWidget::TVisirPanelWidget(int number, QWidget* parent)
    : QFrame(parent), VisirNumber(number) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    Caption = new QLabel(this);
    Retranslate();
    Abscissa = MakeReadout(this, 90);
    Ordinate = MakeReadout(this, 70);
    Left = MakeArrow(Qt::LeftArrow, this);
    Right = MakeArrow(Qt::RightArrow, this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 1, 3, 1);
    layout->setSpacing(3);
    layout->addWidget(Caption);
    layout->addWidget(Abscissa);
    layout->addWidget(Ordinate);
    layout->addWidget(Left);
    layout->addWidget(Right);
    connect(Left, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(Right, &QToolButton::clicked, this, [this] { Step(+1); });
}

void TVisirPanelWidget::SetReadout(const QString& abscissa, const QString& ordinate) {
    Abscissa->setText(abscissa);
    Ordinate->setText(ordinate);
}

void TVisirPanelWidget::SetOrdinateText(const QString& ordinate) {
    Ordinate->setText(ordinate);
}

QString TVisirPanelWidget::AbscissaText() const {
    return Abscissa->text();
}

QString TVisirPanelWidget::OrdinateText() const {
    return Ordinate->text();
}

void TVisirPanelWidget::SetUpDownPosition(int position) {
    Position = std::clamp(position, UpDownMin, UpDownMax);
}

void TVisirPanelWidget::Step(int delta) {
    const int next = std::clamp(Position + delta, UpDownMin, UpDownMax);
    if (next == Position)
        return;
    Position = next;
    emit UpDownClicked(Position);
}

void TVisirPanelWidget::Retranslate() {
    Caption->setText(tr("Визир%1").arg(VisirNumber));
}

void TVisirPanelWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QFrame::changeEvent(event);
}
