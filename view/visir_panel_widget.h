#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QToolButton;

// One visir's readout panel (VisPan1 / VisPan2): the caption "Визир1" or
// "Визир2", the read-only edits VisKrdN (abscissa) and VisOrdN (ordinate),
// and the horizontal up-down LRVisN (-32767..32767). A click on an arrow
// moves the position by one and reports it; setting the position from code
// reports nothing.
class TVisirPanelWidget : public QFrame {
    Q_OBJECT
public:
    static constexpr int UpDownMin = -32767;
    static constexpr int UpDownMax = 32767;

    explicit TVisirPanelWidget(int number, QWidget* parent = nullptr);

    int Number() const { return VisirNumber; }
    void SetReadout(const QString& abscissa, const QString& ordinate);
    // The ordinate alone (the acquisition refreshes it as points arrive).
    void SetOrdinateText(const QString& ordinate);
    QString AbscissaText() const;
    QString OrdinateText() const;

    // Held to -32767..32767.
    void SetUpDownPosition(int position);
    int UpDownPosition() const { return Position; }

    QToolButton* LeftButton() const { return Left; }
    QToolButton* RightButton() const { return Right; }

signals:
    // The operator clicked an arrow; position is the up-down's new value.
    void UpDownClicked(int position);

protected:
    void changeEvent(QEvent* event) override;

private:
    // The caption in the program's language.
    void Retranslate();
    void Step(int delta);

    int VisirNumber;
    int Position = 0;
    QLabel* Caption;
    QLineEdit* Abscissa;
    QLineEdit* Ordinate;
    QToolButton* Left;
    QToolButton* Right;
};
