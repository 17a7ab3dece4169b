#pragma once

#include <QDialog>
#include <QSize>

class QSpinBox;

// Asks the size of a picture of the plot, in pixels ("Размер рисунка").
class TPictureSizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPictureSizeDialog(QSize size, QWidget* parent = nullptr);

    QSize ChosenSize() const;
    void SetChosenSize(QSize size);

private:
    QSpinBox* WidthBox = nullptr;
    QSpinBox* HeightBox = nullptr;
};
