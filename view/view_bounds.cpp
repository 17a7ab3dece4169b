#include "view/view_bounds.h"

#include <algorithm>

void SetViewMin(TKavCfg& cfg, int value) {
    cfg.ViewMin = std::clamp(value, MinViewLow, MinViewHigh);
    if (cfg.ViewMax <= cfg.ViewMin)
        cfg.ViewMax = cfg.ViewMin + 1;
}

void SetViewMax(TKavCfg& cfg, int value) {
    cfg.ViewMax = std::clamp(value, MaxViewLow, MaxViewHigh);
    if (cfg.ViewMin >= cfg.ViewMax)
        cfg.ViewMin = cfg.ViewMax - 1;
}

void SetViewBounds(TKavCfg& cfg, int minValue, int maxValue) {
    if (maxValue > cfg.ViewMax) {
        SetViewMax(cfg, maxValue);
        SetViewMin(cfg, minValue);
    } else {
        SetViewMin(cfg, minValue);
        SetViewMax(cfg, maxValue);
    }
}

bool IncOrdScale(TKavCfg& cfg) {
    if (cfg.OrdScale >= OrdScaleMax)
        return false;
    ++cfg.OrdScale;
    return true;
}

bool DecOrdScale(TKavCfg& cfg) {
    if (cfg.OrdScale == 0)
        return false;
    --cfg.OrdScale;
    return true;
}
