#pragma once

#include "link/command_frame.h"
#include "link/telemetry.h"

// Which of the instrument's settings its own (manual) controls hold, as the
// last state bytes said.
struct TManualParts {
    bool Gain = false;
    bool Speed = false;
    bool Correction = false;
};

// True when a handshake answer (Tm11, Tm22, Tm33) echoes what the command
// built from `values` carries now. An answer to a command sent before the
// operator changed the value echoes the old one and is false, so its stage
// stays open and the next tick sends the value now shown. A part under the
// instrument's manual control is not compared: the instrument answers with
// its own setting there, and nothing the program sends changes it. Any
// other frame is false.
bool AnswerEchoes(const TTelemetry& answer, const TCommandValues& values,
                  const TManualParts& manual);
