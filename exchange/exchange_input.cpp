#include "exchange/exchange_input.h"

#include "base/input_file.h"
#include "exchange/message_text.h"

#include <QCoreApplication>

bool ReadExchangeInput(const QString& path, qint64 maxBytes, const QString& tooLargeWhy,
                       QByteArray& bytes, QString* error) {
    TInputFile in = ReadInputFile(path, maxBytes);
    const QString shown = ShownPath(path);
    QString text;
    switch (in.Outcome) {
    case TInputOutcome::Read:
        bytes = std::move(in.Bytes);
        return true;
    case TInputOutcome::NotFound:
        text = QCoreApplication::translate("ExchangeInput", "Файл \"%1\": нет такого файла")
                   .arg(shown);
        break;
    case TInputOutcome::NotRegular:
        text = QCoreApplication::translate("ExchangeInput", "Файл \"%1\": не обычный файл (%2)")
                   .arg(shown, in.Reason);
        break;
    case TInputOutcome::TooLarge:
        text = QCoreApplication::translate("ExchangeInput", "Файл \"%1\": больше %2 байт: %3")
                   .arg(shown)
                   .arg(maxBytes)
                   .arg(tooLargeWhy);
        break;
    case TInputOutcome::Failed:
        text = QCoreApplication::translate("ExchangeInput", "Не удалось прочитать файл \"%1\": %2")
                   .arg(shown, in.Reason);
        break;
    }
    if (error)
        *error = text;
    return false;
}
