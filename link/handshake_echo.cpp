#include "link/handshake_echo.h"

bool AnswerEchoes(const TTelemetry& answer, const TCommandValues& values,
                  const TManualParts& manual) {
    const TSentParameters sent = SentParameters(values);
    switch (answer.Kind) {
    case TTelemetryKind::BoundsAccepted:
        return answer.PoleMax == sent.PoleMax && answer.PoleMin == sent.PoleMin;
    case TTelemetryKind::GainSpeedAccepted:
        return (manual.Gain || answer.KodAmpl == sent.KodAmpl) &&
               (manual.Speed || answer.KodRapid == sent.KodRapid);
    case TTelemetryKind::CorrectionAccepted:
        return manual.Correction || answer.Ukorr == sent.Ukorr;
    default:
        return false;
    }
}
