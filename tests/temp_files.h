#pragma once

// A test's own temporary folder and the files in it.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct TTempFiles {
    QTemporaryDir Dir;

    // A name in the folder; an absolute path stays as it is.
    QString Path(const QString& name) const { return QDir(Dir.path()).filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) const {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    // The whole file; nothing when it cannot be read.
    QByteArray Read(const QString& name) const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Every file of the folder, hidden temporary files included.
    QStringList Entries() const {
        return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
};
