#pragma once

#include <QDialog>

// The about box (TKavAboutForm): the program's name, its version from the
// build and what it is for; closed by the user.
class TKavAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TKavAboutForm(QWidget* parent = nullptr);

    // The texts shown, for the window's tests.
    static QString TitleText();
    static QString VersionText();
    static QString PurposeText();
};
