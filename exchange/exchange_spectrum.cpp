#include "exchange/exchange_spectrum.h"

#include <charconv>
#include <cmath>

QString ExchangeNumber(double value) {
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(r.ptr - buffer));
}

bool ParseExchangeNumber(QStringView text, double& value) {
    const QByteArray latin = text.trimmed().toLatin1();
    if (latin.isEmpty())
        return false;
    const char* begin = latin.constData();
    const char* end = begin + latin.size();
    // from_chars takes no leading "+"; a file may write one.
    if (*begin == '+')
        ++begin;
    double v = 0;
    const std::from_chars_result r = std::from_chars(begin, end, v);
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(v))
        return false;
    value = v;
    return true;
}
