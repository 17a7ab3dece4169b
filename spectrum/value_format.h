#pragma once

#include "config/kav_cfg.h"

#include <QChar>
#include <QString>
#include <cstdint>

// The formatters through which every shown number passes. They read the
// selected units and the gain of the settings record at every call, so a
// change of unit shows at the next redraw. A selected index outside its
// group yields an empty text.
class TValueFormat {
public:
    TValueFormat(const TKavCfg& cfg, QChar decimalSep) : Cfg(cfg), Sep(decimalSep) {}

    QString FieldToStr(std::uint16_t code) const;
    QString AmplToStr(std::int32_t code) const;
    QString AreaToStr(double area) const;
    QString CorrToStr(std::int32_t code) const;
    QString ADCToStr(std::int32_t code) const;

    // The same styles for values already in the selected unit (a fitted
    // centre or width, a standard error): a field in the sweep unit's style,
    // the raw-code unit in general (6, 4) as it would show a code with a
    // fraction; an amplitude already divided by the gain, with the unit's
    // prefixes; an area in the units' product.
    QString FieldValueToStr(long double value) const;
    QString AmplValueToStr(long double value) const;
    QString AreaValueToStr(long double value) const;

    QChar DecimalSep() const { return Sep; }

private:
    const TKavCfg& Cfg;
    QChar Sep;
};
