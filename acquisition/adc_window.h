#pragma once

#include <QWidget>

class QLabel;

// The ADC readout "ВХОД  АЦП": one bold label ADCRes with the last reading
// in its unit. It stays on top of the other windows, is made once and only
// shown or hidden; closing it hides it and reports Closed.
class TADCForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 144;
    static constexpr int ClientHeight = 53;

    explicit TADCForm(QWidget* parent = nullptr);

    void SetReading(const QString& text);
    QString Reading() const;
    QLabel* ADCRes() const { return Label; }

signals:
    // The operator closed the window (it is hidden, not destroyed).
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The window's own texts in the program's language.
    void Retranslate();

    QLabel* Label;
    bool HasReading = false;
};
