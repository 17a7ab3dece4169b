#include "acquisition/message_window.h"

#include "base/translated_text.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const TTrText NoMessagesText{"TMessageWindow",
                             QT_TRANSLATE_NOOP("TMessageWindow", "<Нет сообщений>")};

} // namespace

TKavMessageForm::TKavMessageForm(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TKavMessageForm"));
    resize(DesignWidth, DesignHeight);
    Box = new QPlainTextEdit(this);
    Box->setObjectName(QStringLiteral("MessageBox"));
    Box->setReadOnly(true);
    Box->setLineWrapMode(QPlainTextEdit::NoWrap);
    Box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Clear = new QPushButton(this);
    Clear->setObjectName(QStringLiteral("ClearMessagesButton"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(Box, 1);
    layout->addWidget(Clear);
    connect(Clear, &QPushButton::clicked, this, &TKavMessageForm::ClearRequested);
    Retranslate();
}

void TKavMessageForm::Retranslate() {
    setWindowTitle(tr("Сообщения КАВ"));
    Clear->setText(tr("Убрать все сообщения"));
    // Lines already written stay as they were; the placeholder is no line.
    if (Placeholder)
        Box->setPlainText(NoMessagesText);
}

void TKavMessageForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QWidget::changeEvent(event);
}

void TKavMessageForm::AddMessage(const QString& text) {
    if (Placeholder) {
        Box->clear();
        Placeholder = false;
    }
    Box->appendPlainText(text);
    ++Lines;
}

void TKavMessageForm::ClearMessages() {
    Box->clear();
    Placeholder = false;
    Lines = 0;
}

QStringList TKavMessageForm::Messages() const {
    if (Placeholder || Lines == 0)
        return {};
    return Box->toPlainText().split(QLatin1Char('\n'));
}

void TKavMessageForm::SetStaysOnTop(bool on) {
    if (on == StaysOnTop())
        return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing a window flag hides the window.
    if (visible)
        show();
}

bool TKavMessageForm::StaysOnTop() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TKavMessageForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    emit Closed();
}
