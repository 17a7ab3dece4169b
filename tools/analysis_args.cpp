#include "tools/analysis_args.h"

#include <cmath>

bool TakeFlag(QStringList& args, const QString& flag) {
    return args.removeAll(flag) > 0;
}

bool TakeVisirs(QStringList& args, bool& given, std::uint16_t& a, std::uint16_t& b,
                QString& error) {
    given = false;
    const qsizetype at = args.indexOf(QStringLiteral("--visirs"));
    if (at < 0)
        return true;
    bool okA = false;
    bool okB = false;
    const uint va = at + 1 < args.size() ? args[at + 1].toUInt(&okA) : 0;
    const uint vb = at + 2 < args.size() ? args[at + 2].toUInt(&okB) : 0;
    if (!okA || !okB || va > 65535 || vb > 65535) {
        error = QStringLiteral("--visirs needs two sweep codes 0..65535");
        return false;
    }
    args.remove(at, 3);
    given = true;
    a = static_cast<std::uint16_t>(va);
    b = static_cast<std::uint16_t>(vb);
    return true;
}

bool ParsePositive(const QString& text, double& value) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || !(v > 0))
        return false;
    value = v;
    return true;
}
