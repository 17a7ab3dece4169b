#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// The message window "Сообщения КАВ": every line that the link, the
// handshake and the telemetry write, in a text box above the button
// "Убрать все сообщения". It is made once and only shown or hidden; closing
// it hides it and reports Closed. How many lines it may hold is the
// acquisition engine's rule: the window shows what it is told.
class TKavMessageForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 295;
    static constexpr int DesignHeight = 360;

    explicit TKavMessageForm(QWidget* parent = nullptr);

    // Appends one line. The initial text "<Нет сообщений>" is no message and
    // gives way to the first one.
    void AddMessage(const QString& text);
    // Every line removed.
    void ClearMessages();
    // Lines held (the initial text not counted).
    int LineCount() const { return Lines; }
    QStringList Messages() const;

    // Style 3 of the stored placement: stays on top of the other windows.
    void SetStaysOnTop(bool on);
    bool StaysOnTop() const;

    QPlainTextEdit* TextBox() const { return Box; }
    QPushButton* ClearButton() const { return Clear; }

signals:
    // "Убрать все сообщения" was pressed.
    void ClearRequested();
    // The operator closed the window (it is hidden, not destroyed).
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The window's own texts in the program's language.
    void Retranslate();

    QPlainTextEdit* Box;
    QPushButton* Clear;
    int Lines = 0;
    bool Placeholder = true;
};
