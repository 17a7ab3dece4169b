#pragma once

#include "config/settings_store.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

// Settings with their defaults, a spectrum in memory, a temporary folder.
struct TExchangeFixture : ::testing::Test {
    QTemporaryDir Dir;
    TKavCfg Cfg{};
    std::unique_ptr<TPointTable> Store = std::make_unique<TPointTable>();

    TExchangeFixture() {
        SetDefaults(Cfg, Dir.path());
        ClearPoints(*Store);
    }

    QString Path(const QString& name) const { return Dir.filePath(name); }

    // A first-derivative line, a point every `step` codes from `first` to
    // `last`, with the file records of the settings' state.
    void PutLine(int first, int last, int step) {
        for (int code = first; code <= last; code += step) {
            const double d = (code - 30000) / 900.0;
            const double y = 2048 - 1500 * d / std::pow(1 + d * d, 2);
            (*Store)[code] = TPointSlot{static_cast<std::uint16_t>(code),
                                        static_cast<std::uint16_t>(std::lround(y))};
        }
    }

    void Write(const QString& name, const QByteArray& bytes) const {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray Read(const QString& name) const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};
