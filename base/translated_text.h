#pragma once

#include <QCoreApplication>
#include <QString>

#include <utility>

// A text of the program kept as its Russian source with its translation
// context and translated each time it is used, so that a constant built
// before main() (or before the language is chosen) still follows the
// language in force when it is shown. Mark the source with
// QT_TRANSLATE_NOOP(context, text) so that lupdate collects it.
struct TTrText {
    const char* Context;
    const char* Source;

    QString Text() const { return QCoreApplication::translate(Context, Source); }
    operator QString() const { return Text(); }

    template <typename... Args> QString arg(Args&&... args) const {
        return Text().arg(std::forward<Args>(args)...);
    }
};

inline QString operator+(const TTrText& a, const QString& b) {
    return a.Text() + b;
}
inline QString operator+(const QString& a, const TTrText& b) {
    return a + b.Text();
}
inline QString operator+(const char* a, const TTrText& b) {
    return QString::fromUtf8(a) + b.Text();
}
inline QString operator+(const TTrText& a, const char* b) {
    return a.Text() + QString::fromUtf8(b);
}
