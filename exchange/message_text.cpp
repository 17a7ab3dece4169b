#include "exchange/message_text.h"

namespace {

bool NeedsEscape(QChar c) {
    switch (c.category()) {
    case QChar::Other_Control: // C0, DEL, C1
    case QChar::Other_Format:  // direction overrides, zero-width characters
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString Escaped(QChar c) {
    const ushort u = c.unicode();
    const QString digits = QString::number(u, 16).toUpper();
    return u <= 0xFF ? QStringLiteral("\\x") + digits.rightJustified(2, u'0')
                     : QStringLiteral("\\u") + digits.rightJustified(4, u'0');
}

} // namespace

QString ShownText(QStringView text, qsizetype maxChars) {
    QString shown;
    const bool cut = maxChars >= 0 && text.size() > maxChars;
    const QStringView kept = cut ? text.left(maxChars) : text;
    shown.reserve(kept.size() + 1);
    for (const QChar c : kept)
        shown += NeedsEscape(c) ? Escaped(c) : QString(c);
    if (cut)
        shown += u'…';
    return shown;
}

QString ShownPath(const QString& path) {
    return ShownText(path, -1);
}
