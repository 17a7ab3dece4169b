// Any bytes as a spectrum file, placed from memory as the loader places a
// file it has read. Besides the sanitizers, each run checks what the load
// promises: the counts add up, the read buffer holds the raw records, every
// slot is empty, a point at its own field code or a parameter record at its
// code, the last record of a slot wins, and the loaded spectrum saved and
// loaded again comes back the same, without a record dropped or replaced.
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QByteArray>
#include <QtEndian>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool Same(const TPointTable& a, const TPointTable& b) {
    return std::memcmp(a.data(), b.data(), sizeof(TPointTable)) == 0;
}

struct TTables {
    TPointTable Store, Undo, Expected, Again, AgainUndo, Empty;
    std::vector<int> Touched;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader refuses a longer file before anything is placed.
    if (size > std::size_t(MaxSpectrumRecords) * SpectrumRecordSize + SpectrumRecordSize - 1)
        return 0;
    static const auto t = [] {
        auto tables = std::make_unique<TTables>();
        ClearPoints(tables->Empty);
        ClearPoints(tables->Expected);
        return tables;
    }();
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TLoadStats stats = PlaceSpectrumRecords(bytes, t->Store, t->Undo);

    const int records = static_cast<int>(size / SpectrumRecordSize);
    Check(stats.Records == records);
    Check(stats.TrailingBytes == static_cast<int>(size % SpectrumRecordSize));

    // A plain model of the placing rule, on the slots the file touches.
    int empty = 0;
    int overwritten = 0;
    t->Touched.clear();
    for (int i = 0; i < records; ++i) {
        const TPointSlot record{qFromLittleEndian<quint16>(data + 4 * i),
                                qFromLittleEndian<quint16>(data + 4 * i + 2)};
        Check(t->Undo[i] == record);
        int slot = -1;
        if (record.Y == EmptyY)
            ++empty;
        else if (record.Y <= MaxAmplitudeCode)
            slot = record.X;
        else if (record.Y > MaxValidY)
            slot = record.Y;
        if (slot < 0)
            continue;
        if (t->Expected[slot].Y != EmptyY)
            ++overwritten;
        else
            t->Touched.push_back(slot);
        t->Expected[slot] = record;
    }
    Check(std::memcmp(t->Undo.data() + records, t->Empty.data() + records,
                      sizeof(TPointSlot) * std::size_t(PointSlotCount - records)) == 0);
    Check(stats.Points + stats.Parameters + stats.Stray + empty == records);
    Check(stats.Overwritten == overwritten);
    Check(Same(t->Store, t->Expected));
    // Every occupied slot: a point at its own field code or a parameter
    // record at its code.
    for (int k : t->Touched) {
        const TPointSlot& s = t->Store[k];
        Check(s.Y <= MaxAmplitudeCode ? s.X == k : (s.Y > MaxValidY && s.Y == k));
        t->Expected[k] = TPointSlot{0, EmptyY};
    }

    // Saved and loaded again: the same spectrum, nothing dropped or replaced,
    // and the same file once more.
    const QByteArray saved = SpectrumFileBytes(t->Store);
    Check(saved.size() == qsizetype(t->Touched.size()) * SpectrumRecordSize);
    const TLoadStats again = PlaceSpectrumRecords(saved, t->Again, t->AgainUndo);
    Check(Same(t->Again, t->Store));
    Check(again.Stray == 0 && again.Overwritten == 0 && again.TrailingBytes == 0);
    Check(SpectrumFileBytes(t->Again) == saved);
    return 0;
}
