// Test fixture: a fresh temporary folder per test, with raw byte access to the files in it.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString Path(const QString& name) const { return folder.filePath(name); }

    void Put(const QString& name, const std::string& bytes) const
    {
        std::ofstream out(QFile::encodeName(Path(name)).toStdString(), std::ios::binary);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        ASSERT_TRUE(out.good());
    }

    std::string Fetch(const QString& name) const { return FetchFile(Path(name)); }

    static std::string FetchFile(const QString& path)
    {
        std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    QTemporaryDir folder;
};
