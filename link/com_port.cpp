#include "link/com_port.h"

#include "config/port_name.h"
#include "link/line_settings.h"

#include <QCoreApplication>

TCOMPort::TCOMPort(TDeviceFactory factory) : Factory(std::move(factory)) {
    Held.BaudRate = DefaultBaudIndex;
    Held.TimeOut = 1000;
    Held.SlaveAddress = 1;
}

TCOMPort::~TCOMPort() {
    Close();
}

bool TCOMPort::Open(const QString& name) {
    Close();
    Failure.clear();
    if (Factory)
        Handle = Factory(name);
    if (!Handle || !Handle->Open(name)) {
        if (Handle)
            Failure = Handle->OpenFailure();
        Handle.reset();
        IsOpened = false;
        Held.PortName.clear();
        return false;
    }
    IsOpened = true;
    Held.PortName = HeldPortName(name);
    return true;
}

void TCOMPort::Close() {
    if (Handle) {
        Handle->Close();
        Handle.reset();
    }
    IsOpened = false;
    LostReported = false;
    LossTaken = false;
    UnseenErrors = 0;
}

void TCOMPort::SetSettings(TComSettings settings) {
    settings.PortName = HeldPortName(settings.PortName);
    if (!IsOpened || Held.PortName != settings.PortName || Held.PortName.isEmpty()) {
        Close();
        if (!settings.PortName.isEmpty())
            Open(settings.PortName);
    }

    QStringList notes;
    const TLineSettings line = ResolveLineSettings(settings, notes);
    settings.BaudRate = static_cast<std::uint8_t>(EffectiveBaudIndex(settings.BaudRate));
    Held = settings;

    if (Handle) {
        IsOpened = Handle->ApplyLine(line, notes);
        if (!IsOpened)
            Failure = LineRefusedText;
        if (notes != LastNotes) {
            for (const QString& note : notes)
                if (!PendingNotes.contains(note))
                    PendingNotes << note;
            LastNotes = notes;
        }
    } else {
        IsOpened = false;
    }
}

bool TCOMPort::Write(const std::uint8_t* buffer, int count) {
    if (!Handle || !IsOpened || count < 0)
        return false;
    const bool ok = Handle->Write(buffer, count);
    CheckLost();
    return ok;
}

bool TCOMPort::Read(std::uint8_t* buffer, int count) {
    if (!Handle || count < 0)
        return false;
    return Handle->Read(buffer, count) == count;
}

int TCOMPort::InQueueCount() {
    if (!Handle) {
        Errors = 0;
        return 0;
    }
    // Errors that another query took from the driver are handed on here,
    // so that the poll reports them rather than losing them.
    Errors = Handle->TakeLineErrors() | UnseenErrors;
    UnseenErrors = 0;
    CheckLost();
    return Handle->InQueueCount();
}

bool TCOMPort::OutQueueEmpty() {
    if (!Handle)
        return true;
    Errors = Handle->TakeLineErrors();
    UnseenErrors |= Errors;
    CheckLost();
    return !IsOpened || Handle->OutQueueCount() == 0;
}

std::optional<bool> TCOMPort::ClearToSend() {
    if (!Handle || !IsOpened)
        return std::nullopt;
    return Handle->ClearToSend();
}

bool TCOMPort::WaitClearToSendChange(std::int64_t timeoutMicros) {
    if (!Handle || !IsOpened)
        return false;
    return Handle->WaitClearToSendChange(timeoutMicros);
}

void TCOMPort::CheckLost() {
    if (LostReported || !Handle || !Handle->Lost())
        return;
    // The handle stays held so that the bytes already taken in can still be
    // read; Opened false makes the next SetSettings open the port afresh.
    LostReported = true;
    IsOpened = false;
    LostText = QCoreApplication::translate("ComPort", "Порт ") + Held.PortName +
               QCoreApplication::translate("ComPort", " недоступен: связь потеряна");
    const QString reason = Handle->LostReason();
    if (!reason.isEmpty())
        LostText += QStringLiteral(" (") + reason + QStringLiteral(")");
    Report(LostText);
}

bool TCOMPort::TakeLoss() {
    if (!LostReported || LossTaken)
        return false;
    LossTaken = true;
    return true;
}

void TCOMPort::ReportPendingNotes() {
    if (PendingNotes.isEmpty())
        return;
    const QStringList notes = std::move(PendingNotes);
    PendingNotes.clear();
    for (const QString& note : notes)
        Report(note);
}

void TCOMPort::Report(const QString& text) {
    if (OnMessage)
        OnMessage(text);
}
